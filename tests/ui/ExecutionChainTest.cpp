// The main window's execution chain on the demo configuration, from "Execute" to the
// output CCF, with the questions between the jobs answered by script.

#include "DemoArea.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "core/Registry.h"
#include "csf/CCFWrapper.h"
#include "generate/ExecutionPipeline.h"
#include "model/Artist.h"
#include "model/Disc.h"
#include "model/LibList.h"
#include "model/Library.h"
#include "model/Player.h"
#include "ui/EditorHooks.h"
#include "ui/ListingDlg.h"
#include "ui/MainWindow.h"
#include "ui/PlayerResolutionDlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <numeric>

using namespace dwuitest;

namespace {

constexpr int kChainTimeoutMs = 120000;

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

int GeneratedDevices(const CMainWindow& window)
{
    int devices = 0;
    for (const CGeneratedList& list : window.GetGenerated())
        devices += list.devices;
    return devices;
}

} // namespace

class ExecutionChainTest : public QObject
{
    Q_OBJECT

private:
    // Runs "Execute" and waits until the chain has ended.
    static bool Execute(CMainWindow& window, const std::string& input, const std::string& output)
    {
        window.GetInputEdit()->setText(QString::fromStdString(input));
        window.GetOutputEdit()->setText(QString::fromStdString(output));
        window.OnExecute();
        return QTest::qWaitFor([&]() { return window.IsIdle(); }, kChainTimeoutMs);
    }

private slots:
    void executeTwiceAnsweringTheReplacementQuestionNoThenYes()
    {
        CDemoArea demo;
        std::string why;
        if (!demo.Load(&why))
            QSKIP(why.c_str());
        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();

        // First run on the demo input: nothing to replace.
        const std::string first = demo.File("first.ccf");
        QVERIFY(Execute(window, DW_DEMO_CCF, first));
        QVERIFY2(window.GetLastSucceeded(), GetText(&window.GetErrors()));
        QVERIFY(prompts.asked.empty());
        const int inputDevices = CountDevices(DW_DEMO_CCF);
        const int firstDevices = CountDevices(first);
        QVERIFY(inputDevices > 0);
        const int generated = firstDevices - inputDevices;
        QVERIFY(generated > 0);
        QCOMPARE(GeneratedDevices(window), generated);

        // On the first output, "No": the list devices stay and new ones join them.
        const std::string kept = demo.File("kept.ccf");
        QVERIFY(Execute(window, first, kept));
        QVERIFY2(window.GetLastSucceeded(), GetText(&window.GetErrors()));
        QVERIFY(!prompts.asked.empty());
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
        QVERIFY2(window.GetLastSucceeded(), GetText(&window.GetErrors()));
        QCOMPARE(prompts.asked.size(), questions);
        QCOMPARE(window.GetDevicesReplaced(), generated);
        QCOMPARE(CountDevices(replaced), firstDevices);
    }

