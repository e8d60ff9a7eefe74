#include "ui/DesktopProgram.h"

#include "core/DWConfig.h"
#include "core/Startup.h"
#include "core/XmlDocument.h"
#include "csf/CCFWrapper.h"
#include "model/DWModel.h"
#include "ui/AboutDlg.h"
#include "ui/CcfDllDlg.h"
#include "ui/DialogIds.h"
#include "ui/EditListsDlg.h"
#include "ui/ListingDlg.h"
#include "ui/MainWindow.h"
#include "ui/PlayerEditors.h"
#include "ui/ProgressDlg.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"
#include "ui/UserPrompts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

const char* const CDesktopSession::kProntoFontMissing =
    "Pronto font (from ProntoEdit) not installed; Pronto symbols will appear incorrectly.";

CDesktopSession::CDesktopSession() = default;

CDesktopSession::~CDesktopSession()
{
    // The window first, then the wrapper, then the configuration they both use.
    m_pMainWindow.reset();
    m_pWrapper.reset();
    m_pConfig.reset();
    SetProntoFont(nullptr);
    UnregisterLibraryEditors();
    UnregisterPlayerEditors();
}

void CDesktopSession::CheckProntoFont()
{
    for (const QString& family : QFontDatabase::families()) {
        if (family.compare(QStringLiteral("Pronto"), Qt::CaseInsensitive) == 0) {
            QFont font(family);
            font.setPointSizeF(QApplication::font().pointSizeF());
            SetProntoFont(&font);
            return;
        }
    }
    SetProntoFont(nullptr);
    ShowMessage(nullptr, DwText(kProntoFontMissing), QStringLiteral("Discweaver Warning"),
                EPromptIcon::Exclamation);
}

CMainWindow* CDesktopSession::StartUp()
{
    InitXmlLibrary();
    CheckProntoFont();
    RegisterPlayerEditors();

    bool welcome = IsWelcomeNeeded();
    if (welcome) {
        CAboutDlg about(true, nullptr, nullptr, nullptr);
        UserPrompts().RunModal(about);
    }

    m_pConfig = std::make_unique<CDWConfig>();
    AttachModel(*m_pConfig);
    m_pWrapper = std::make_unique<CCFWrapper>(m_pConfig.get());
    if (m_codecPath)
        m_pWrapper->SetDllPath(m_codecPath->c_str());

    // The start-up job, modal, shown at once: nothing else is on the screen yet.
    CStartupOutcome outcome;
    auto* job = new CFunctionJob(kJobStartup, [this, &outcome](CProgressJob& j) {
        outcome = RunStartupTask(*m_pConfig, j.GetProgress(), &m_errors, &m_warnings,
                                 [this](CProgressSink* progress, CErrorRecord* errors) {
                                     return m_pWrapper->Init(progress, errors);
                                 });
    });
    {
        CProgressDlg progress(CProgressDlg::kTextsOnly, true, job, nullptr);
        progress.RunModal();
    }
    m_bStartupSucceeded = outcome.succeeded;

    if (!outcome.succeeded) {
        QString text = DwText(GetText(&m_errors));
        if (!m_warnings.empty()) {
            CListingDlg listing(QStringLiteral("Discweaver Error"), text, m_warnings, nullptr);
            UserPrompts().RunModal(listing);
        } else if (outcome.codecFailed) {
            std::optional<std::string> directory = m_pConfig->GetProgramDirectory(nullptr);
            CCcfDllDlg problem(text, directory ? DwText(*directory) : QString(), nullptr);
            UserPrompts().RunModal(problem);
        } else {
            ShowMessage(nullptr, text, QStringLiteral("Discweaver Error"), EPromptIcon::Stop);
        }
    }
    // Shown only on a failure; after a good start the findings are dropped.
    m_warnings.clear();
    if (welcome && outcome.succeeded)
        MarkWelcomeShown();

    RegisterLibraryEditors();
    m_pMainWindow = std::make_unique<CMainWindow>(m_pConfig.get(), m_pWrapper.get());
    return m_pMainWindow.get();
}

int CDesktopSession::RunMainWindow()
{
    return m_pMainWindow ? m_pMainWindow->RunModal() : 0;
}

int RunDesktopProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Discweaver"));
    QApplication::setApplicationDisplayName(QStringLiteral("Discweaver"));
    // The dialogs end the program themselves; a closing message box must not.
    QApplication::setQuitOnLastWindowClosed(false);
    {
        CDesktopSession session;
        session.StartUp();
        session.RunMainWindow();
    }
    // Last, once nothing uses the XML library any more.
    CleanupXmlLibrary();
    return 0;
}
