#pragma once

// CDWConfig: the one configuration object that lives from start-up to exit. It holds
// the user's settings (kept in the settings store under "Software\\Brisket\\Trackloom"),
// the file locations derived from the configuration area, the input and output CCF
// paths, and (through its model part) the players collection and the library.
//
// Every operation takes the object's recursive lock for its whole duration, so the
// start-up and execution jobs on worker threads and the main window may use it at the
// same time; nested calls on one thread re-enter the lock. Getters return copies, so a
// text stays valid however the configuration changes afterwards.
//
// Configuration area layout:
//     <area>/DW_Config/DW_Devices.xml   players file
//     <area>/DW_Config/DW_Library.xml   library file
//     <area>/DW_Temp/Discweaver.csf     CSF work file (and DW_Temp/BMP for bitmaps)
// The five derived paths are replaced together whenever the area is set, and are
// empty while it is not. Directories are created only when something is saved.

#include "core/ErrorRecord.h"
#include "core/Progress.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

class CDWConfig;
// Model types, known here by name only: the model library defines them.
class CPlayer;
class CLibrary;
template <class T> class CNamedCollection;

// The model's part of the configuration. The players collection and the library are
// defined by the model library, which builds on this one, so the model attaches them
// here (CDWConfig::SetModel) instead of CDWConfig naming their types. CDWConfig owns the
// part and destroys it first. The model roots are handed out without the lock: the jobs
// that use them are the only ones running while a progress display is modal.
class CDWConfigModel
{
public:
    virtual ~CDWConfigModel() = default;

    // The XML loads of start-up: the players file, then the library file (the second
    // attempted even when the first failed), into errors and warnings. True only when
    // both succeeded; a missing file is no failure.
    virtual bool LoadModelFiles(CDWConfig& config, CProgressSink* progress, CErrorRecord* errors,
                                CWarningList* warnings) = 0;

    // The model roots this part owns; null in a part that has none.
    virtual CNamedCollection<CPlayer>* GetPlayers() { return nullptr; }
    virtual CLibrary* GetLibrary() { return nullptr; }
    // The loads and saves behind CDWConfig's operations of the same names. A part
    // that has no such files refuses them ("No players and library model attached").
    virtual bool LoadPlayers(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings);
    virtual bool LoadLibrary(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings,
                             const char* file);
    virtual bool SavePlayers(CDWConfig& config, CErrorRecord* errors);
    virtual bool SaveLibrary(CDWConfig& config, CErrorRecord* errors, const char* file);
    // Loads again the files that changed on disk since this part last loaded or saved
    // them; true when nothing changed or every reload succeeded.
    virtual bool ReloadChangedFiles(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings);
};

class CDWConfig
{
public:
    // Limits of the settings (values outside are brought inside by the setters).
    static constexpr int kMaxPanelCap = 32767;

    CDWConfig();
    CDWConfig(const CDWConfig&) = delete;
    CDWConfig& operator=(const CDWConfig&) = delete;
    virtual ~CDWConfig();

    // The start-up load: the configuration area (the "ConfigAndTempArea" setting if it
    // is text, else the program directory), the CCF paths and settings, then the model's
    // files. Reports its steps as body texts through progress (may be null). False
    // when no area could be found (nothing else is loaded then) or a model file failed.
    bool LoadSettings(CProgressSink* progress, CErrorRecord* errors, CWarningList* warnings);

    // The first step of LoadSettings on its own: the "ConfigAndTempArea" setting when it
    // is text, else the program directory, becomes the area. False (recorded) when
    // neither gives one. Front ends call it to lock the area before loading its files.
    bool FindConfigArea(CErrorRecord* errors);

    // Reads "InputCCF", "OutputCCF", "CompressImages" and "PanelCap". Always true: a
    // missing or mistyped value leaves the default (none, false, 0).
    bool LoadCcfPaths(CErrorRecord* errors);
    // Writes them back (a path that is none, false and 0 delete their values). Every
    // value is attempted; the first failure is recorded ("Failed to save HKCU\\%s\\%s",
    // "Failed to delete HKCU\\%s\\%s") and the result is false. errors may be null.
    bool SaveCcfPaths(CErrorRecord* errors);

    // Null or "" unsets the area and the derived paths.
    void SetConfigArea(const char* area);
    // The program directory becomes the area; false (recorded) when it is unknown.
    bool UseDefaultConfigArea(CErrorRecord* errors);

    // "" counts as none; a path is stored in the form MakeLongPath gives.
    void SetInputCcf(const char* path);
    void SetOutputCcf(const char* path);
    void SetCompressImages(bool compress);
    // Limited to 0 (no cap) .. kMaxPanelCap.
    void SetPanelCap(int cap);

