#include "app/cli/CodecSession.h"

#include "core/PathUtil.h"
#include "csf/CSFSection.h"

#include <cstdlib>
#include <iostream>
#include <ostream>
#include <string>
#include <strings.h>
#include <vector>

namespace {

std::string MakePrivateArea()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = JoinPath(base && *base ? base : "/tmp", "discweaver-cli-XXXXXX");
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        return std::string();
    return std::string(buffer.data());
}

} // namespace

bool IsCcfPath(const std::string& path)
{
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".ccf") == 0;
}

void PrintErrorRecord(CliContext& context, const CErrorRecord& errors)
{
    std::string text = GetText(&errors);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    *context.err << "discweaver-cli: " << text << "\n";
}

void WithConfiguration(CliContext& context, const std::string& file,
                       const std::function<void(CCSFSection* root, const std::string& bitmapBase)>& use)
{
    // "BMP\\name.bmp" paths are relative to the directory of the CSF text.
    auto parentOf = [](const std::string& path) {
        const std::string::size_type slash = path.find_last_of('/');
        return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    };
    if (IsCcfPath(file)) {
        CCliCodecSession session(context);
        if (!session.Open() || !session.Decompile(file))
            return;
        session.FinishProgress();
        use(session.GetWrapper().GetRootSection(), parentOf(session.GetBitmapDirectory()));
        return;
    }
    CErrorRecord errors;
    std::unique_ptr<CCSFSection> root = ParseCsfFile(file.c_str(), &errors);
    if (!root) {
        PrintErrorRecord(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    use(root.get(), parentOf(file));
}

CCliCodecSession::CCliCodecSession(CliContext& context)
    : m_context(context), m_progress(*context.progress, context.progressIsTerminal)
{
}

CCliCodecSession::~CCliCodecSession()
{
    m_progress.Finish();
    // The wrapper's trees and library go before their files.
    m_pWrapper.reset();
    m_areaPath.Remove();
}

std::string CCliCodecSession::GetBitmapDirectory() const
{
    return JoinPath(m_config.GetTempDirectory(), "BMP");
}

bool CCliCodecSession::Open()
{
    // Listed while it exists, so an interrupted command removes it.
    m_areaPath.Create(true, &MakePrivateArea);
    m_area = m_areaPath.GetPath();
    if (m_area.empty()) {
        SetSystemError(&m_errors, "Cannot create a temporary directory");
        ReportFailure(GetText(&m_errors));
        return false;
    }
    m_config.SetConfigArea(m_area.c_str());
    m_pWrapper = std::make_unique<CCFWrapper>(&m_config);
    Clear(&m_errors);
    if (!m_pWrapper->Init(&m_progress, &m_errors)) {
        std::string text = "The following error occurred while trying to initialise CCFDll:\n  ";
        text += GetText(&m_errors);
        ReportFailure(text.c_str());
        return false;
    }
    return true;
}

bool CCliCodecSession::Decompile(const std::string& ccfPath)
{
    Clear(&m_errors);
    m_config.SetInputCcf(ccfPath.c_str());
    if (!m_config.CheckReadyToExecute(&m_errors, false) ||
        !m_pWrapper->DecompileAndRead(&m_progress, &m_log, &m_errors)) {
        ReportFailure(GetText(&m_errors));
        return false;
    }
    m_progress.Finish();
    return true;
}

bool CCliCodecSession::DecompileInto(const std::string& ccfPath, const std::string& csfPath)
{
    Clear(&m_errors);
    m_log.clear();
    if (!m_pWrapper->RunDecompiler(ccfPath.c_str(), csfPath.c_str(), &m_progress, &m_log, &m_errors)) {
        ReportFailure(GetText(&m_errors));
        return false;
    }
    m_progress.Finish();
    return true;
}

bool CCliCodecSession::Compile(const std::string& csfPath, const std::string& ccfPath)
{
    Clear(&m_errors);
    if (!m_pWrapper->CompileCsfFile(csfPath.c_str(), ccfPath.c_str(), &m_progress, &m_log, &m_errors)) {
        ReportFailure(GetText(&m_errors));
        return false;
    }
    m_progress.Finish();
    return true;
}

void CCliCodecSession::ReportFailure(const char* text)
{
    m_progress.Finish();
    std::string message = text ? text : "";
    // Parser messages end with a line break of their own.
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    *m_context.err << "discweaver-cli: " << message << "\n";
    if (!m_log.empty()) {
        *m_context.err << "CCFDll Operation Log:\n";
        for (const std::string& line : m_log)
            *m_context.err << "  " << line << "\n";
    }
    m_context.exitCode = kExitFailure;
}
