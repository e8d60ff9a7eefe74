#include "core/DWConfig.h"

#include "core/PathUtil.h"
#include "core/Registry.h"
#include "core/Version.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

std::optional<std::string> NonEmpty(const char* text)
{
    if (!text || !*text)
        return std::nullopt;
    return std::string(text);
}

} // namespace

std::string FormatFileVersion(const char* version)
{
    if (!version)
        return std::string();
    long numbers[4] = {0, 0, 0, 0};
    int found = 0;
    const char* p = version;
    while (found < 4) {
        while (*p == ' ' || *p == '\t')
            ++p;
        char* end = nullptr;
        errno = 0;
        long n = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || n < INT_MIN || n > INT_MAX)
            break;
        numbers[found++] = n;
        p = end;
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p != ',' && *p != '.')
            break;
        ++p;
    }
    if (found == 0)
        return version;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%ld.%ld.%ld.%ld", numbers[0], numbers[1], numbers[2], numbers[3]);
    return buffer;
}

CDWConfig::CDWConfig() = default;

CDWConfig::~CDWConfig()
{
    // The model may still ask for paths while it is destroyed.
    m_pModel.reset();
}

bool CDWConfig::LoadSettings(CProgressSink* progress, CErrorRecord* errors, CWarningList* warnings)
{
    Guard guard(m_lock);
    ProgressBody(progress, "Discovering paths");
    if (!FindConfigArea(errors)) {
        ProgressBody(progress, "%s", "");
        return false;
    }

    ProgressBody(progress, "Loading CCF paths");
    bool ok = LoadCcfPaths(errors);

    ProgressBody(progress, "Loading Configuration");
    // ---- Players and library files -------------------------------------------------
    // The model part loads DW_Devices.xml, then DW_Library.xml (see CDWConfigModel).
    if (m_pModel && !m_pModel->LoadModelFiles(*this, progress, errors, warnings))
        ok = false;

    ProgressBody(progress, "%s", "");
    return ok;
}

bool CDWConfig::FindConfigArea(CErrorRecord* errors)
{
    Guard guard(m_lock);
    std::string area;
    if (ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "ConfigAndTempArea", &area))
        SetConfigArea(area.c_str());
    return HasConfigArea() || UseDefaultConfigArea(errors);
}

bool CDWConfig::LoadCcfPaths(CErrorRecord*)
{
    Guard guard(m_lock);
    std::string path;
    SetInputCcf(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", &path) ? path.c_str()
                                                                                       : nullptr);
    SetOutputCcf(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "OutputCCF", &path) ? path.c_str()
                                                                                         : nullptr);
    std::uint32_t value = 0;
    ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "CompressImages", &value);
    SetCompressImages(value != 0);
    value = 0;
    ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "PanelCap", &value);
    SetPanelCap(value > static_cast<std::uint32_t>(kMaxPanelCap) ? kMaxPanelCap : static_cast<int>(value));
    return true;
}

bool CDWConfig::SaveCcfPaths(CErrorRecord* errors)
{
    Guard guard(m_lock);
    bool ok = true;
    auto saved = [&](bool written, const char* name) {
        if (!written) {
            SetSystemError(errors, "Failed to save HKCU\\%s\\%s", kSettingsKey, name);
            ok = false;
        }
    };
    auto deleted = [&](bool done, const char* name) {
        if (!done) {
            SetSystemError(errors, "Failed to delete HKCU\\%s\\%s", kSettingsKey, name);
            ok = false;
        }
    };
    struct
    {
        const char* name;
        const std::optional<std::string>& path;
    } paths[] = {{"InputCCF", m_inputCcf}, {"OutputCCF", m_outputCcf}};
    for (const auto& p : paths) {
        if (p.path)
            saved(WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, p.name, p.path->c_str()), p.name);
        else
            deleted(DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, p.name), p.name);
    }
    if (m_bCompressImages)
        saved(WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "CompressImages", 1), "CompressImages");
    else
        deleted(DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "CompressImages"), "CompressImages");
    if (m_nPanelCap != 0)
        saved(WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "PanelCap",
                                 static_cast<std::uint32_t>(m_nPanelCap)),
              "PanelCap");
    else
        deleted(DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "PanelCap"), "PanelCap");
    return ok;
}

void CDWConfig::SetConfigArea(const char* area)
{
    Guard guard(m_lock);
    m_configArea = NonEmpty(area);
    m_configDirectory.reset();
    m_playersFile.reset();
    m_libraryFile.reset();
    m_tempDirectory.reset();
    m_csfWorkFile.reset();
    if (!m_configArea)
        return;
    m_configDirectory = JoinPath(*m_configArea, "DW_Config");
    m_playersFile = JoinPath(*m_configDirectory, "DW_Devices.xml");
    m_libraryFile = JoinPath(*m_configDirectory, "DW_Library.xml");
    m_tempDirectory = JoinPath(*m_configArea, "DW_Temp");
    m_csfWorkFile = JoinPath(*m_tempDirectory, "Discweaver.csf");
}

bool CDWConfig::UseDefaultConfigArea(CErrorRecord* errors)
{
    Guard guard(m_lock);
    std::optional<std::string> directory = GetProgramDirectory(errors);
    if (!directory)
        return false;
    SetConfigArea(directory->c_str());
    return true;
}

void CDWConfig::SetInputCcf(const char* path)
{
    Guard guard(m_lock);
    m_inputCcf = (path && *path) ? std::optional<std::string>(MakeLongPath(path)) : std::nullopt;
}

void CDWConfig::SetOutputCcf(const char* path)
{
    Guard guard(m_lock);
    m_outputCcf = (path && *path) ? std::optional<std::string>(MakeLongPath(path)) : std::nullopt;
}

