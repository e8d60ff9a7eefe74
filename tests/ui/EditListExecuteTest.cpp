// A list made in the editors from "Lists..." of the main window, given a jump panel, a
// link button and a hard button with a label and an alias through the selection tree,
// then executed: the output configuration carries them.

#include "DemoArea.h"
#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "model/DWModel.h"
#include "ui/EditArtistDlg.h"
#include "ui/EditDiscDlg.h"
#include "ui/EditListDlg.h"
#include "ui/EditListsDlg.h"
#include "ui/EditorHooks.h"
#include "ui/MainWindow.h"
#include "ui/SelectionTreeDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace dwuitest;

namespace {

constexpr int kJobTimeoutMs = 120000;

// The CSF text of a CCF file, by a codec run of its own.
std::string DecompiledText(const std::string& ccf)
{
    dwtest::CTempDir dir("dw-ui-decompile");
    CDWConfig config;
    config.SetConfigArea(dir.Path().c_str());
    config.SetInputCcf(ccf.c_str());
    CCFWrapper wrapper(&config);
    wrapper.SetDllPath(DW_BIN_DIR "/libCCFDll.so");
    CErrorRecord errors;
    if (!wrapper.Init(nullptr, &errors) || !wrapper.DecompileAndRead(nullptr, nullptr, &errors))
        return std::string();
    std::ifstream in(config.GetCsfWorkFile(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

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
        CDemoArea area;
        std::string why;
        QVERIFY2(area.Load(&why), why.c_str());
        CScriptedPrompts prompts;
        RegisterLibraryEditors();
        CMainWindow window(&area.Config(), &area.Wrapper());
        window.show();
        std::string output = area.File("out.ccf");
        window.GetInputEdit()->setText(QString::fromStdString(DW_DEMO_CCF));
        window.GetOutputEdit()->setText(QString::fromStdString(output));
        QVERIFY(window.GetListsButton()->isEnabled());
        QTest::mouseClick(window.GetListsButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<CEditListsDlg*>(window.GetOpenChild()), kJobTimeoutMs);
        auto* lists = qobject_cast<CEditListsDlg*>(window.GetOpenChild());

        QVERIFY(lists->SelectObject(&GetLibrary(area.Config())));
        QTest::mouseClick(lists->findChild<QPushButton*>("add"), Qt::LeftButton);
        auto* editor = qobject_cast<CEditListDlg*>(lists->GetOpenChild());
        QVERIFY(editor);
        QTest::keyClicks(editor->GetNameEdit(), "Blue Notes");
        QTest::mouseClick(editor->GetJumpMore(), Qt::LeftButton);
        QCOMPARE(editor->GetOpenChild()->windowTitle(), QStringLiteral("Select Jump Panel"));
        Choose(editor, {"DVD Jukebox", "Transport"});
        QVERIFY(editor->GetJumpCheck()->isChecked());
        QTest::mouseClick(editor->GetLinkAdd(), Qt::LeftButton);
        QCOMPARE(editor->GetOpenChild()->windowTitle(), QStringLiteral("Select Link Button"));
        Choose(editor, {"TV", "Main", "Home"});
        QCOMPARE(editor->GetTabs()->tabText(0), QStringLiteral("Left"));
        QTest::keyClicks(editor->GetLabelEdit(0), "Play!");
        QTest::mouseClick(editor->GetActionButton(0, "Add"), Qt::LeftButton);
        QCOMPARE(editor->GetOpenChild()->windowTitle(), QStringLiteral("Select Button"));
        Choose(editor, {"Amplifier", "Volume", "Mute"});
        editor->accept();
        QTRY_VERIFY(!lists->GetOpenChild());

        // An empty list is left out of the output: give it a disc.
        QTest::mouseClick(lists->findChild<QPushButton*>("add"), Qt::LeftButton);
        auto* disc = qobject_cast<CEditDiscDlg*>(lists->GetOpenChild());
        QVERIFY(disc);
        QTest::mouseClick(FindButton(disc, "New..."), Qt::LeftButton);
        auto* artist = qobject_cast<CEditArtistDlg*>(disc->GetOpenChild());
        QVERIFY(artist);
        QTest::keyClicks(artist->GetNameEdit(), "Art Blakey");
        artist->accept();
        QTRY_VERIFY(!disc->GetOpenChild());
        QTest::keyClicks(disc->GetNameEdit(), "Moanin");
        disc->accept();
        disc->reject();
        QTRY_VERIFY(!lists->GetOpenChild());
        lists->accept();
        QTRY_VERIFY_WITH_TIMEOUT(!window.GetOpenChild() && window.IsIdle(), kJobTimeoutMs);

        window.OnExecute();
        QTRY_VERIFY_WITH_TIMEOUT(window.IsIdle() && std::filesystem::exists(output), kJobTimeoutMs);
        std::string csf = DecompiledText(output);
        QVERIFY(!csf.empty());
        std::string device = Block(csf, "Device(\"Blue Notes\")", "Device(");
        QVERIFY2(!device.empty(), "no generated device");
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
