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
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
};

DW_UI_TEST(MainWindowTest)
#include "MainWindowTest.moc"
