// The main window's own controls: caption, browse dialogs, the panel-cap field, and the
// checks "Execute" makes before it starts anything.

#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "model/DWModel.h"
#include "ui/MainWindow.h"
#include "ui/UpDown.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

using namespace dwuitest;

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    struct CSetup
    {
        CDWConfig config;
        CCFWrapper wrapper{&config};
        CSetup() { AttachModel(config); }
    };

private slots:
    void captionHasBothVersions()
    {
        CSetup setup;
        CMainWindow window(&setup.config, &setup.wrapper);
        std::string version = *setup.config.GetFileVersionText(nullptr);
        QCOMPARE(window.windowTitle(), QStringLiteral("Discweaver %1 BETA VERSION (CCFDll not initialised)")
                                           .arg(QString::fromStdString(version)));
    }

    void panelCapStartsFromTheConfiguration_data()
    {
        QTest::addColumn<int>("cap");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("text");
        QTest::newRow("no cap") << 0 << false << QStringLiteral("300");
        QTest::newRow("a cap") << 12 << true << QStringLiteral("12");
    }
    void panelCapStartsFromTheConfiguration()
    {
        QFETCH(int, cap);
        QFETCH(bool, checked);
        QFETCH(QString, text);
        CSetup setup;
        setup.config.SetPanelCap(cap);
        CMainWindow window(&setup.config, &setup.wrapper);
        QCOMPARE(window.GetPanelCapCheck()->isChecked(), checked);
        QCOMPARE(window.GetPanelCapEdit()->text(), text);
        QCOMPARE(window.GetPanelCapEdit()->isEnabled(), checked);
        QCOMPARE(window.GetPanelCapSpin()->isEnabled(), checked);
        QCOMPARE(window.GetPanelCapSpin()->GetPosition(), text.toInt());
        window.GetPanelCapCheck()->setChecked(!checked);
        QCOMPARE(window.GetPanelCapEdit()->isEnabled(), !checked);
    }

    void panelCapFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("rewrite");
        QTest::newRow("empty counts as 1, left empty") << QString() << 1 << false;
        QTest::newRow("a number") << QStringLiteral("250") << 250 << false;
        QTest::newRow("letters") << QStringLiteral("abc") << 1 << true;
        QTest::newRow("zero") << QStringLiteral("0") << 1 << true;
        QTest::newRow("negative") << QStringLiteral("-4") << 1 << true;
        QTest::newRow("the largest") << QStringLiteral("32767") << 32767 << false;
        QTest::newRow("above the largest") << QStringLiteral("32768") << 32767 << true;
        QTest::newRow("far above") << QStringLiteral("99999999999999999999") << 32767 << true;
        QTest::newRow("digits then letters") << QStringLiteral("12ab") << 12 << false;
    }
    void panelCapFromText()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(bool, rewrite);
        bool rewritten = !rewrite;
        QCOMPARE(CMainWindow::PanelCapFromText(text, &rewritten), number);
        QCOMPARE(rewritten, rewrite);
    }

    void typedLettersBecomeOneAndTheSpinFollows()
    {
        CSetup setup;
        setup.config.SetPanelCap(20);
        CMainWindow window(&setup.config, &setup.wrapper);
        window.show();
        QLineEdit* edit = window.GetPanelCapEdit();
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("x"));
        QCOMPARE(edit->text(), QStringLiteral("1"));
        QCOMPARE(window.GetPanelCapSpin()->GetPosition(), 1);
        QTest::keyClicks(edit, QStringLiteral("5"));
        QCOMPARE(edit->text(), QStringLiteral("15"));
        QCOMPARE(window.GetPanelCapSpin()->GetPosition(), 15);
        window.GetPanelCapSpin()->StepBy(1);
        QCOMPARE(edit->text(), QStringLiteral("16"));
        window.StoreFields();
        QCOMPARE(setup.config.GetPanelCap(), 16);
        window.GetPanelCapCheck()->setChecked(false);
        window.StoreFields();
        QCOMPARE(setup.config.GetPanelCap(), 0);
    }

    void executeRefusesWhatIsNotReady_data()
    {
        QTest::addColumn<bool>("clearCap");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("message");
        QTest::newRow("panel cap emptied")
            << true << QStringLiteral("/") << QStringLiteral("Invalid number in panel cap field");
        QTest::newRow("no input") << false << QString() << QStringLiteral("Input CCF file not specified");
    }
    void executeRefusesWhatIsNotReady()
    {
        QFETCH(bool, clearCap);
        QFETCH(QString, input);
        QFETCH(QString, message);
        CSetup setup;
        setup.config.SetConfigArea("/tmp");
        setup.config.SetPanelCap(5);
        CScriptedPrompts prompts;
        CMainWindow window(&setup.config, &setup.wrapper);
        window.show();
        if (clearCap)
            window.GetPanelCapEdit()->clear();
        window.GetInputEdit()->setText(input);
        QTest::mouseClick(window.GetExecuteButton(), Qt::LeftButton);
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, message);
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Discweaver Error"));
        QCOMPARE(int(prompts.asked[0].icon), int(EPromptIcon::Exclamation));
        QVERIFY(window.IsIdle());
    }

    void browseDialogsAskAsTheyShould()
    {
        CSetup setup;
        setup.config.SetInputCcf("/some/dir/in.ccf");
        CScriptedPrompts prompts;
        prompts.files = {QStringLiteral("/chosen/input.ccf"), std::nullopt};
        CMainWindow window(&setup.config, &setup.wrapper);
        const QString before = QDir::currentPath();
        window.OnBrowseInput();
        window.OnBrowseOutput();
        QCOMPARE(window.GetInputEdit()->text(), QStringLiteral("/chosen/input.ccf"));
        QCOMPARE(window.GetOutputEdit()->text(), QString()); // cancelled
        QCOMPARE(prompts.fileRequests.size(), size_t(2));
        const CFileDialogRequest& open = prompts.fileRequests[0];
        QCOMPARE(open.title, QStringLiteral("Input CCF File"));
        QCOMPARE(open.filter, QStringLiteral("Pronto Config Files (*.ccf)"));
        QCOMPARE(open.defaultSuffix, QStringLiteral("ccf"));
        QCOMPARE(open.startPath, QStringLiteral("/some/dir/in.ccf"));
        QVERIFY(open.mustExist);
        QVERIFY(!open.confirmOverwrite);
        const CFileDialogRequest& save = prompts.fileRequests[1];
        QCOMPARE(save.title, QStringLiteral("Output CCF File"));
        QCOMPARE(save.filter, QStringLiteral("Pronto Config Files (*.ccf)"));
        QVERIFY(save.confirmOverwrite);
        QVERIFY(save.refuseReadOnly);
        QVERIFY(!save.mustExist);
        QCOMPARE(QDir::currentPath(), before);
    }

    void editorButtonsFollowTheRegistration()
    {
        CSetup setup;
        {
            CMainWindow window(&setup.config, &setup.wrapper);
            QVERIFY(!window.GetPlayersButton()->isEnabled());
            QVERIFY(!window.GetListsButton()->isEnabled());
        }
        RegisterEditor(EEditorKind::Lists, [](CTidemarkDialog* owner, const CEditorContext&) {
            return new CRecordingDialog(129, owner);
        });
        CMainWindow window(&setup.config, &setup.wrapper);
        QVERIFY(!window.GetPlayersButton()->isEnabled());
        QVERIFY(window.GetListsButton()->isEnabled());
        RegisterEditor(EEditorKind::Lists, nullptr);
    }
};

DW_UI_TEST(MainWindowTest)
#include "MainWindowTest.moc"
