// The player editors on the demo: guessing a player from a device, mapping buttons with
// "Set..." and "Clear" and seeing the result in an executed CCF, deleting a player, and
// Cancel with changes.

#include "DemoArea.h"
#include "DemoTestSupport.h"
#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "csf/CSFPath.h"
#include "ui/AddPlayerDlg.h"
#include "ui/DialogIds.h"
#include "ui/EditPlayerDlg.h"
#include "ui/EditPlayersDlg.h"
#include "ui/EditorHooks.h"
#include "ui/MainWindow.h"
#include "ui/PlayerEditors.h"
#include "ui/PlayerResolutionDlg.h"
#include "ui/SelectionTreeDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

using namespace dwuitest;

namespace {

// The action lines of every button whose actions mention `needle`.
std::vector<std::vector<std::string>> ButtonActionsMentioning(const CCFWrapper& wrapper,
                                                              const std::string& needle)
{
    std::vector<std::vector<std::string>> found;
    for (const CCSFDevice* d : *wrapper.GetAbstractTree()) {
        for (const CCSFPanel* panel : d->GetPanels()) {
            for (const CCSFButton* button : panel->GetButtons()) {
                for (const CCSFSection* block = button->GetNode()->GetFirstChild(); block;
                     block = block->GetNextSibling()) {
                    if (std::string(block->GetText()).rfind("Action(", 0) != 0)
                        continue;
                    std::vector<std::string> lines;
                    bool mentions = false;
                    for (const CCSFSection* line = block->GetFirstChild(); line;
                         line = line->GetNextSibling()) {
                        lines.emplace_back(line->GetText());
                        mentions = mentions || lines.back().find(needle) != std::string::npos;
                    }
                    if (mentions)
                        found.push_back(lines);
                }
            }
        }
    }
    return found;
}

std::vector<std::string> DiscTexts(const CLibrary& library)
{
    std::vector<std::string> texts;
    for (const CLibList* list : library.GetLists())
        for (const CArtist* artist : list->GetArtists())
            for (const CDisc* disc : artist->GetDiscs())
                texts.push_back(disc->GetDisplayText());
    return texts;
}

int CountContaining(const std::vector<std::string>& texts, const std::string& part)
{
    int n = 0;
    for (const std::string& t : texts)
        n += t.find(part) != std::string::npos;
    return n;
}

} // namespace

class PlayersDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void addPlayerGuessesFromTheDemoDevices()
    {
        CDemoSetup demo;
        QVERIFY(demo.Init(false));
        CAddPlayerDlg add(demo.config, demo.tree, nullptr, nullptr);
        add.show();
        QStringList entries;
        for (int i = 0; i < add.GetList()->count(); ++i)
            entries << add.GetList()->item(i)->text();
        QCOMPARE(entries.value(0), QStringLiteral("<None>\t-- Start from scratch"));
        QVERIFY(entries.contains(QStringLiteral("CD Jukebox\t-- Good")));
        QVERIFY(entries.contains(QStringLiteral("Amplifier\t-- player \"Amplifier\" has no #0 button")));
        // One entry per device, in tree order.
        QCOMPARE(entries.size(), static_cast<int>(demo.tree->GetCount()) + 1);
        QCOMPARE(entries.value(1).section('\t', 0, 0), QStringLiteral("Amplifier"));

        int row = static_cast<int>(entries.indexOf(QStringLiteral("CD Jukebox\t-- Good")));
        const CPlayer* guess = add.GetGuess(row);
        QVERIFY(guess);
        QCOMPARE(QString(guess->GetButton(EPlayerButton::BeforeDisc)->GetDescription()),
                 QStringLiteral("CD Jukebox, Keypad, Disc"));
        QCOMPARE(QString(guess->GetButton(EPlayerButton::AfterDisc)->GetDescription()),
                 QStringLiteral("CD Jukebox, Keypad, Enter"));
        QCOMPARE(QString(guess->GetNumberButton(7)->GetDescription()),
                 QStringLiteral("CD Jukebox, Keypad, 7"));

        // OK opens Edit Player with the guess in its rows, hiding Add Player.
        add.GetList()->setCurrentRow(row);
        QTest::mouseClick(FindButton<QPushButton>(&add, QStringLiteral("OK")), Qt::LeftButton);
        auto* edit = qobject_cast<CEditPlayerDlg*>(add.GetOpenChild());
        QVERIFY(edit);
        QCOMPARE(edit->windowTitle(), QStringLiteral("Edit Player -- <New>"));
        QCOMPARE(edit->GetNameEdit()->text(), QStringLiteral("CD Jukebox"));
        QTreeWidgetItem* disc = edit->GetMappings()->topLevelItem(10);
        QCOMPARE(disc->text(0), QStringLiteral("Before Disc"));
        QCOMPARE(disc->text(3), QStringLiteral("Disc"));
        QVERIFY(!add.isVisible());
    }

    void setAndClearReachTheExecutedCcf()
    {
        CDemoSetup demo;
        QVERIFY(demo.Init(true));
        // (The compiler numbers the buttons anew, so the numbers are left out.)
        const std::string stop = "AliasDeviceButton(\"CD Jukebox\",\"Transport\",\"Stop\",";
        const std::string enter = "AliasDeviceButton(\"CD Jukebox\",\"Keypad\",\"Enter\",";

        CScriptedPrompts prompts;
        CEditPlayersDlg players(demo.config, demo.tree, nullptr);
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
        QCOMPARE(select->windowTitle(), QStringLiteral("Select Button"));
        QTreeWidgetItem* item = select->FindItem({"CD Jukebox", "Transport", "Stop"});
        QVERIFY(item);
        select->GetTree()->setCurrentItem(item);
        QTest::mouseClick(select->GetOkButton(), Qt::LeftButton);
        QTRY_VERIFY(edit->IsIdle());
        QCOMPARE(edit->GetMappings()->topLevelItem(10)->text(2), QStringLiteral("Transport"));
        // After Disc is cleared.
        edit->GetMappings()->setCurrentItem(edit->GetMappings()->topLevelItem(11));
        QTest::mouseClick(edit->GetClearButton(), Qt::LeftButton);
        QCOMPARE(edit->GetMappings()->topLevelItem(11)->text(3), QString());
        QTest::mouseClick(FindButton<QPushButton>(edit, QStringLiteral("OK")), Qt::LeftButton);
        QTRY_VERIFY(players.IsIdle());
        QCOMPARE(prompts.asked.size(), size_t(0));
        QVERIFY(demo.config.GetPlayers()->IsModified());

        CExecutionResult result;
        QCOMPARE(RunExecution(demo.context, {}, nullptr, &result, &demo.errors), ExecutionOutcome::Succeeded);
        CDWConfig readBack;
        readBack.SetInputCcf(demo.output.c_str());
        readBack.SetConfigArea((demo.root / "readback").c_str());
        CCFWrapper wrapper(&readBack);
        CWarningList log;
        QVERIFY(wrapper.SetDllPath(CDemoSetup::kCodec) && wrapper.Init(nullptr, &demo.errors));
        QVERIFY2(wrapper.DecompileAndRead(nullptr, &log, &demo.errors), GetText(&demo.errors));

        // Every disc button of the CD changer starts with Stop, and Enter ends none.
        auto discButtons = ButtonActionsMentioning(wrapper, stop);
        QVERIFY(!discButtons.empty());
        for (const auto& lines : discButtons) {
            QVERIFY(lines.front().find(stop) != std::string::npos);
            for (const std::string& line : lines)
                QVERIFY2(line.find(enter) == std::string::npos, line.c_str());
        }
    }

    void deletedPlayerIsReplacedThroughNewPlayerDuringExecution()
    {
        constexpr int kChainTimeoutMs = 120000;
        CDemoArea demo;
        std::string why;
        if (!demo.Load(&why))
            QSKIP(why.c_str());
        RegisterPlayerEditors();
        struct CUnregister
        {
            ~CUnregister() { UnregisterPlayerEditors(); }
        } unregister;
        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        const std::string output = demo.File("out.ccf");
        window.GetInputEdit()->setText(DW_DEMO_CCF);
        window.GetOutputEdit()->setText(QString::fromStdString(output));

        // "Players..." reads the input, then opens Edit Players; the DVD player goes.
        QVERIFY(window.GetPlayersButton()->isEnabled());
        QTest::mouseClick(window.GetPlayersButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CEditPlayersDlg*>(window.GetOpenChild()), kChainTimeoutMs);
        auto* players = qobject_cast<CEditPlayersDlg*>(window.GetOpenChild());
        players->GetList()->setCurrentItem(
            players->GetList()->findItems(QStringLiteral("DVD Changer"), Qt::MatchExactly).front());
        QTest::mouseClick(FindButton<QPushButton>(players, QStringLiteral("Delete")), Qt::LeftButton);
        const std::vector<std::string> texts = DiscTexts(*demo.Config().GetLibrary());
        int dvdDiscs = CountContaining(texts, "UNRESOLVED PLAYER: DVD Changer");
        QVERIFY(dvdDiscs > 0);
        QCOMPARE(CountContaining(texts, "UNRESOLVED PLAYER: "), dvdDiscs);
        QTest::mouseClick(FindButton<QPushButton>(players, QStringLiteral("OK")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.IsIdle(), kChainTimeoutMs);
        // Job 6 wrote the players file without the DVD player.
        QVERIFY(dwtest::ReadText(demo.Area() + "/DW_Config/DW_Devices.xml").find("DVD Changer") ==
                std::string::npos);

        window.OnExecute();
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CPlayerResolutionDlg*>(window.GetOpenChild()), kChainTimeoutMs);
        auto* resolution = qobject_cast<CPlayerResolutionDlg*>(window.GetOpenChild());
        QCOMPARE(resolution->GetDiscList()->topLevelItemCount(), dvdDiscs);
        QVERIFY(resolution->GetNewPlayerButton()->isEnabled());
        QTest::mouseClick(resolution->GetNewPlayerButton(), Qt::LeftButton);
        auto* add = qobject_cast<CAddPlayerDlg*>(resolution->GetOpenChild());
        QVERIFY(add);
        QList<QListWidgetItem*> guess =
            add->GetList()->findItems(QStringLiteral("DVD Jukebox\t-- Good"), Qt::MatchExactly);
        QCOMPARE(guess.size(), 1);
        // A view takes a double click only on the item it was pressed on.
        QPoint at = add->GetList()->visualItemRect(guess.front()).center();
        QTest::mouseClick(add->GetList()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(add->GetList()->viewport(), Qt::LeftButton, {}, at);
        auto* edit = qobject_cast<CEditPlayerDlg*>(add->GetOpenChild());
        QVERIFY(edit);
        QTest::mouseClick(FindButton<QPushButton>(edit, QStringLiteral("OK")), Qt::LeftButton);
        // The new player is chosen for the discs.
        QTRY_VERIFY(resolution->IsIdle());
        QVERIFY(resolution->GetSetPlayerRadio()->isChecked());
        QCOMPARE(resolution->GetPlayerList()->currentItem()->text(), QStringLiteral("DVD Jukebox"));
        resolution->SelectAll();
        QTest::mouseClick(resolution->GetApplyButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.IsIdle() && std::filesystem::exists(output), kChainTimeoutMs);
        QVERIFY2(window.GetLastSucceeded(), GetText(&window.GetErrors()));
        QCOMPARE(CountContaining(DiscTexts(*demo.Config().GetLibrary()), "(DVD Jukebox, "), dvdDiscs);
    }

    void cancelWithChangesReloadsThePlayersFile()
    {
        CDemoSetup demo;
        QVERIFY(demo.Init(false));
        CLibrary& library = *demo.config.GetLibrary();
        std::size_t before = demo.config.GetPlayers()->GetCount();
        CScriptedPrompts prompts;
        CEditPlayersDlg dialog(demo.config, demo.tree, nullptr);
        CEditPlayersDlg* players = &dialog;
        players->show();
        players->GetList()->setCurrentRow(0);
        QTest::mouseClick(FindButton<QPushButton>(players, QStringLiteral("Delete")), Qt::LeftButton);
        QCOMPARE(demo.config.GetPlayers()->GetCount(), before - 1);

        // "No" keeps the dialog and the change.
        prompts.answers = {EPromptAnswer::No};
        QTest::mouseClick(FindButton<QPushButton>(players, QStringLiteral("Cancel")), Qt::LeftButton);
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Discard your changes?"));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Are you sure?"));
        QVERIFY(players->isVisible());

        prompts.answers = {EPromptAnswer::Yes};
        QTest::mouseClick(FindButton<QPushButton>(players, QStringLiteral("Cancel")), Qt::LeftButton);
        QTRY_VERIFY(!players->isVisible());
        QCOMPARE(players->result(), 2);
        QCOMPARE(demo.config.GetPlayers()->GetCount(), before);
        QVERIFY(!demo.config.GetPlayers()->IsModified());
        // The discs found their reloaded player again.
        QCOMPARE(CountContaining(DiscTexts(library), "UNRESOLVED PLAYER: "), 0);
    }
};

DW_UI_TEST(PlayersDlgTest)
#include "PlayersDlgTest.moc"
