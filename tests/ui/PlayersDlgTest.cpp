// The player editors on the demo: guessing a player from a device, mapping buttons with
// "Set..." and "Clear" and seeing the result in an executed CCF, and Cancel with changes.
// (Deleting a player and resolving its discs is part of the execution chain's tests.)

#include "DemoArea.h"
#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "csf/CSFPath.h"
#include "generate/ExecutionPipeline.h"
#include "ui/AddPlayerDlg.h"
#include "ui/EditPlayerDlg.h"
#include "ui/EditPlayersDlg.h"
#include "ui/SelectionTreeDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

using namespace dwuitest;

class PlayersDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void addPlayerGuessesFromTheDemoDevices()
    {
        DW_READ_DEMO(demo, tree);
        CAddPlayerDlg add(demo.Config(), tree, nullptr, nullptr);
        add.show();
        QStringList entries;
        for (int i = 0; i < add.GetList()->count(); ++i)
            entries << add.GetList()->item(i)->text();
        QCOMPARE(entries.value(0), QStringLiteral("<None>\t-- Start from scratch"));
        QVERIFY(entries.contains(QStringLiteral("CD Jukebox\t-- Good")));
        QVERIFY(entries.contains(QStringLiteral("Amplifier\t-- player \"Amplifier\" has no #0 button")));
        // One entry per device, in tree order.
        QCOMPARE(entries.size(), static_cast<int>(tree->GetCount()) + 1);
        QCOMPARE(entries.value(1).section('\t', 0, 0), QStringLiteral("Home"));

        int row = static_cast<int>(entries.indexOf(QStringLiteral("CD Jukebox\t-- Good")));
        const CPlayer* guess = add.GetGuess(row);
        QVERIFY(guess);
        QCOMPARE(QString(guess->GetButton(EPlayerButton::BeforeDisc)->GetDescription()),
                 QStringLiteral("CD Jukebox, Keypad, Disc"));
        QCOMPARE(QString(guess->GetButton(EPlayerButton::AfterDisc)->GetDescription()),
                 QStringLiteral("CD Jukebox, Keypad, Enter"));
        QCOMPARE(QString(guess->GetNumberButton(7)->GetDescription()),
                 QStringLiteral("CD Jukebox, Keypad, 7"));
    }

    void setAndClearReachTheExecutedCcf()
    {
        DW_READ_DEMO(demo, tree);
        // (The compiler numbers the buttons anew, so the numbers are left out.)
        const std::string stop = "AliasDeviceButton(\"CD Jukebox\",\"Transport\",\"Stop\",";
        const std::string enter = "AliasDeviceButton(\"CD Jukebox\",\"Keypad\",\"Enter\",";

        CScriptedPrompts prompts;
        CEditPlayersDlg players(demo.Config(), tree, nullptr);
        players.show();
        QList<QListWidgetItem*> found =
            players.GetList()->findItems(QStringLiteral("CD Changer"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        players.GetList()->setCurrentItem(found.front());
        QTest::mouseClick(FindButton<QPushButton>(&players, QStringLiteral("Edit")), Qt::LeftButton);
        auto* edit = qobject_cast<CEditPlayerDlg*>(players.GetOpenChild());
        QVERIFY(edit);

        // Before Disc becomes the Transport panel's Stop, through the selection tree.
        edit->GetMappings()->setCurrentItem(edit->GetMappings()->topLevelItem(10));
        QTest::mouseClick(edit->GetSetButton(), Qt::LeftButton);
        auto* select = qobject_cast<CSelectionTreeDlg*>(edit->GetOpenChild());
        QVERIFY(select);
        QTreeWidgetItem* item = select->FindItem({"CD Jukebox", "Transport", "Stop"});
        QVERIFY(item);
        select->GetTree()->setCurrentItem(item);
        QTest::mouseClick(select->GetOkButton(), Qt::LeftButton);
        QTRY_VERIFY(edit->IsIdle());
        // After Disc is cleared.
        edit->GetMappings()->setCurrentItem(edit->GetMappings()->topLevelItem(11));
        QTest::mouseClick(edit->GetClearButton(), Qt::LeftButton);
        QTest::mouseClick(FindButton<QPushButton>(edit, QStringLiteral("OK")), Qt::LeftButton);
        QTRY_VERIFY(players.IsIdle());
        QCOMPARE(prompts.asked.size(), size_t(0));
        QVERIFY(demo.Config().GetPlayers()->IsModified());

        const std::string output = demo.File("out.ccf");
        demo.Config().SetOutputCcf(output.c_str());
        CExecutionContext context{&demo.Config(), &demo.Wrapper(), demo.Config().GetPlayers(),
                                  demo.Config().GetLibrary()};
        CExecutionResult result;
        CErrorRecord errors;
        QCOMPARE(RunExecution(context, {}, nullptr, &result, &errors), ExecutionOutcome::Succeeded);
        CReadBack ccf;
        QVERIFY2(ccf.Read(output), GetText(&ccf.errors));

        // Every disc button of the CD changer starts with Stop (the first line of its
        // action), and Enter ends none; the unnamed track buttons go on after the disc.
        const std::string csf = dwtest::ReadText(ccf.config.GetCsfWorkFile());
        int discButtons = 0;
        for (std::size_t at = csf.find(stop); at != std::string::npos; at = csf.find(stop, at + 1)) {
            const std::size_t brace = csf.find_last_not_of("\t\n", at - 1);
            const std::size_t head = csf.find_last_not_of("\t\n", brace - 1);
            QVERIFY(csf[brace] == '{' && csf.compare(head - 7, 8, "Action()") == 0);
            if (csf.compare(csf.rfind("Button(", at), 10, "Button(\"\",") == 0)
                continue;
            QVERIFY(csf.substr(at, csf.find('}', at) - at).find(enter) == std::string::npos);
            ++discButtons;
        }
        QVERIFY(discButtons > 0);
    }

    void cancelWithChangesReloadsThePlayersFile()
    {
        DW_READ_DEMO(demo, tree);
        std::size_t before = demo.Config().GetPlayers()->GetCount();
        CScriptedPrompts prompts;
        CEditPlayersDlg players(demo.Config(), tree, nullptr);
        players.show();
        players.GetList()->setCurrentRow(0);
        QTest::mouseClick(FindButton<QPushButton>(&players, QStringLiteral("Delete")), Qt::LeftButton);
        QCOMPARE(demo.Config().GetPlayers()->GetCount(), before - 1);

        // "No" to the question keeps the dialog and the change; "Yes" reloads.
        prompts.answers = {EPromptAnswer::No, EPromptAnswer::Yes};
        QTest::mouseClick(FindButton<QPushButton>(&players, QStringLiteral("Cancel")), Qt::LeftButton);
        QCOMPARE(prompts.asked.size(), size_t(1));
        QVERIFY(players.isVisible());
        QTest::mouseClick(FindButton<QPushButton>(&players, QStringLiteral("Cancel")), Qt::LeftButton);
        QTRY_VERIFY(!players.isVisible());
        QCOMPARE(players.result(), 2);
        QCOMPARE(demo.Config().GetPlayers()->GetCount(), before);
        QVERIFY(!demo.Config().GetPlayers()->IsModified());
        // The discs found their reloaded player again.
        QCOMPARE(CountDiscs(*demo.Config().GetLibrary(), "UNRESOLVED PLAYER: "), 0);
    }
};

DW_UI_TEST(PlayersDlgTest)
#include "PlayersDlgTest.moc"
