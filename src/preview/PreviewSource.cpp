#include "preview/PreviewSource.h"

#include "core/PathUtil.h"
#include "csf/CCFWrapper.h"
#include "csf/CSFSection.h"

#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <system_error>
#include <vector>

namespace {

std::string MakePrivateArea()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = JoinPath(base && *base ? base : "/tmp", "discweaver-preview-XXXXXX");
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        return std::string();
    return std::string(buffer.data());
}

std::string ParentOf(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool IsCcfFileName(const std::string& path)
{
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".ccf") == 0;
}

CPreviewSource::CPreviewSource() = default;

CPreviewSource::~CPreviewSource()
{
    // The wrapper's trees and library go before their files.
    m_pWrapper.reset();
    if (!m_area.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_area, ignored);
    }
}

const CCSFSection* CPreviewSource::GetRoot() const
{
    if (m_pParsed)
        return m_pParsed.get();
    return m_pWrapper ? m_pWrapper->GetRootSection() : nullptr;
}

bool CPreviewSource::Open(const std::string& path, CProgressSink* progress, CWarningList* log,
                          CErrorRecord* errors)
{
    if (!m_path.empty()) {
        SetMessage(errors, "The preview has already read %s", m_path.c_str());
        return false;
    }
    m_path = path;
    if (!IsCcfFileName(path)) {
        ProgressHeading(progress, "Reading %s", path.c_str());
        m_pParsed = ParseCsfFile(path.c_str(), errors);
        m_bitmapBase = ParentOf(path);
        return m_pParsed != nullptr;
    }

    m_area = MakePrivateArea();
    if (m_area.empty()) {
        SetSystemError(errors, "Cannot create a temporary directory");
        return false;
    }
    m_config.SetConfigArea(m_area.c_str());
    m_config.SetInputCcf(path.c_str());
    m_pWrapper = std::make_unique<CCFWrapper>(&m_config);
    if (!m_pWrapper->Init(progress, errors) || !m_config.CheckReadyToExecute(errors, false) ||
        !m_pWrapper->DecompileAndRead(progress, log, errors)) {
        // Keep the wrapper (and so the area) only while it holds a tree.
        m_pWrapper.reset();
        return false;
    }
    // The pictures lie in BMP beside the work file.
    m_bitmapBase = ParentOf(m_config.GetCsfWorkFile());
    return true;
}