    void playerResolutionSetPlayerGoesOnAndCancelWritesNothing_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("Set player to:") << false;
        QTest::newRow("Cancel") << true;
    }
    void playerResolutionSetPlayerGoesOnAndCancelWritesNothing()
    {
        QFETCH(bool, cancel);
        CDemoArea demo;
        std::string why;
        if (!demo.Load(&why))
            QSKIP(why.c_str());
        // The DVD player is removed as the players editor removes one.
        CPlayers& players = *demo.Config().GetPlayers();
        CPlayer* dvd = players.FindByName("DVD Changer");
        QVERIFY(dvd);
        demo.Config().GetLibrary()->PlayerRemoved(dvd);
        players.Remove(dvd);

        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        const std::string output = demo.File("out.ccf");
        window.GetInputEdit()->setText(DW_DEMO_CCF);
        window.GetOutputEdit()->setText(QString::fromStdString(output));
        window.OnExecute();
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CPlayerResolutionDlg*>(window.GetOpenChild()), kChainTimeoutMs);
        auto* resolution = qobject_cast<CPlayerResolutionDlg*>(window.GetOpenChild());
        QTreeWidget* discs = resolution->GetDiscList();
        QVERIFY(discs->topLevelItemCount() > 1);
        QCOMPARE(resolution->GetIntroText(),
                 QStringLiteral("The discs listed below are not associated with players. They must be "
                                "associated with players or deleted."));
        QCOMPARE(discs->topLevelItem(0)->text(3), QStringLiteral("DVD Changer (Non-existent)"));
        QCOMPARE(resolution->GetStatusText(),
                 QStringLiteral("%1 unresolved remaining.").arg(discs->topLevelItemCount()));
        QVERIFY(!resolution->GetApplyButton()->isEnabled());
        QVERIFY(!resolution->GetNewPlayerButton()->isEnabled());

        if (cancel) {
            QTest::keyClick(resolution, Qt::Key_Escape);
            QTRY_VERIFY(window.IsIdle());
            QVERIFY(!Exists(output));
            QVERIFY(prompts.asked.empty()); // ends quietly
            return;
        }
        // Picking a player chooses the action.
        QListWidget* list = resolution->GetPlayerList();
        QList<QListWidgetItem*> found = list->findItems(QStringLiteral("CD Changer"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        found.first()->setSelected(true);
        QVERIFY(resolution->GetSetPlayerRadio()->isChecked());
        QVERIFY(resolution->GetApplyButton()->isEnabled());
        resolution->SelectAll();
        QTest::mouseClick(resolution->GetApplyButton(), Qt::LeftButton);

        QTRY_VERIFY_WITH_TIMEOUT(window.IsIdle() && Exists(output), kChainTimeoutMs);
        QVERIFY2(window.GetLastSucceeded(), GetText(&window.GetErrors()));
        QVERIFY(CountDevices(output) > CountDevices(DW_DEMO_CCF));
        // The decision was saved with the library: its discs now name the CD player.
        std::string library = dwtest::ReadText(demo.Area() + "/DW_Config/DW_Library.xml");
        QVERIFY(library.find("DeviceName=\"DVD Changer\"") == std::string::npos);
    }

    void sameFileInAnotherCaseAsksTwice_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("written");
        QTest::newRow("Cancel to the first") << QList<int>{int(EPromptAnswer::Cancel)} << 1 << false;
        QTest::newRow("OK, then No") << QList<int>{int(EPromptAnswer::Ok), int(EPromptAnswer::No)} << 2
                                     << false;
        QTest::newRow("OK, then Yes")
            << QList<int>{int(EPromptAnswer::Ok), int(EPromptAnswer::Yes)} << 2 << true;
    }
    void sameFileInAnotherCaseAsksTwice()
    {
        QFETCH(QList<int>, answers);
        QFETCH(int, questions);
        QFETCH(bool, written);
        CDemoArea demo;
        std::string why;
        if (!demo.Load(&why))
            QSKIP(why.c_str());
        const std::string input = demo.File("Remote.ccf");
        const std::string output = demo.File("remote.CCF");
        std::filesystem::copy_file(DW_DEMO_CCF, input);

        CScriptedPrompts prompts;
        for (int answer : answers)
            prompts.answers.push_back(EPromptAnswer(answer));
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        QVERIFY(Execute(window, input, output));
        QCOMPARE(int(prompts.asked.size()), questions);
        QCOMPARE(prompts.asked[0].text, QString::fromLatin1(kSameFileWarning) +
                                            QStringLiteral("\n\nPress OK to continue or Cancel to abort the "
                                                           "operation and pick another output."));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Discweaver Warning"));
        QCOMPARE(int(prompts.asked[0].buttons), int(EPromptButtons::OkCancel));
        if (questions > 1) {
            QCOMPARE(prompts.asked[1].text,
                     QStringLiteral("Are you absolutely sure? If you lose your CCF file "
                                    "you can only blame yourself."));
            QCOMPARE(int(prompts.asked[1].buttons), int(EPromptButtons::YesNo));
        }
        // The output names the input's file in other letters, and the configuration keeps
        // names in the letter case stored on disk: so the output written is the input file.
        QCOMPARE(demo.Config().GetOutputCcf(), input);
        QCOMPARE(dwtest::ReadText(input) != dwtest::ReadText(DW_DEMO_CCF), written);
        QVERIFY(!Exists(output));
    }

    void failedExecutionIsReported()
    {
        CDemoArea demo;
        std::string why;
        if (!demo.Load(&why))
            QSKIP(why.c_str());
        CScriptedPrompts prompts;
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.show();
        // Not a CCF file: the codec refuses it.
        const std::string input = demo.File("broken.ccf");
        dwtest::WriteText(input, "this is not a configuration file");
        const std::string output = demo.File("out.ccf");
        window.GetInputEdit()->setText(QString::fromStdString(input));
        window.GetOutputEdit()->setText(QString::fromStdString(output));
        window.OnExecute();
        QTRY_VERIFY_WITH_TIMEOUT(!prompts.asked.empty() || qobject_cast<CListingDlg*>(window.GetOpenChild()),
                                 kChainTimeoutMs);
        if (auto* listing = qobject_cast<CListingDlg*>(window.GetOpenChild())) {
            QCOMPARE(listing->windowTitle(), QStringLiteral("CCFDll Operation Log"));
            QCOMPARE(listing->GetMessage(), QString::fromUtf8(GetText(&window.GetErrors())));
            QVERIFY(!listing->GetLines().isEmpty());
            listing->accept();
        } else {
            QCOMPARE(prompts.asked[0].caption, QStringLiteral("Discweaver Error"));
            QCOMPARE(prompts.asked[0].text, QString::fromUtf8(GetText(&window.GetErrors())));
        }
        QTRY_VERIFY(window.IsIdle());
        QVERIFY(!Exists(output));
    }
};

DW_UI_TEST(ExecutionChainTest)
#include "ExecutionChainTest.moc"
