#pragma once

// CCFWrapper drives the codec library libCCFDll.so, which turns a CCF file into CSF
// text (decompiling) and CSF text into a CCF file (compiling); the program never
// touches the binary format itself. The wrapper finds and loads the library, checks its
// version, runs it with the configuration's file locations, turns its progress texts
// into progress reports and its messages into a log, and owns the statement tree of the
// last decompiled input (m_pRootCSFSection) and the abstract tree built from it
// (m_pCSFAbstractTree).
//
// One wrapper lives for the whole program. Its operations run on a job's worker thread
// while the user-interface thread shows progress; the trees carry no lock of their own
// (the busy dialogs keep everybody else away while a job uses them). Runs of the library
// are serialised process-wide, because its progress callback carries no context.
//
// Every operation that can fail returns false and records why in `errors` (may be
// null); progress may be null. A log is a list of text lines the caller owns: emptied
// at the start of DecompileAndRead and SaveAndCompile and after each successful run, so
// after a failure it holds the library's messages of the failed run.

#include "core/DynamicLibrary.h"
#include "core/ErrorRecord.h"
#include "core/Progress.h"

#include <cstdint>
#include <optional>
#include <string>

class CDWConfig;
class CCSFSection;
class CCSFAbstractTree;

// The codec library's file name, looked for beside the program, then in the directory
// the machine-wide "Software\\CCF Tools" key names, then in the loader's search order.
extern const char* const kCcfDllFileName; // "libCCFDll.so"

// The oldest library version whose output the program can read.
constexpr int kCcfDllMinimumMajor = 0;
constexpr int kCcfDllMinimumMinor = 93;

// What the library's compiler reports while it works: "Analyzing Button (line %d)" and
// the five other forms. True (with *line) when text is one of them.
bool MatchCompilerLineReport(const char* text, int* line);
// True for the complaints of the library's XML probe, which mean nothing to the user
// ("Checking XML format", "Cannot recognize XML format", "Start tag expected, \"<\" not
// found..."), compared on the trimmed text ignoring case.
bool IsCcfDllXmlProbeText(const char* trimmedText);

class CCFWrapper
{
public:
    // Keeps config (not owned; it must outlive the wrapper) and locates the library.
    explicit CCFWrapper(CDWConfig* config);
    CCFWrapper(const CCFWrapper&) = delete;
    CCFWrapper& operator=(const CCFWrapper&) = delete;
    // Deletes both trees and unloads the library.
    virtual ~CCFWrapper();

    // The library's path as found at construction (or set by SetDllPath).
    const char* GetDllPath() const { return m_dllPath.c_str(); }
    // Uses another library file; only before Init has loaded one (false afterwards).
    bool SetDllPath(const char* path);
    // The search behind GetDllPath: programDirectory/libCCFDll.so when readable, else
    // the same file in the directory named by the default value of the machine-wide
    // "Software\\CCF Tools" key, else the bare name for the loader to search.
    static std::string FindDllPath(const char* programDirectory);

    // "CCFDll not initialised" until Init has read the library's own version text.
    const char* GetVersionText() const { return m_versionText.c_str(); }
    int GetVersionMajor() const { return m_nVersionMajor; }
    int GetVersionMinor() const { return m_nVersionMinor; }
    bool IsLoaded() const { return m_library.IsLoaded(); }
    // The option bits the runs pass: decompiler 9 from version 0.95 on, else 1;
    // compiler 1 when the configuration compresses images, else 0.
    std::uint32_t GetDecompilerOptions() const;
    std::uint32_t GetCompilerOptions() const;

    // Loads the library (once), checks its version and resolves its four functions.
    // On failure nothing stays loaded (except after "called twice").
    bool Init(CProgressSink* progress, CErrorRecord* errors);

    // Decompiles the configuration's input CCF into its CSF work file and reads that
    // into new trees, unless the same unchanged file (same path, same last-write time)
    // is already in memory and ForgetDecompilation has not been called since. On
    // failure the trees are none.
    bool DecompileAndRead(CProgressSink* progress, CWarningList* log, CErrorRecord* errors);

