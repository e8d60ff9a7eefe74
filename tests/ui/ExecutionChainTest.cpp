// The main window's execution chain on the demo configuration, from "Execute" to the
// output CCF, with the questions and the dialogs between the jobs answered by script.

#include "DemoArea.h"
#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "generate/ExecutionPipeline.h"
#include "model/Library.h"
#include "ui/AddPlayerDlg.h"
#include "ui/EditPlayerDlg.h"
#include "ui/EditPlayersDlg.h"
#include "ui/ListingDlg.h"
#include "ui/MainWindow.h"
#include "ui/PlayerEditors.h"
#include "ui/PlayerResolutionDlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

using namespace dwuitest;

namespace {

// Starts "Execute" from input to output.
void Start(CMainWindow& window, const std::string& input, const std::string& output)
{
    window.GetInputEdit()->setText(QString::fromStdString(input));
    window.GetOutputEdit()->setText(QString::fromStdString(output));
    window.OnExecute();
}

// Runs "Execute" and waits until the chain has ended.
bool Execute(CMainWindow& window, const std::string& input, const std::string& output)
{
    Start(window, input, output);
    return QTest::qWaitFor([&]() { return window.IsIdle(); }, kDemoJobTimeoutMs);
}

} // namespace

class ExecutionChainTest : public QObject
{
    Q_OBJECT

private slots:
    void executeTwiceAnsweringTheReplacementQuestionNoThenYes()
    {
        DW_LOAD_DEMO(demo);
        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();

        // First run on the demo input: nothing to replace.
        const std::string first = demo.File("first.ccf");
        QVERIFY(Execute(window, DW_DEMO_CCF, first));
        QVERIFY2(window.GetLastSucceeded(), GetText(&window.GetErrors()));
        QVERIFY(prompts.asked.empty());
        const int firstDevices = CountDevices(first);
        const int generated = firstDevices - CountDevices(DW_DEMO_CCF);
        QVERIFY(generated > 0);
        int listDevices = 0;
        for (const CGeneratedList& list : window.GetGenerated())
            listDevices += list.devices;
        QCOMPARE(listDevices, generated);

        // On the first output, "No": the list devices stay and new ones join them.
        const std::string kept = demo.File("kept.ccf");
        QVERIFY(Execute(window, first, kept));
        for (const auto& asked : prompts.asked) {
            QCOMPARE(asked.caption, QStringLiteral("Replace devices?"));
            QVERIFY(asked.text.startsWith(QStringLiteral("Delete existing ")));
        }
        QCOMPARE(CountDevices(kept), firstDevices + generated);
        QCOMPARE(window.GetDevicesReplaced(), 0);

        // Again, "Yes": the old list devices go and the count is the first output's.
        const size_t questions = prompts.asked.size();
        prompts.asked.clear();
        prompts.answers.assign(questions, EPromptAnswer::Yes);
        const std::string replaced = demo.File("replaced.ccf");
        QVERIFY(Execute(window, first, replaced));
        QCOMPARE(prompts.asked.size(), questions);
        QCOMPARE(window.GetDevicesReplaced(), generated);
        QCOMPARE(CountDevices(replaced), firstDevices);
    }

