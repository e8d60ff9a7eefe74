// A list made in the editors from "Lists..." of the main window, given a jump panel, a
// link button and a hard button with a label and an alias through the selection tree,
// then executed: the output configuration carries them.

#include "DemoArea.h"
#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "model/Artist.h"
#include "model/DWModel.h"
#include "model/Disc.h"
#include "model/LibList.h"
#include "model/Library.h"
#include "ui/EditListDlg.h"
#include "ui/EditListsDlg.h"
#include "ui/EditorHooks.h"
#include "ui/MainWindow.h"
#include "ui/SelectionTreeDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

using namespace dwuitest;

namespace {

// The text from the statement starting with `head` up to the next statement starting
// with `next` (or the end).
std::string Block(const std::string& text, const std::string& head, const std::string& next)
{
    std::size_t start = text.find(head);
    if (start == std::string::npos)
        return std::string();
    std::size_t end = text.find(next, start + head.size());
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Picks the node in the selection tree open above dialog and presses OK.
void Choose(CTidemarkDialog* dialog, const QStringList& node)
{
    auto* tree = qobject_cast<CSelectionTreeDlg*>(dialog->GetOpenChild());
    QVERIFY(tree);
    QTreeWidgetItem* item = tree->FindItem(node);
    QVERIFY(item);
    tree->GetTree()->setCurrentItem(item);
    QTest::mouseClick(tree->GetOkButton(), Qt::LeftButton);
    QTRY_VERIFY(!dialog->GetOpenChild());
}

} // namespace

class EditListExecuteTest : public QObject
{
    Q_OBJECT

private slots:
    void listSettingsMadeInTheEditorReachTheOutput()
    {
        DW_LOAD_DEMO(area);
        CScriptedPrompts prompts;
        RegisterLibraryEditors();
        CMainWindow window(&area.Config(), &area.Wrapper());
        window.show();
        std::string output = area.File("out.ccf");
        window.GetInputEdit()->setText(QString::fromStdString(DW_DEMO_CCF));
        window.GetOutputEdit()->setText(QString::fromStdString(output));
        QTest::mouseClick(window.GetListsButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CEditListsDlg*>(window.GetOpenChild()), kDemoJobTimeoutMs);
        auto* lists = qobject_cast<CEditListsDlg*>(window.GetOpenChild());

        QVERIFY(lists->SelectObject(&GetLibrary(area.Config())));
        QTest::mouseClick(lists->findChild<QPushButton*>("add"), Qt::LeftButton);
        auto* editor = qobject_cast<CEditListDlg*>(lists->GetOpenChild());
        QVERIFY(editor);
        QTest::keyClicks(editor->GetNameEdit(), "Blue Notes");
        QTest::mouseClick(editor->GetJumpMore(), Qt::LeftButton);
        Choose(editor, {"DVD Jukebox", "Transport"});
        QTest::mouseClick(editor->GetLinkAdd(), Qt::LeftButton);
        Choose(editor, {"TV", "Main", "Home"});
        QTest::keyClicks(editor->GetLabelEdit(0), "Play!");
        QTest::mouseClick(editor->GetActionButton(0, "Add"), Qt::LeftButton);
        Choose(editor, {"Amplifier", "Volume", "Mute"});
        editor->accept();
        QTRY_VERIFY(!lists->GetOpenChild());

        // An empty list is left out of the output: give it a disc (the editors that add
        // one have tests of their own).
        CLibList* list = GetLibrary(area.Config()).GetLists().FindByName("Blue Notes");
        QVERIFY(list);
        CArtist* artist = AddNamed<CArtist>(list, list->GetArtists(), "Art Blakey");
        CDisc* disc = AddNamed<CDisc>(artist, artist->GetDiscs(), "Moanin");
        disc->SetPlayer(GetPlayers(area.Config()).GetFirst());
        disc->SetNumber(300);
        lists->accept();
        QTRY_VERIFY_WITH_TIMEOUT(!window.GetOpenChild() && window.IsIdle(), kDemoJobTimeoutMs);

        window.OnExecute();
        QTRY_VERIFY_WITH_TIMEOUT(window.IsIdle() && std::filesystem::exists(output), kDemoJobTimeoutMs);
        CReadBack ccf;
        QVERIFY2(ccf.Read(output), GetText(&ccf.errors));
        std::string csf = dwtest::ReadText(ccf.config.GetCsfWorkFile());
        std::string device = Block(csf, "Device(\"Blue Notes\")", "Device(");
        std::string left = Block(device, "Left(\"Play!\")", "Right(");
        QVERIFY2(left.find("AliasDeviceButton(\"Amplifier\",\"Volume\",\"Mute\"") != std::string::npos,
                 left.c_str());
        QVERIFY(device.find("JumpDevicePanel(\"DVD Jukebox\",\"Transport\")") != std::string::npos);
        std::string home = Block(Block(csf, "Device(\"TV\")", "Device("), "Button(\"Home\"", "Button(");
        QVERIFY2(home.find("JumpDevicePanel(\"Blue Notes\"") != std::string::npos, home.c_str());
        UnregisterLibraryEditors();
    }
};

DW_UI_TEST(EditListExecuteTest)
#include "EditListExecuteTest.moc"
