// Start-up in its order, and how a failed start is reported before the main window.

#include "DemoArea.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "core/Registry.h"
#include "ui/AboutDlg.h"
#include "ui/CcfDllDlg.h"
#include "ui/DesktopProgram.h"
#include "ui/ListingDlg.h"
#include "ui/MainWindow.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dwuitest;

namespace {

bool HasProntoFont()
{
    for (const QString& family : QFontDatabase::families())
        if (family.compare(QStringLiteral("Pronto"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// What the start-up should say before its own reports: the font warning (on a machine
// without the font), then the welcome box when it is due.
QStringList Preamble(bool welcome)
{
    QStringList events;
    if (!HasProntoFont())
        events << QStringLiteral("ask: Discweaver Warning");
    if (welcome)
        events << QStringLiteral("modal: CAboutDlg");
    return events;
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private:
    dwtest::CTempDir m_dir{"dw-ui-startup"};
    std::string m_area;

private slots:
    void init()
    {
        m_area = m_dir / ("area" + std::to_string(rand()));
        QVERIFY(CopyDemoModel(m_area));
        WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "ConfigAndTempArea", m_area.c_str());
        WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", DW_DEMO_CCF);
        DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "WelcomeShown");
    }
    void cleanup()
    {
        DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "ConfigAndTempArea");
        DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "InputCCF");
    }

    void goodStartWelcomesOnceAndOpensTheMainWindow()
    {
        {
            CScriptedPrompts prompts;
            prompts.onModal = [](CTidemarkDialog& dialog) {
                return dialog.windowTitle() == QStringLiteral("Welcome to Discweaver") ? 1 : -1;
            };
            CDesktopSession session;
            CMainWindow* window = session.StartUp();
            QVERIFY2(session.StartupSucceeded(), GetText(&session.GetStartupErrors()));
            QCOMPARE(prompts.events, Preamble(true));
            if (!HasProntoFont())
                QCOMPARE(
                    prompts.asked[0].text,
                    QStringLiteral("Pronto font (from ProntoEdit) not installed; Pronto symbols will appear "
                                   "incorrectly."));
            QVERIFY(window);
            QCOMPARE(window->GetInputEdit()->text(), QStringLiteral(DW_DEMO_CCF));
            QVERIFY(window->GetListsButton()->isEnabled()); // "Edit Lists" is registered
        }
        std::uint32_t shown = 0;
        QVERIFY(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "WelcomeShown", &shown));
        QCOMPARE(shown, 1u);
        CScriptedPrompts prompts;
        CDesktopSession session;
        QVERIFY(session.StartUp());
        QCOMPARE(prompts.events, Preamble(false));
    }

    void failedStartReportsAndStillOpens_data()
    {
        QTest::addColumn<bool>("brokenLibrary");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("detail");
        QTest::newRow("broken library: the parser's lines in the Listing") << true << "CListingDlg"
                                                                           << "mismatch";
        QTest::newRow("no codec library: the CCFDll dialog") << false << "CCcfDllDlg"
                                                             << "nowhere";
    }
    void failedStartReportsAndStillOpens()
    {
        QFETCH(bool, brokenLibrary);
        QFETCH(QString, dialog);
        QFETCH(QString, detail);
        if (brokenLibrary)
            dwtest::WriteText(m_area + "/DW_Config/DW_Library.xml",
                              "<?xml version=\"1.0\"?>\n<DiscweaverLibrary Version=\"1\">\n<Library>\n"
                              "<Volume Name=\"Jazz\">\n</Library>\n");
        CScriptedPrompts prompts;
        QString message;
        QString shown;
        prompts.onModal = [&](CTidemarkDialog& modal) {
            if (auto* listing = qobject_cast<CListingDlg*>(&modal)) {
                message = listing->GetMessage();
                shown = listing->GetLines().join('\n');
            } else if (auto* problem = qobject_cast<CCcfDllDlg*>(&modal)) {
                message = shown = problem->GetErrorText();
            }
            return 1;
        };
        CDesktopSession session;
        if (!brokenLibrary)
            session.SetCodecPath(m_dir / "nowhere/libCCFDll.so");
        CMainWindow* window = session.StartUp();
        QVERIFY(!session.StartupSucceeded());
        QCOMPARE(prompts.events, Preamble(true) << QStringLiteral("modal: ") + dialog);
        if (brokenLibrary)
            QCOMPARE(prompts.modalRuns.back().title, QStringLiteral("Discweaver Error"));
        QCOMPARE(message, QString::fromUtf8(GetText(&session.GetStartupErrors())));
        QVERIFY2(shown.contains(detail, Qt::CaseInsensitive), qPrintable(shown));
        QVERIFY(window);
        // Not a successful start: the welcome is due again.
        QVERIFY(!ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "WelcomeShown", nullptr));
    }
};

DW_UI_TEST(StartupTest)
#include "StartupTest.moc"