    // The DVD player deleted in Edit Players leaves its discs unresolved; execution then
    // stops at Player Resolution, which sets another player, makes a new one, or cancels.
    void deletedPlayerIsResolvedDuringExecution_data()
    {
        QTest::addColumn<QString>("resolve");
        QTest::newRow("Set player to:") << "CD Changer";
        QTest::newRow("New Player") << "DVD Jukebox";
        QTest::newRow("Cancel") << "";
    }
    void deletedPlayerIsResolvedDuringExecution()
    {
        QFETCH(QString, resolve);
        DW_LOAD_DEMO(demo);
        RegisterPlayerEditors();
        auto unregister = qScopeGuard([] { UnregisterPlayerEditors(); });
        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        const std::string output = demo.File("out.ccf");
        window.GetInputEdit()->setText(DW_DEMO_CCF);

        // "Players..." reads the input, then opens Edit Players; the DVD player goes.
        QTest::mouseClick(window.GetPlayersButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CEditPlayersDlg*>(window.GetOpenChild()), kDemoJobTimeoutMs);
        auto* players = qobject_cast<CEditPlayersDlg*>(window.GetOpenChild());
        players->GetList()->setCurrentItem(
            players->GetList()->findItems(QStringLiteral("DVD Changer"), Qt::MatchExactly).front());
        QTest::mouseClick(FindButton<QPushButton>(players, QStringLiteral("Delete")), Qt::LeftButton);
        const CLibrary& library = *demo.Config().GetLibrary();
        const int dvdDiscs = CountDiscs(library, "UNRESOLVED PLAYER: DVD Changer");
        QVERIFY(dvdDiscs > 1);
        QCOMPARE(CountDiscs(library, "UNRESOLVED PLAYER: "), dvdDiscs);
        QTest::mouseClick(FindButton<QPushButton>(players, QStringLiteral("OK")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.IsIdle(), kDemoJobTimeoutMs);
        QVERIFY(dwtest::ReadText(demo.Area() + "/DW_Config/DW_Devices.xml").find("DVD Changer") ==
                std::string::npos);

        Start(window, DW_DEMO_CCF, output);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CPlayerResolutionDlg*>(window.GetOpenChild()),
                                 kDemoJobTimeoutMs);
        auto* resolution = qobject_cast<CPlayerResolutionDlg*>(window.GetOpenChild());
        QTreeWidget* discs = resolution->GetDiscList();
        QCOMPARE(discs->topLevelItemCount(), dvdDiscs);
        QCOMPARE(resolution->GetIntroText(),
                 QStringLiteral("The discs listed below are not associated with players. They must be "
                                "associated with players or deleted."));
        QCOMPARE(discs->topLevelItem(0)->text(3), QStringLiteral("DVD Changer (Non-existent)"));
        QCOMPARE(resolution->GetStatusText(), QStringLiteral("%1 unresolved remaining.").arg(dvdDiscs));
        QVERIFY(!resolution->GetApplyButton()->isEnabled());

        if (resolve.isEmpty()) {
            QTest::keyClick(resolution, Qt::Key_Escape);
            QTRY_VERIFY(window.IsIdle());
            QVERIFY(!std::filesystem::exists(output));
            QVERIFY(prompts.asked.empty()); // ends quietly
            return;
        }
        if (resolve == QStringLiteral("DVD Jukebox")) {
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
            QCOMPARE(edit->windowTitle(), QStringLiteral("Edit Player -- <New>"));
            QTest::mouseClick(FindButton<QPushButton>(edit, QStringLiteral("OK")), Qt::LeftButton);
            // The new player is chosen for the discs (the output shows it below).
            QTRY_VERIFY(resolution->IsIdle());
        } else {
            // Picking a player chooses the action.
            resolution->GetPlayerList()->findItems(resolve, Qt::MatchExactly).front()->setSelected(true);
        }
        QVERIFY(resolution->GetSetPlayerRadio()->isChecked());
        resolution->SelectAll();
        QTest::mouseClick(resolution->GetApplyButton(), Qt::LeftButton);

        QTRY_VERIFY_WITH_TIMEOUT(window.IsIdle() && std::filesystem::exists(output), kDemoJobTimeoutMs);
        QCOMPARE(CountDiscs(library, "UNRESOLVED PLAYER: "), 0);
        QVERIFY(CountDiscs(library, "(" + resolve.toStdString() + ", ") >= dvdDiscs);
        // The decision was saved with the library.
        std::string saved = dwtest::ReadText(demo.Area() + "/DW_Config/DW_Library.xml");
        QVERIFY(saved.find("DeviceName=\"DVD Changer\"") == std::string::npos);
    }

    void sameFileInAnotherCaseAsksTwice_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("written");
        QTest::newRow("Cancel to the first") << QList<int>{int(EPromptAnswer::Cancel)} << false;
        QTest::newRow("OK, then No") << QList<int>{int(EPromptAnswer::Ok), int(EPromptAnswer::No)} << false;
        QTest::newRow("OK, then Yes") << QList<int>{int(EPromptAnswer::Ok), int(EPromptAnswer::Yes)} << true;
    }
    void sameFileInAnotherCaseAsksTwice()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, written);
        DW_LOAD_DEMO(demo);
        const std::string input = demo.File("Remote.ccf");
        const std::string output = demo.File("remote.CCF");
        std::filesystem::copy_file(DW_DEMO_CCF, input);

        CScriptedPrompts prompts;
        for (int answer : answers)
            prompts.answers.push_back(EPromptAnswer(answer));
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        QVERIFY(Execute(window, input, output));
        QCOMPARE(prompts.asked.size(), size_t(answers.size()));
        QCOMPARE(prompts.asked[0].text, QString::fromLatin1(kSameFileWarning) +
                                            QStringLiteral("\n\nPress OK to continue or Cancel to abort the "
                                                           "operation and pick another output."));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Discweaver Warning"));
        QCOMPARE(int(prompts.asked[0].buttons), int(EPromptButtons::OkCancel));
        if (answers.size() > 1) {
            QCOMPARE(prompts.asked[1].text,
                     QStringLiteral("Are you absolutely sure? If you lose your CCF file "
                                    "you can only blame yourself."));
            QCOMPARE(int(prompts.asked[1].buttons), int(EPromptButtons::YesNo));
        }
        // The output names the input's file in other letters, and the configuration keeps
        // names in the letter case stored on disk: so the output written is the input file.
        QCOMPARE(demo.Config().GetOutputCcf(), input);
        QCOMPARE(dwtest::ReadText(input) != dwtest::ReadText(DW_DEMO_CCF), written);
        QVERIFY(!std::filesystem::exists(output));
    }

    void failedExecutionIsReported()
    {
        DW_LOAD_DEMO(demo);
        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        // Not a CCF file: the codec refuses it.
        const std::string input = demo.File("broken.ccf");
        dwtest::WriteText(input, "this is not a configuration file");
        const std::string output = demo.File("out.ccf");
        Start(window, input, output);
        // The codec's refusal arrives with its log.
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CListingDlg*>(window.GetOpenChild()), kDemoJobTimeoutMs);
        auto* listing = qobject_cast<CListingDlg*>(window.GetOpenChild());
        QCOMPARE(listing->windowTitle(), QStringLiteral("CCFDll Operation Log"));
        QCOMPARE(listing->GetMessage(), QString::fromUtf8(GetText(&window.GetErrors())));
        QVERIFY(!listing->GetLines().isEmpty());
        listing->accept();
        QTRY_VERIFY(window.IsIdle());
        QVERIFY(!std::filesystem::exists(output));
    }
};

DW_UI_TEST(ExecutionChainTest)
#include "ExecutionChainTest.moc"
