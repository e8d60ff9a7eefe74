#pragma once

// The desktop program from start to end.
//
// CDesktopSession does start-up in its order: the "Pronto" font check, the welcome box
// on a first start, the configuration and the codec wrapper, the start-up job behind a
// modal progress dialog, the report of a failed start (Listing, CCFDll dialog or message
// box), "WelcomeShown", and then the main window, which opens whatever happened. The
// session owns the configuration and the wrapper for as long as the main window lives.

#include "core/ErrorRecord.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>

class CCFWrapper;
class CDWConfig;
class CMainWindow;

class CDesktopSession
{
public:
    CDesktopSession();
    ~CDesktopSession();
    CDesktopSession(const CDesktopSession&) = delete;
    CDesktopSession& operator=(const CDesktopSession&) = delete;

    // Another codec library file than the one found beside the program (before StartUp).
    void SetCodecPath(const std::string& path) { m_codecPath = path; }

    // Start-up up to the main window, which is returned created but not shown.
    CMainWindow* StartUp();
    // Runs the main window modally until it has closed (after its exit job).
    int RunMainWindow();

    CDWConfig& GetConfig() { return *m_pConfig; }
    CCFWrapper& GetWrapper() { return *m_pWrapper; }
    CMainWindow* GetMainWindow() const { return m_pMainWindow.get(); }
    bool StartupSucceeded() const { return m_bStartupSucceeded; }
    const CErrorRecord& GetStartupErrors() const { return m_errors; }

    static const char* const kProntoFontMissing;

private:
    void CheckProntoFont();

    std::unique_ptr<CDWConfig> m_pConfig;
    std::unique_ptr<CCFWrapper> m_pWrapper;
    std::unique_ptr<CMainWindow> m_pMainWindow;
    std::optional<std::string> m_codecPath;
    CErrorRecord m_errors;
    CWarningList m_warnings;
    bool m_bStartupSucceeded = false;
};

// The whole program: QApplication, session, main window. Returns the exit status.
int RunDesktopProgram(int argc, char** argv);