void CDWConfig::SetCompressImages(bool compress)
{
    Guard guard(m_lock);
    m_bCompressImages = compress;
}

void CDWConfig::SetPanelCap(int cap)
{
    Guard guard(m_lock);
    m_nPanelCap = std::clamp(cap, 0, kMaxPanelCap);
}

std::string CDWConfig::LockedValue(const std::optional<std::string>& text) const
{
    Guard guard(m_lock);
    return text ? *text : std::string();
}

bool CDWConfig::HasConfigArea() const
{
    Guard guard(m_lock);
    return m_configArea.has_value();
}

bool CDWConfig::GetCompressImages() const
{
    Guard guard(m_lock);
    return m_bCompressImages;
}

int CDWConfig::GetPanelCap() const
{
    Guard guard(m_lock);
    return m_nPanelCap;
}

std::optional<std::string> CDWConfig::GetExecutablePath(CErrorRecord* errors)
{
    Guard guard(m_lock);
    if (m_executablePath)
        return m_executablePath;
    char buffer[PATH_MAX + 1];
    ssize_t length = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0 || length >= PATH_MAX) {
        if (length >= PATH_MAX)
            errno = ENAMETOOLONG;
        SetSystemError(errors, "Cannot get path to executable");
        return std::nullopt;
    }
    buffer[length] = '\0';
    m_executablePath = MakeLongPath(buffer);
    return m_executablePath;
}

std::optional<std::string> CDWConfig::GetProgramDirectory(CErrorRecord* errors)
{
    Guard guard(m_lock);
    if (m_programDirectory)
        return m_programDirectory;
    std::optional<std::string> executable = GetExecutablePath(errors);
    if (!executable)
        return std::nullopt;
    std::optional<std::string> parent = GetParentPath(executable->c_str());
    if (!parent || parent->empty()) {
        SetMessage(errors, "GetParentPath(%s) failed", executable->c_str());
        return std::nullopt;
    }
    m_programDirectory = parent;
    return m_programDirectory;
}

std::optional<std::string> CDWConfig::GetFileVersionText(CErrorRecord*)
{
    Guard guard(m_lock);
    if (!m_versionText)
        m_versionText = FormatFileVersion(DwVersionText());
    return m_versionText;
}

bool CDWConfig::CheckReadyToExecute(CErrorRecord* errors, bool checkOutput)
{
    Guard guard(m_lock);
    if (!m_configArea) {
        SetMessage(errors, "Config/Temp Area undefined");
        return false;
    }
    if (!m_inputCcf) {
        SetMessage(errors, "Input CCF file not specified");
        return false;
    }
    if (!CheckAccess(errors, m_inputCcf->c_str(), false))
        return false;
    if (!checkOutput)
        return true;
    if (!m_outputCcf) {
        SetMessage(errors, "Output CCF file not specified");
        return false;
    }
    std::optional<std::string> directory = GetParentPath(m_outputCcf->c_str());
    // A bare file name goes to the current directory.
    std::string target = (directory && !directory->empty()) ? *directory : std::string(".");
    return CheckAccess(errors, target.c_str(), true);
}

void CDWConfig::SetExecutablePath(const char* path)
{
    Guard guard(m_lock);
    m_executablePath = NonEmpty(path);
    m_programDirectory.reset();
}

void CDWConfig::SetModel(std::unique_ptr<CDWConfigModel> model)
{
    m_pModel = std::move(model);
}

// ---- Players and library files --------------------------------------------------------

namespace {
bool NoModel(CErrorRecord* errors)
{
    SetMessage(errors, "No players and library model attached");
    return false;
}
} // namespace

bool CDWConfigModel::LoadPlayers(CDWConfig&, CErrorRecord* errors, CWarningList*)
{
    return NoModel(errors);
}

bool CDWConfigModel::LoadLibrary(CDWConfig&, CErrorRecord* errors, CWarningList*, const char*)
{
    return NoModel(errors);
}

bool CDWConfigModel::SavePlayers(CDWConfig&, CErrorRecord* errors)
{
    return NoModel(errors);
}

bool CDWConfigModel::SaveLibrary(CDWConfig&, CErrorRecord* errors, const char*)
{
    return NoModel(errors);
}

bool CDWConfigModel::ReloadChangedFiles(CDWConfig&, CErrorRecord*, CWarningList*)
{
    return true;
}

bool CDWConfig::LoadPlayers(CErrorRecord* errors, CWarningList* warnings)
{
    Guard guard(m_lock);
    return m_pModel ? m_pModel->LoadPlayers(*this, errors, warnings) : NoModel(errors);
}

bool CDWConfig::LoadLibrary(CErrorRecord* errors, CWarningList* warnings, const char* file)
{
    Guard guard(m_lock);
    return m_pModel ? m_pModel->LoadLibrary(*this, errors, warnings, file) : NoModel(errors);
}

bool CDWConfig::SavePlayers(CErrorRecord* errors)
{
    Guard guard(m_lock);
    return m_pModel ? m_pModel->SavePlayers(*this, errors) : NoModel(errors);
}

bool CDWConfig::SaveLibrary(CErrorRecord* errors, const char* file)
{
    Guard guard(m_lock);
    return m_pModel ? m_pModel->SaveLibrary(*this, errors, file) : NoModel(errors);
}

bool CDWConfig::ReloadChangedModelFiles(CErrorRecord* errors, CWarningList* warnings)
{
    Guard guard(m_lock);
    return m_pModel ? m_pModel->ReloadChangedFiles(*this, errors, warnings) : true;
}
