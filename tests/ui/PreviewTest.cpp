// The preview window on the demo's own output: reading it behind the progress dialog,
// the pressed look, what a generated disc button sends, and the jumps and page keys
// that change the panel shown.

#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "DemoArea.h"

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "generate/ExecutionPipeline.h"
#include "preview/ActionExpansion.h"
#include "ui/DialogIds.h"
#include "ui/PanelView.h"
#include "ui/PreviewDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <memory>

using namespace dwuitest;

class PreviewTest : public QObject
{
    Q_OBJECT

private:
    CDemoArea m_demo;
    std::string m_output;
    std::unique_ptr<CRecordingDialog> m_pHost;
    QPointer<CPreviewDlg> m_pPreview;

    // Opens the preview of a file as the host's child and waits for the reading job.
    CPreviewDlg* OpenPreview(const std::string& path)
    {
        m_pHost = std::make_unique<CRecordingDialog>();
        m_pHost->show();
        m_pPreview = new CPreviewDlg(path, m_pHost.get());
        if (!m_pHost->OpenChild(m_pPreview, kPreviewDialog, false, true))
            return nullptr;
        // The reading job runs behind the progress dialog, the preview's own child.
        if (!QTest::qWaitFor([&]() { return m_pPreview && m_pPreview->IsReadingFinished(); }, 30000))
            return nullptr;
        m_pPreview->activateWindow();
        if (!QTest::qWaitForWindowActive(m_pPreview))
            return nullptr;
        return m_pPreview;
    }

    void ChooseDevice(CPreviewDlg* preview, const QString& name)
    {
        QListWidget* list = preview->GetDeviceList();
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        list->scrollToItem(found.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
    }

    // The centre of a button of the panel shown, found by its name.
    QPoint ButtonCentre(CPreviewDlg* preview, const char* name)
    {
        CActionExpander finder(nullptr);
        const CCSFSection* button = finder.FindButton(preview->GetPanelView()->GetPanel(), name);
        return button ? preview->GetPanelView()->CentreOf(button) : QPoint(-1, -1);
    }

private slots:
    // The demo's main job, run once as the command line runs it, gives the output most
    // tests preview.
    void initTestCase()
    {
        std::string why;
        QVERIFY2(m_demo.Load(&why), why.c_str());
        m_output = m_demo.File("demo-out.ccf");
        CDWConfig& config = m_demo.Config();
        config.SetInputCcf(DW_DEMO_CCF);
        config.SetOutputCcf(m_output.c_str());
        CErrorRecord errors;
        QVERIFY2(config.CheckReadyToExecute(&errors, true), GetText(&errors));
        CExecutionContext context{&config, &m_demo.Wrapper(), config.GetPlayers(), config.GetLibrary()};
        CExecutionCallbacks callbacks;
        callbacks.replaceDevices = [](const CReplaceQuestion&) { return true; };
        CExecutionResult result;
        QCOMPARE(int(RunExecution(context, callbacks, nullptr, &result, &errors)),
                 int(ExecutionOutcome::Succeeded));
    }

    void cleanup()
    {
        delete m_pPreview;
        m_pHost.reset();
    }

    void nextPageButtonShowsTheNextPanel()
    {
        CPreviewDlg* preview = OpenPreview(m_output);
        QVERIFY(preview && preview->IsRead());
        ChooseDevice(preview, "Jazz");
        QCOMPARE(preview->GetPanelLabel()->text(), QStringLiteral("Panel \"A0\" (1 of 15)"));
        QTest::mouseClick(preview->GetPanelView(), Qt::LeftButton, {}, ButtonCentre(preview, ">>"));
        QCOMPARE(preview->GetPanelLabel()->text(), QStringLiteral("Panel \"A1\" (2 of 15)"));
        QVERIFY(preview->GetSidePane()->toPlainText().contains("jump to panel \"A1\" of device \"Jazz\""));
    }

    void discButtonListsItsKeySequence()
    {
        CPreviewDlg* preview = OpenPreview(m_output);
        QVERIFY(preview && preview->IsRead());
        ChooseDevice(preview, "Jazz");
        // A0, A1, D0, D1: disc 290 of the CD changer is on D1.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(preview->GetDeviceList(), Qt::Key_PageDown);
        QCOMPARE(preview->GetPanelLabel()->text(), QStringLiteral("Panel \"D1\" (4 of 15)"));
        QTest::mouseClick(preview->GetPanelView(), Qt::LeftButton, {}, ButtonCentre(preview, "C290"));

        // The CD changer of demo/DW_Devices.xml: its "Disc" key, the number padded to three
        // digits, "Enter" (distinct keys, so no delays), then its transport panel.
        const QString sent = preview->GetSidePane()->toPlainText();
        QVERIFY2(sent.startsWith("Pressing \"C290\" on panel \"D1\" of device \"Jazz\":\n"),
                 qPrintable(sent));
        qsizetype at = 0;
        for (const char* key : {"Disc", "2", "9", "0", "Enter"}) {
            const QString alias = QStringLiteral("alias button \"CD Jukebox/Keypad/%1\"").arg(key);
            const qsizetype found = sent.indexOf(alias, at);
            QVERIFY2(found >= 0, qPrintable(alias + " missing or out of order in:\n" + sent));
            at = found + alias.size();
        }
        QVERIFY(!sent.contains("delay"));
        QVERIFY(sent.contains("jump to panel \"Transport\" of device \"CD Jukebox\""));
        // The jump shows the changer's transport panel, and the device list follows.
        QCOMPARE(preview->GetDeviceList()->currentItem()->text(), QStringLiteral("CD Jukebox"));
        QCOMPARE(preview->GetPanelLabel()->text(), QStringLiteral("Panel \"Transport\" (2 of 2)"));
    }
};

DW_UI_TEST(PreviewTest)
#include "PreviewTest.moc"
