// Edit List on its own: the mode boxes and options it shows and stores, the hard-button
// pages, the link and action lists, and refusals.

#include "EditorTestSupport.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "csf/CSFPath.h"
#include "model/Library.h"
#include "ui/DialogIds.h"
#include "ui/EditListDlg.h"
#include "ui/SelectionTreeDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

using namespace dwuitest;

namespace {

struct CListSetup
{
    CLibrary library;
    CTestConfiguration ccf;
    CRecordingDialog owner;
    CLibList* list = nullptr;

    CListSetup()
    {
        for (const char* name : {"Jazz", "Rock"}) {
            auto* l = new CLibList(&library);
            l->GetName().SetPlain(name);
            library.GetLists().Add(nullptr, l);
        }
        list = library.GetLists().FindByName("Jazz");
        owner.show();
    }
    CEditListDlg* Open(CLibList* edited)
    {
        auto* editor = new CEditListDlg(&library, edited, &ccf.tree, &owner);
        return owner.OpenChild(editor, kEditListDialog, false, true) ? editor : nullptr;
    }
};

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

// Clicks a check box on its box (a stretched check box does not react to clicks beside
// its text).
void Tick(QCheckBox* check)
{
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
}

QStringList Items(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class EditListTest : public QObject
{
    Q_OBJECT

private slots:
    // The four Show flags and the three gap flags as the boxes show them: a stored
    // combination no entry stands for shows the first entry.
    void modeBoxesShowTheStoredFlags_data()
    {
        QTest::addColumn<unsigned>("levels");
        QTest::addColumn<unsigned>("gaps"); // 1 break always, 2 space, 4 fit
        QTest::addColumn<QString>("levelsText");
        QTest::addColumn<QString>("breaksText");
        QTest::newRow("defaults") << 15u << 3u << "Letters -> Artists -> Discs -> Tracks"
                                  << "New page for every item";
        QTest::newRow("discs only, no space") << 4u << 0u << "Discs"
                                              << "No space between items";
        QTest::newRow("space and fit") << 14u << 6u << "Artists -> Discs -> Tracks"
                                       << "Space; New page if doesn't fit";
        QTest::newRow("letters and artists only: no entry")
            << 3u << 4u << "Letters -> Artists -> Discs -> Tracks"
            << "No space; New page if doesn't fit";
    }
    void modeBoxesShowTheStoredFlags()
    {
        QFETCH(unsigned, levels);
        QFETCH(unsigned, gaps);
        QFETCH(QString, levelsText);
        QFETCH(QString, breaksText);
        CListSetup setup;
        setup.list->SetShowLetters(levels & 1);
        setup.list->SetShowArtists(levels & 2);
        setup.list->SetShowDiscs(levels & 4);
        setup.list->SetShowTracks(levels & 8);
        setup.list->SetGapBreakAlways(gaps & 1);
        setup.list->SetGapSpace(gaps & 2);
        setup.list->SetGapFit(gaps & 4);
        CEditListDlg* editor = setup.Open(setup.list);
        QVERIFY(editor);
        QCOMPARE(editor->GetLevelsBox()->currentText(), levelsText);
        QCOMPARE(editor->GetBreaksBox()->currentText(), breaksText);
        QCOMPARE(editor->GetLevelsBox()->count(), 12);
        QCOMPARE(editor->GetBreaksBox()->count(), 5);
        editor->accept();
        QTRY_COMPARE(setup.owner.childCloses.size(), size_t(1));
        // What is shown is what OK stores.
        bool letters = levelsText.startsWith("Letters");
        QCOMPARE(setup.list->GetShowLetters(), letters);
        QCOMPARE(setup.list->GetShowTracks(), levelsText.endsWith("Tracks"));
        QCOMPARE(setup.list->GetGapBreakAlways(), breaksText == "New page for every item");
    }

    void optionsAndBoxesAreStoredOnOk()
    {
        CListSetup setup;
        CEditListDlg* editor = setup.Open(setup.list);
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Edit List -- (Jazz)"));
        QVERIFY(editor->GetOptionCheck(EListOption::Truncate)->isChecked());
        QCOMPARE(editor->GetOptionCheck(EListOption::HidePanels)->text(), QStringLiteral("Hide panels"));
        Tick(editor->GetOptionCheck(EListOption::HidePanels));
        Tick(editor->GetOptionCheck(EListOption::Truncate));
        editor->GetLevelsBox()->setCurrentIndex(editor->GetLevelsBox()->findText("Letters -> Tracks"));
        editor->GetBreaksBox()->setCurrentIndex(editor->GetBreaksBox()->findText("Space between items"));
        editor->accept();
        QTRY_COMPARE(setup.owner.childCloses.size(), size_t(1));
        QVERIFY(setup.list->GetHidePanels());
        QVERIFY(!setup.list->GetTruncate());
        QVERIFY(setup.list->GetShowLetters() && !setup.list->GetShowArtists() &&
                !setup.list->GetShowDiscs() && setup.list->GetShowTracks());
        QVERIFY(!setup.list->GetGapBreakAlways() && setup.list->GetGapSpace() && !setup.list->GetGapFit());
    }

    void jumpPanelIsChosenAndCleared()
    {
        CListSetup setup;
        CEditListDlg* editor = setup.Open(setup.list);
        QVERIFY(editor);
        QVERIFY(!editor->GetJumpCheck()->isChecked());
        // Ticking the box without a panel asks for one.
        Tick(editor->GetJumpCheck());
        QCOMPARE(editor->GetOpenChild()->windowTitle(), QStringLiteral("Select Jump Panel"));
        Choose(editor, {"TV", "Guide"});
        QVERIFY(editor->GetJumpCheck()->isChecked());
        QCOMPARE(editor->GetJumpPath()->text(), QStringLiteral("TV, Guide"));
        editor->accept();
        QTRY_COMPARE(setup.owner.childCloses.size(), size_t(1));
        QVERIFY(setup.list->GetJumpPanel());
        QCOMPARE(QString::fromLatin1(setup.list->GetJumpPanel()->GetDescription()),
                 QStringLiteral("TV, Guide"));

        editor = setup.Open(setup.list);
        QVERIFY(editor->GetJumpCheck()->isChecked());
        Tick(editor->GetJumpCheck());
        editor->accept();
        QTRY_COMPARE(setup.owner.childCloses.size(), size_t(2));
        QVERIFY(!setup.list->GetJumpPanel());
    }

    void hardButtonPagesFollowTheKeys()
    {
        CListSetup setup;
        CEditListDlg* editor = setup.Open(setup.list);
        QVERIFY(editor);
        QStringList tabs;
        for (int i = 0; i < editor->GetTabs()->count(); ++i)
            tabs << editor->GetTabs()->tabText(i);
        QCOMPARE(tabs, (QStringList{"Left", "Right", "Vol-", "Vol+", "Chan-", "Chan+", "Mute"}));
        QVERIFY(editor->GetLabelEdit(1)->isEnabled());
        QVERIFY(!editor->GetLabelEdit(2)->isEnabled()); // "Vol-" has no label

        // Three actions on "Mute", the same button twice; then moved.
        for (const QStringList& node : {QStringList{"TV", "Main", "Play"}, QStringList{"Amp", "Vol", "Up"},
                                        QStringList{"TV", "Main", "Play"}}) {
            QTest::mouseClick(editor->GetActionButton(6, "Add"), Qt::LeftButton);
            Choose(editor, node);
        }
        QListWidget* actions = editor->GetActionList(6);
        QCOMPARE(Items(actions), (QStringList{"TV, Main, Play", "Amp, Vol, Up", "TV, Main, Play"}));
        actions->setCurrentRow(1);
        QVERIFY(editor->GetActionButton(6, "Move Up")->isEnabled());
        QTest::mouseClick(editor->GetActionButton(6, "Move Up"), Qt::LeftButton);
        QCOMPARE(Items(actions), (QStringList{"Amp, Vol, Up", "TV, Main, Play", "TV, Main, Play"}));
        QCOMPARE(actions->currentRow(), 0);
        QVERIFY(!editor->GetActionButton(6, "Move Up")->isEnabled());
        QTest::mouseClick(editor->GetActionButton(6, "Delete"), Qt::LeftButton);
        QCOMPARE(Items(actions), (QStringList{"TV, Main, Play", "TV, Main, Play"}));

        QTest::keyClicks(editor->GetLabelEdit(1), "Next");
        editor->accept();
        QTRY_COMPARE(setup.owner.childCloses.size(), size_t(1));
        CHardButton* right = setup.list->GetHardButtons().GetAt(1);
        CHardButton* mute = setup.list->GetHardButtons().GetAt(6);
        QCOMPARE(QString::fromLatin1(right->GetLabel()->GetPlain()), QStringLiteral("Next"));
        QCOMPARE(mute->GetAliasedButtons().GetCount(), 2u);
        QVERIFY(mute->IsDefined());
        QVERIFY(!right->IsDefined());
    }

    void linkButtonsStaySortedAndRefuseDuplicates()
    {
        CListSetup setup;
        CScriptedPrompts prompts;
        CEditListDlg* editor = setup.Open(setup.list);
        QVERIFY(editor);
        for (const QStringList& node : {QStringList{"TV", "Main", "Stop"}, QStringList{"Amp", "Vol", "Up"},
                                        QStringList{"TV", "Main", "Stop"}}) {
            QTest::mouseClick(editor->GetLinkAdd(), Qt::LeftButton);
            Choose(editor, node);
        }
        QCOMPARE(Items(editor->GetLinkList()), (QStringList{"Amp, Vol, Up", "TV, Main, Stop"}));
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text,
                 QStringLiteral("Another button path is already named \"TV, Main, Stop\""));
    }

    void refusedListKeepsTheEditorOpen_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("new list named like another") << true << "rock"
                                                     << "Cannot add list";
        QTest::newRow("renamed like another") << false << "ROCK"
                                              << "Cannot update list";
        QTest::newRow("no name") << true << ""
                                 << "Cannot add list";
    }
    void refusedListKeepsTheEditorOpen()
    {
        QFETCH(bool, adding);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        CListSetup setup;
        CScriptedPrompts prompts;
        CEditListDlg* editor = setup.Open(adding ? nullptr : setup.list);
        QVERIFY(editor);
        editor->GetNameEdit()->setText(name);
        editor->accept();
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].caption, caption);
        QVERIFY(setup.owner.childCloses.empty());
        QCOMPARE(setup.library.GetLists().GetCount(), 2u);
        QVERIFY(setup.library.GetLists().FindByName("Jazz"));
    }
};

DW_UI_TEST(EditListTest)
#include "EditListTest.moc"
