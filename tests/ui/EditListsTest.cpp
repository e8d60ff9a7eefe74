// Edit Lists and the editors it opens, driven as a user drives them: the tree and its
// buttons, adding, deleting, moving, dragging, and OK and Cancel with their jobs.

#include "EditorTestSupport.h"
#include "LibraryArea.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "model/ModelFiles.h"
#include "ui/DialogIds.h"
#include "ui/EditArtistDlg.h"
#include "ui/EditDiscDlg.h"
#include "ui/EditListDlg.h"
#include "ui/EditListsDlg.h"
#include "ui/EditTrackDlg.h"
#include "ui/EditorParts.h"
#include "ui/ListingDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

using namespace dwuitest;

namespace {

// Edit Lists opened as the child of a plain dialog, as the main window opens it.
struct COpenLists
{
    CRecordingDialog owner;
    CEditListsDlg* lists = nullptr;

    explicit COpenLists(CLibraryArea& area)
    {
        owner.resize(200, 100);
        owner.show();
        lists = new CEditListsDlg(&area.Config(), &area.Wrapper(), &owner);
        owner.OpenChild(lists, kEditListsDialog, false, true);
    }
    QPushButton* Button(const char* name) const
    {
        return lists->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QCheckBox* KeepSorted() const { return lists->findChild<QCheckBox*>(QStringLiteral("keepSorted")); }
    template <class T> T* Child() const { return qobject_cast<T*>(lists->GetOpenChild()); }
    bool Closed() const { return !owner.childCloses.empty(); }
    QStringList ChildTexts(const void* object)
    {
        QStringList texts;
        QTreeWidgetItem* item = lists->ItemFor(object);
        item->setExpanded(true);
        for (int i = 0; i < item->childCount(); ++i)
            texts << item->child(i)->text(0);
        return texts;
    }
};

#define SETUP_AREA(area)                                                                                     \
    CLibraryArea area;                                                                                       \
    {                                                                                                        \
        std::string why;                                                                                     \
        QVERIFY2(area.Setup(&why), why.c_str());                                                             \
    }

// The highest number of player over the whole library, counted here rather than asked.
int HighestNumber(CLibrary& library, const CPlayer* player)
{
    int highest = 0;
    for (CLibList* list : library.GetLists())
        for (CArtist* artist : list->GetArtists())
            for (CDisc* disc : artist->GetDiscs())
                if (disc->GetPlayer() == player)
                    highest = std::max(highest, disc->GetNumber());
    return highest;
}

void Drop(CEditListsDlg* lists, QTreeWidgetItem* dragged, QTreeWidgetItem* target)
{
    CLibraryTree* tree = lists->GetTree();
    std::unique_ptr<QMimeData> data(tree->MakeDragData(dragged));
    QVERIFY(data);
    tree->scrollToItem(target);
    QPoint pos = tree->visualItemRect(target).center();
    // The toolkit delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(pos, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    QDragMoveEvent move(pos, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    QDropEvent drop(pos, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &drop);
}

} // namespace

class EditListsTest : public QObject
{
    Q_OBJECT

private slots:
    // A list, an artist (through the disc editor's "New..."), a disc numbered after the
    // player's highest, and two tracks.
    void addListArtistDiscAndTracks()
    {
        SETUP_AREA(area);
        COpenLists open(area);
        QVERIFY(open.lists->SelectObject(&area.Library()));
        QTest::mouseClick(open.Button("add"), Qt::LeftButton);
        auto* listEditor = open.Child<CEditListDlg>();
        QVERIFY(listEditor);
        QCOMPARE(listEditor->windowTitle(), QStringLiteral("Edit List -- <New>"));
        QTest::keyClicks(listEditor->GetNameEdit(), "Bop");
        listEditor->accept();
        QTRY_VERIFY(!open.lists->GetOpenChild());
        CLibList* bop = area.List("Bop");
        QVERIFY(bop);
        QCOMPARE(open.lists->GetTree()->currentItem(), open.lists->ItemFor(bop));
        QCOMPARE(open.Button("edit")->text(), QStringLiteral("Edit List"));
        QVERIFY(open.Button("edit")->isEnabled()); // the buttons follow the new selection

        QTest::mouseClick(open.Button("add"), Qt::LeftButton); // "Add Disc"
        auto* discEditor = open.Child<CEditDiscDlg>();
        QVERIFY(discEditor);
        QCOMPARE(discEditor->windowTitle(), QStringLiteral("Edit Disc / Item -- <New>"));
        QTest::mouseClick(FindButton(discEditor, "New..."), Qt::LeftButton);
        auto* artistEditor = qobject_cast<CEditArtistDlg*>(discEditor->GetOpenChild());
        QVERIFY(artistEditor);
        QCOMPARE(artistEditor->windowTitle(), QStringLiteral("Edit Artist / Category -- <New>"));
        QTest::keyClicks(artistEditor->GetNameEdit(), "Art Blakey");
        artistEditor->accept();
        QTRY_VERIFY(!discEditor->GetOpenChild());
        QCOMPARE(discEditor->GetArtistBox()->currentText(), QStringLiteral("Art Blakey"));

        QTest::keyClicks(discEditor->GetNameEdit(), "Moanin");
        for (const char* title : {"Moanin", "Are You Real"}) {
            QTest::mouseClick(FindButton(discEditor, "Add..."), Qt::LeftButton);
            auto* trackEditor = qobject_cast<CEditTrackDlg*>(discEditor->GetOpenChild());
            QVERIFY(trackEditor);
            QTest::keyClicks(trackEditor->GetTitleEdit(), title);
            trackEditor->accept();
            QTRY_VERIFY(!discEditor->GetOpenChild());
        }
        QCOMPARE(discEditor->GetTrackList()->topLevelItemCount(), 2);
        CPlayer* player = GetPlayers(area.Config()).GetFirst();
        int expected = HighestNumber(area.Library(), player) + 1;
        discEditor->accept();
        QTRY_COMPARE(discEditor->GetNameEdit()->text(), QString()); // stays open for the next
        discEditor->reject();
        QTRY_VERIFY(!open.lists->GetOpenChild());

        CArtist* blakey = bop->GetArtists().FindByName("Art Blakey");
        QVERIFY(blakey);
        CDisc* moanin = blakey->GetDiscs().FindByName("Moanin");
        QVERIFY(moanin);
        QCOMPARE(moanin->GetPlayer(), player);
        QCOMPARE(moanin->GetNumber(), expected);
        QCOMPARE(moanin->GetTracks().GetCount(), 2u);
        QCOMPARE(QString::fromLatin1(moanin->GetTracks().GetAt(1)->GetTitle().GetPlain()),
                 QStringLiteral("Are You Real"));
        QCOMPARE(open.lists->GetTree()->currentItem(), open.lists->ItemFor(moanin));
        QVERIFY(area.Library().IsModified());
    }