    bool HasConfigArea() const;
    std::string GetConfigArea() const { return LockedValue(m_configArea); }
    std::string GetConfigDirectory() const { return LockedValue(m_configDirectory); }
    std::string GetPlayersFile() const { return LockedValue(m_playersFile); }
    std::string GetLibraryFile() const { return LockedValue(m_libraryFile); }
    std::string GetTempDirectory() const { return LockedValue(m_tempDirectory); }
    std::string GetCsfWorkFile() const { return LockedValue(m_csfWorkFile); }
    std::string GetInputCcf() const { return LockedValue(m_inputCcf); }   // "" when none
    std::string GetOutputCcf() const { return LockedValue(m_outputCcf); } // "" when none
    bool GetCompressImages() const;
    int GetPanelCap() const;

    // Computed on first success and cached; none (recorded) on failure.
    std::optional<std::string> GetExecutablePath(CErrorRecord* errors);
    std::optional<std::string> GetProgramDirectory(CErrorRecord* errors);
    // The version compiled in, as four dot-separated numbers ("1.0.0.0").
    std::optional<std::string> GetFileVersionText(CErrorRecord* errors);

    // The checks before an execution, stopping at the first failure: an area is set;
    // the input CCF is set and readable; when checkOutput, the output CCF is set and its
    // directory readable and writable.
    bool CheckReadyToExecute(CErrorRecord* errors, bool checkOutput);

    // For tests and for front ends that know better: the program file's path, used
    // instead of /proc/self/exe (and clears the cached program directory).
    void SetExecutablePath(const char* path);

    // ---- Players and library files (done by the model part, under the lock) ----
    // Replaces the players collection with the players file's content.
    bool LoadPlayers(CErrorRecord* errors, CWarningList* warnings);
    // With file null: replaces the library with the library file's content; with a
    // file: merges that file's lists into the library (XML import).
    bool LoadLibrary(CErrorRecord* errors, CWarningList* warnings, const char* file = nullptr);
    // Writes the players file.
    bool SavePlayers(CErrorRecord* errors);
    // With file null: writes the library file; with a file: writes the library there
    // (XML export), leaving the modified flags as they are.
    bool SaveLibrary(CErrorRecord* errors, const char* file = nullptr);
    // A front end that keeps the model between runs calls this once it holds the area's
    // lock: whatever another run saved meanwhile is read before it is changed or used.
    bool ReloadChangedModelFiles(CErrorRecord* errors, CWarningList* warnings);
    // The players collection and the library, handed out without the lock; null until
    // the model part is attached (model/DWModel.h: AttachModel).
    CNamedCollection<CPlayer>* GetPlayers() const { return m_pModel ? m_pModel->GetPlayers() : nullptr; }
    CLibrary* GetLibrary() const { return m_pModel ? m_pModel->GetLibrary() : nullptr; }

    // The model part (see CDWConfigModel); replacing it destroys the old one.
    void SetModel(std::unique_ptr<CDWConfigModel> model);
    CDWConfigModel* GetModel() const { return m_pModel.get(); }

    // Holds the lock across several calls that must see one consistent state.
    std::unique_lock<std::recursive_mutex> Lock() const
    {
        return std::unique_lock<std::recursive_mutex>(m_lock);
    }

private:
    // A copy of one of the guarded texts taken under the lock; empty when unset.
    std::string LockedValue(const std::optional<std::string>& text) const;

    mutable std::recursive_mutex m_lock; // guards every field below except the model part
    std::optional<std::string> m_configArea;
    std::optional<std::string> m_configDirectory;
    std::optional<std::string> m_playersFile;
    std::optional<std::string> m_libraryFile;
    std::optional<std::string> m_tempDirectory;
    std::optional<std::string> m_csfWorkFile;
    std::optional<std::string> m_inputCcf;
    std::optional<std::string> m_outputCcf;
    bool m_bCompressImages = false;
    int m_nPanelCap = 0;
    std::optional<std::string> m_executablePath;
    std::optional<std::string> m_programDirectory;
    std::optional<std::string> m_versionText;

    // ---- Model roots -------------------------------------------------------------
    // The players collection (kept sorted) and the library belong to the model part,
    // attached by the model library; see CDWConfigModel.
    std::unique_ptr<CDWConfigModel> m_pModel;
};

// A version string in four dot-separated decimal numbers: up to four numbers separated
// by "," or "." (spaces allowed) are read and the missing ones are 0 ("2, 1" gives
// "2.1.0.0"); a string that starts with no number is returned unchanged.
std::string FormatFileVersion(const char* version);