    // Writes the statement tree to the CSF work file and compiles it into the output
    // CCF. The library writes to a temporary file beside the output, which replaces the
    // output only when the compile succeeded: a failed compile leaves the output file as
    // it was (and the trees, which compiling never changes).
    bool SaveAndCompile(CProgressSink* progress, CWarningList* log, CErrorRecord* errors);

    // Compiles a CSF file where it stands (its icon paths are relative to it) into
    // outputCcf, with the same safe replacement of the output as SaveAndCompile. The
    // trees are not involved.
    bool CompileCsfFile(const char* csfFile, const char* outputCcf, CProgressSink* progress,
                        CWarningList* log, CErrorRecord* errors);

    // Deletes every jump statement whose target panel is not in the tree. With
    // rebuildAbstractTree the abstract tree is first rebuilt from the statements (after
    // list generation added devices it does not know yet).
    bool RemoveDanglingJumps(CErrorRecord* errors, bool rebuildAbstractTree);

    // Forgets the decompilation, then empties the temporary directory.
    bool CleanTempArea(CProgressSink* progress, CErrorRecord* errors);

    // The next DecompileAndRead decompiles again (called once the tree was changed).
    void ForgetDecompilation();

    // Whether inputCcf differs from what the present trees were read from: another
    // path, another last-write time, or a file that cannot be opened. Remembers the
    // path and time for the read that follows.
    bool NeedToDecompile(const char* inputCcf);

    // One run of the library under the process-wide callback lock. The compiler's
    // progress bar runs up to lineCount (the CSF file's lines).
    bool RunDecompiler(const char* inputCcf, const char* csfFile, CProgressSink* progress, CWarningList* log,
                       CErrorRecord* errors);
    bool RunCompiler(const char* csfFile, const char* outputCcf, unsigned lineCount, CProgressSink* progress,
                     CWarningList* log, CErrorRecord* errors);

    // Either may be null.
    CCSFSection* GetRootSection() const { return m_pRootCSFSection; }
    CCSFAbstractTree* GetAbstractTree() const { return m_pCSFAbstractTree; }

private:
    // The library's exports, as the program calls them.
    using GetCCFVersionFunction = const char* (*)();
    using DisplayStringFunction = void (*)(const char*);
    using SetDisplayStringCallbackFunction = void (*)(DisplayStringFunction);
    using RunFunction = int (*)(const char*, const char*, int);

    struct SEntryPoint
    {
        void** address;
        const char* name;
    };

    bool ResolveEntryPoints(const SEntryPoint* entries, CErrorRecord* errors);
    bool RunLibrary(bool compiling, const char* from, const char* to, unsigned lineCount,
                    CProgressSink* progress, CWarningList* log, CErrorRecord* errors);
    bool CompileIntoOutput(const char* csfFile, const char* outputCcf, unsigned lineCount,
                           CProgressSink* progress, CWarningList* log, CErrorRecord* errors);
    void DeleteTrees();

    CDWConfig* m_pConfig;
    CDynamicLibrary m_library;
    std::string m_dllPath;
    std::string m_versionText;
    int m_nVersionMajor = 0;
    int m_nVersionMinor = 0;
    std::optional<std::string> m_lastInput;
    std::optional<std::string> m_pendingInput;
    std::int64_t m_nLastInputTime = 0;
    std::int64_t m_nPendingInputTime = 0;
    CCSFSection* m_pRootCSFSection = nullptr;
    CCSFAbstractTree* m_pCSFAbstractTree = nullptr;
    GetCCFVersionFunction m_pGetCCFVersion = nullptr;
    SetDisplayStringCallbackFunction m_pSetDisplayStringCallback = nullptr;
    RunFunction m_pCCFRunDecompiler = nullptr;
    RunFunction m_pCCFRunCompiler = nullptr;
};