    void addAndKeepOpenNumbersTheNextDisc()
    {
        SETUP_AREA(area);
        COpenLists open(area);
        QVERIFY(open.lists->SelectObject(area.Disc("Jazz", "Miles Davis", "Kind of Blue")));
        QTest::mouseClick(open.Button("add"), Qt::LeftButton);
        auto* editor = open.Child<CEditDiscDlg>();
        QVERIFY(editor);
        int first = HighestNumber(area.Library(), area.cd) + 1; // the player of the selected disc
        QCOMPARE(editor->GetNumberBox()->value(), first);
        for (const char* name : {"Sketches", "Milestones"}) {
            QTest::keyClicks(editor->GetNameEdit(), name);
            editor->accept();
            QVERIFY(open.lists->GetOpenChild() == editor);
        }
        QCOMPARE(editor->GetNumberBox()->value(), first + 2);
        QCOMPARE(editor->GetTrackList()->topLevelItemCount(), 0);
        editor->reject();
        QTRY_VERIFY(!open.lists->GetOpenChild());
        CArtist* miles = area.Artist("Jazz", "Miles Davis");
        QCOMPARE(miles->GetDiscs().FindByName("Sketches")->GetNumber(), first);
        QCOMPARE(miles->GetDiscs().FindByName("Milestones")->GetNumber(), first + 1);
        QCOMPARE(miles->GetDiscs().FindByName("Milestones")->GetPlayer(), area.cd);
    }

