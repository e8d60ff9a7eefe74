#pragma once

// What the command-line codec commands share (decompile, compile, info, and inspect of a
// .ccf): the codec library loaded through CCFWrapper exactly as the desktop program
// loads it (beside the program, then the machine-wide "Software\\CCF Tools" key, then
// the loader's search), with a private configuration area in a new temporary
// directory, so that a command never touches the user's own work area. The area is
// removed when the session ends.
//
// Progress goes to the command's error stream; failures are printed there as
// "discweaver-cli: TEXT", followed by the library's log under "CCFDll Operation Log:"
// when it holds anything.

#include "app/cli/Cli.h"
#include "app/cli/TerminalProgress.h"
#include "core/DWConfig.h"
#include "core/ErrorRecord.h"
#include "core/InterruptCleanup.h"
#include "csf/CCFWrapper.h"

#include <functional>
#include <memory>
#include <string>

class CCliCodecSession
{
public:
    explicit CCliCodecSession(CliContext& context);
    CCliCodecSession(const CCliCodecSession&) = delete;
    CCliCodecSession& operator=(const CCliCodecSession&) = delete;
    ~CCliCodecSession();

    // Creates the private area and loads the library. On failure the reason has been
    // printed and context.exitCode set.
    bool Open();

    // Decompiles ccfPath into the wrapper's trees (DecompileAndRead); the work file is
    // GetWorkFile(), its pictures in GetBitmapDirectory(). Prints and sets the exit code
    // on failure.
    bool Decompile(const std::string& ccfPath);

    // Decompiles ccfPath straight into csfPath (pictures into "BMP" beside it) without
    // reading it into the trees. Prints and sets the exit code on failure.
    bool DecompileInto(const std::string& ccfPath, const std::string& csfPath);

    // Compiles a CSF file where it stands into ccfPath; the output is replaced only when
    // the compile succeeded. Prints and sets the exit code on failure.
    bool Compile(const std::string& csfPath, const std::string& ccfPath);

    // Prints a failure (with the log) and sets context.exitCode to failure.
    void ReportFailure(const char* text);

    CCFWrapper& GetWrapper() { return *m_pWrapper; }
    CDWConfig& GetConfig() { return m_config; }
    std::string GetWorkFile() const { return m_config.GetCsfWorkFile(); }
    std::string GetBitmapDirectory() const;
    // Ends an open progress line before the command prints its result.
    void FinishProgress() { m_progress.Finish(); }

private:
    CliContext& m_context;
    CTerminalProgress m_progress;
    CDWConfig m_config;
    std::unique_ptr<CCFWrapper> m_pWrapper;
    std::string m_area;        // the private temporary directory, removed at the end
    CTemporaryPath m_areaPath; // lists m_area while it exists
    CErrorRecord m_errors;
    CWarningList m_log;
};

// True when the path names a CCF file by its extension (".ccf", any letter case).
bool IsCcfPath(const std::string& path);

// Prints "discweaver-cli: TEXT" for a record whose texts end with line breaks of their own.
void PrintErrorRecord(CliContext& context, const CErrorRecord& errors);

// Hands the statement tree of a configuration (a .ccf decompiled through the codec, or
// CSF text) to `use`, with the directory its "BMP\\name.bmp" paths are relative to. When
// the file cannot be read, the reason has been printed, context.exitCode is set and `use`
// is not called.
void WithConfiguration(CliContext& context, const std::string& file,
                       const std::function<void(CCSFSection* root, const std::string& bitmapBase)>& use);
