#include "app/cli/CodecSession.h"

#include "core/PathUtil.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <string>
#include <strings.h>
#include <system_error>
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

CCliCodecSession::CCliCodecSession(CliContext& context)
    : m_context(context),
      m_progress(*context.err, context.err == &std::cerr && CTerminalProgress::StderrIsTerminal())
{
}

CCliCodecSession::~CCliCodecSession()
{
    m_progress.Finish();
    // The wrapper's trees and library go before their files.
    m_pWrapper.reset();
    if (!m_area.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_area, ignored);
    }
}

std::string CCliCodecSession::GetBitmapDirectory() const
{
    return JoinPath(m_config.GetTempDirectory(), "BMP");
}

bool CCliCodecSession::Open()
{
    m_area = MakePrivateArea();
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