    void refusedNamesKeepTheEditorOpen_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        QTest::newRow("add, another case") << true << "miles DAVIS"
                                           << "Cannot add artist"
                                           << "Another artist is already named \"miles DAVIS\"";
        QTest::newRow("update, another case") << false << "MILES DAVIS"
                                              << "Cannot update artist"
                                              << "Another artist is already named \"MILES DAVIS\"";
        QTest::newRow("update, empty name") << false << ""
                                            << "Cannot update artist"
                                            << "";
    }
    void refusedNamesKeepTheEditorOpen()
    {
        QFETCH(bool, adding);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        COpenLists open(area);
        CEditArtistDlg* editor = nullptr;
        if (adding) {
            QVERIFY(open.lists->SelectObject(area.List("Jazz")));
            QTest::mouseClick(open.Button("add"), Qt::LeftButton);
            auto* discEditor = open.Child<CEditDiscDlg>();
            QVERIFY(discEditor);
            QTest::mouseClick(FindButton(discEditor, "New..."), Qt::LeftButton);
            editor = qobject_cast<CEditArtistDlg*>(discEditor->GetOpenChild());
        } else {
            QVERIFY(open.lists->SelectObject(area.Artist("Jazz", "Coltrane")));
            QTest::mouseClick(open.Button("edit"), Qt::LeftButton);
            editor = open.Child<CEditArtistDlg>();
            QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Artist / Category -- (Coltrane)"));
        }
        QVERIFY(editor);
        editor->GetNameEdit()->setText(name);
        editor->accept();
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].caption, caption);
        if (!message.isEmpty())
            QCOMPARE(prompts.asked[0].text, message);
        QVERIFY(editor->isVisible());
        QCOMPARE(area.List("Jazz")->GetArtists().GetCount(), 2u);
        QVERIFY(area.Artist("Jazz", "Coltrane"));
    }

    void deleteAsksTheNodesQuestion_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("yes");
        QTest::newRow("disc without tracks: no question") << "Bitches Brew"
                                                          << "" << false;
        QTest::newRow("artist, yes") << "Coltrane"
                                     << "Delete artist \"Coltrane\" containing 1 disc?" << true;
        QTest::newRow("artist, no") << "Coltrane"
                                    << "Delete artist \"Coltrane\" containing 1 disc?" << false;
        QTest::newRow("list, yes") << "Jazz"
                                   << "Delete list \"Jazz\" containing 2 artists and 3 discs?" << true;
        QTest::newRow("list, no") << "Rock"
                                  << "Delete list \"Rock\" containing 1 artist and 1 disc?" << false;
    }
    void deleteAsksTheNodesQuestion()
    {
        QFETCH(QString, node);
        QFETCH(QString, question);
        QFETCH(bool, yes);
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        prompts.answers.push_back(yes ? EPromptAnswer::Yes : EPromptAnswer::No);
        COpenLists open(area);
        QByteArray name = node.toLatin1();
        auto exists = [&]() -> bool {
            if (area.List(name.constData()))
                return true;
            for (CLibList* list : area.Library().GetLists())
                for (CArtist* artist : list->GetArtists())
                    if (artist->GetName().SameName(CNameText::FromPlain(name.constData())) ||
                        artist->GetDiscs().FindByName(name.constData()))
                        return true;
            return false;
        };
        const void* object = area.List(name.constData());
        if (!object)
            object = area.List("Jazz")->GetArtists().FindByName(name.constData());
        if (!object)
            object = area.Disc("Jazz", "Miles Davis", name.constData());
        QVERIFY(object && open.lists->SelectObject(object));
        QTest::mouseClick(open.Button("delete"), Qt::LeftButton);
        if (question.isEmpty()) {
            QVERIFY(prompts.asked.empty());
            QVERIFY(!exists());
        } else {
            QCOMPARE(prompts.asked.size(), size_t(1));
            QCOMPARE(prompts.asked[0].text, question);
            QCOMPARE(prompts.asked[0].caption, QStringLiteral("Are you sure?"));
            QCOMPARE(prompts.asked[0].buttons, EPromptButtons::YesNo);
            QCOMPARE(exists(), !yes);
        }
        QCOMPARE(open.lists->ItemFor(object) != nullptr, exists());
        QVERIFY(open.lists->GetTree()->currentItem());
    }

    void moveUpIsRefusedWhileKeptSorted()
    {
        SETUP_AREA(area);
        COpenLists open(area);
        CArtist* miles = area.Artist("Jazz", "Miles Davis");
        QVERIFY(open.lists->SelectObject(miles));
        QVERIFY(open.KeepSorted()->isChecked());
        QVERIFY(!open.Button("moveUp")->isEnabled());
        QTest::mouseClick(open.Button("moveUp"), Qt::LeftButton);
        QCOMPARE(open.ChildTexts(area.List("Jazz")), (QStringList{"Coltrane", "Miles Davis"}));

        QTest::mouseClick(open.KeepSorted(), Qt::LeftButton);
        QVERIFY(!area.List("Jazz")->GetArtists().IsKeepSorted());
        QVERIFY(open.Button("moveUp")->isEnabled());
        QTest::mouseClick(open.Button("moveUp"), Qt::LeftButton);
        QCOMPARE(open.ChildTexts(area.List("Jazz")), (QStringList{"Miles Davis", "Coltrane"}));
        QCOMPARE(area.List("Jazz")->GetArtists().GetFirst(), miles);
        QCOMPARE(open.lists->GetTree()->currentItem(), open.lists->ItemFor(miles));

        QTest::mouseClick(open.Button("sort"), Qt::LeftButton); // "Sort Artists", once
        QCOMPARE(open.ChildTexts(area.List("Jazz")), (QStringList{"Coltrane", "Miles Davis"}));
        QVERIFY(!area.List("Jazz")->GetArtists().IsKeepSorted());
    }

    void discsAreDraggedBetweenArtistsOfOneListOnly()
    {
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        COpenLists open(area);
        open.lists->resize(600, 600);
        CDisc* giant = area.Disc("Jazz", "Coltrane", "Giant Steps");
        CArtist* miles = area.Artist("Jazz", "Miles Davis");
        CArtist* queen = area.Artist("Rock", "Queen");
        QVERIFY(open.lists->SelectObject(queen));
        QVERIFY(open.lists->SelectObject(miles));
        QVERIFY(open.lists->SelectObject(giant));

        Drop(open.lists, open.lists->ItemFor(giant), open.lists->ItemFor(queen));
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Can only move discs between sibling artists"));
        QCOMPARE(giant->GetArtist(), area.Artist("Jazz", "Coltrane"));

        Drop(open.lists, open.lists->ItemFor(giant), open.lists->ItemFor(miles));
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(giant->GetArtist(), miles);
        QVERIFY(miles->GetDiscs().Contains(giant));
        QCOMPARE(area.Artist("Jazz", "Coltrane")->GetDiscs().GetCount(), 0u);
        QCOMPARE(open.lists->ItemFor(giant)->parent(), open.lists->ItemFor(miles));
        QCOMPARE(open.lists->ItemFor(area.Artist("Jazz", "Coltrane"))->childCount(), 0);
    }

    void cancelAsksOnlyAfterChanges_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("yes");
        QTest::newRow("no changes: closes without a question") << false << false;
        QTest::newRow("changes, yes: reloads and closes") << true << true;
        QTest::newRow("changes, no: stays open") << true << false;
    }
    void cancelAsksOnlyAfterChanges()
    {
        QFETCH(bool, change);
        QFETCH(bool, yes);
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        prompts.answers.push_back(yes ? EPromptAnswer::Yes : EPromptAnswer::No);
        COpenLists open(area);
        if (change) {
            QVERIFY(open.lists->SelectObject(area.Disc("Jazz", "Miles Davis", "Bitches Brew")));
            QTest::mouseClick(open.Button("delete"), Qt::LeftButton);
            QVERIFY(!area.Disc("Jazz", "Miles Davis", "Bitches Brew"));
        }
        open.lists->reject();
        if (!change) {
            QVERIFY(prompts.asked.empty());
            QTRY_VERIFY(open.Closed());
            return;
        }
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Discard your changes?"));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Are you sure?"));
        if (!yes) {
            QVERIFY(!open.Closed());
            QVERIFY(area.Library().IsModified());
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(open.Closed(), 20000);
        QCOMPARE(open.owner.childCloses[0].templateId, int(kEditListsDialog));
        QVERIFY(area.Disc("Jazz", "Miles Davis", "Bitches Brew")); // read again from the file
        QVERIFY(!area.Library().IsModified());
    }

    void okSavesTheLibraryFile()
    {
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        COpenLists open(area);
        QVERIFY(open.lists->SelectObject(area.List("Rock")));
        QTest::mouseClick(open.Button("delete"), Qt::LeftButton); // answered No: nothing
        QVERIFY(open.lists->SelectObject(area.Disc("Jazz", "Miles Davis", "Bitches Brew")));
        QTest::mouseClick(open.Button("delete"), Qt::LeftButton);
        open.lists->accept();
        QTRY_VERIFY_WITH_TIMEOUT(open.Closed(), 20000);
        QCOMPARE(open.owner.childCloses[0].result, 1);

        std::string file = area.Config().GetLibraryFile();
        CLibrary reread;
        CErrorRecord errors;
        CWarningList warnings;
        QVERIFY(LoadLibraryFile(&errors, &warnings, reread, GetPlayers(area.Config()), file.c_str(), false));
        QVERIFY(reread.GetLists().FindByName("Rock"));
        QCOMPARE(reread.GetLists()
                     .FindByName("Jazz")
                     ->GetArtists()
                     .FindByName("Miles Davis")
                     ->GetDiscs()
                     .GetCount(),
                 1u);
        // Replaced in one step: nothing else is left beside the files.
        std::vector<std::string> left;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
            left.push_back(entry.path().filename().string());
        std::sort(left.begin(), left.end());
        QCOMPARE(left, (std::vector<std::string>{"DW_Devices.xml", "DW_Library.xml"}));
    }

    void failedSaveKeepsTheEditorOpen()
    {
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        COpenLists open(area);
        QVERIFY(open.lists->SelectObject(area.Disc("Jazz", "Miles Davis", "Bitches Brew")));
        QTest::mouseClick(open.Button("delete"), Qt::LeftButton);
        // A directory where the library file belongs cannot be replaced.
        std::string file = area.Config().GetLibraryFile();
        std::filesystem::remove(file);
        std::filesystem::create_directories(std::filesystem::path(file) / "in-the-way");
        open.lists->accept();
        QTRY_VERIFY_WITH_TIMEOUT(!prompts.asked.empty(), 20000);
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Discweaver Error"));
        QVERIFY(!prompts.asked[0].text.isEmpty());
        QTRY_VERIFY(open.lists->IsIdle());
        QVERIFY(!open.Closed());
        QVERIFY(area.Library().IsModified());
        QVERIFY(open.Button("delete")->isEnabled());
    }
};

DW_UI_TEST(EditListsTest)
#include "EditListsTest.moc"
