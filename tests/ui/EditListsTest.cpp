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

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

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

// The list, artist or disc at "list/artist/disc" (or a shorter path); null when gone.
const void* Find(CLibraryArea& area, const QString& path)
{
    const QStringList names = path.split(QLatin1Char('/'));
    CLibList* list = area.List(names[0].toLatin1().constData());
    if (!list || names.size() == 1)
        return list;
    CArtist* artist = list->GetArtists().FindByName(names[1].toLatin1().constData());
    if (!artist || names.size() == 2)
        return artist;
    return artist->GetDiscs().FindByName(names[2].toLatin1().constData());
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
    // player's highest with two tracks, and one more disc with the editor kept open.
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

        QTest::keyClicks(discEditor->GetNameEdit(), "Moanin");
        for (const char* title : {"Moanin", "Are You Real"}) {
            QTest::mouseClick(FindButton(discEditor, "Add..."), Qt::LeftButton);
            auto* trackEditor = qobject_cast<CEditTrackDlg*>(discEditor->GetOpenChild());
            QVERIFY(trackEditor);
            QTest::keyClicks(trackEditor->GetTitleEdit(), title);
            trackEditor->accept();
            QTRY_VERIFY(!discEditor->GetOpenChild());
        }
        // "Add and keep open": the editor stays, emptied, for the next disc, numbered on.
        discEditor->accept();
        QTRY_COMPARE(discEditor->GetNameEdit()->text(), QString());
        QCOMPARE(discEditor->GetTrackList()->topLevelItemCount(), 0);
        QTest::keyClicks(discEditor->GetNameEdit(), "Mosaic");
        discEditor->accept();
        QCOMPARE(discEditor->GetNumberBox()->value(), 23);
        discEditor->reject();
        QTRY_VERIFY(!open.lists->GetOpenChild());

        CArtist* blakey = bop->GetArtists().FindByName("Art Blakey");
        QVERIFY(blakey);
        CDisc* moanin = blakey->GetDiscs().FindByName("Moanin");
        QVERIFY(moanin);
        // The first player's, numbered after its highest disc (A Night at the Opera, 20).
        QCOMPARE(moanin->GetPlayer(), area.cd);
        QCOMPARE(moanin->GetNumber(), 21);
        QCOMPARE(moanin->GetTracks().GetCount(), 2u);
        QCOMPARE(QString::fromLatin1(moanin->GetTracks().GetAt(1)->GetTitle().GetPlain()),
                 QStringLiteral("Are You Real"));
        CDisc* mosaic = blakey->GetDiscs().FindByName("Mosaic");
        QVERIFY(mosaic);
        QCOMPARE(mosaic->GetNumber(), 22);
        QCOMPARE(open.lists->GetTree()->currentItem(), open.lists->ItemFor(mosaic)); // the last added
        QVERIFY(area.Library().IsModified());
    }

    void refusedNamesKeepTheEditorOpen_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("add, another case") << true << "miles DAVIS"
                                           << "Cannot add artist";
        QTest::newRow("update, another case") << false << "MILES DAVIS"
                                              << "Cannot update artist";
        QTest::newRow("update, empty name") << false << ""
                                            << "Cannot update artist";
    }
    void refusedNamesKeepTheEditorOpen()
    {
        QFETCH(bool, adding);
        QFETCH(QString, name);
        QFETCH(QString, caption);
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
        // The text is the collection's own (its tests check it); it names the clash.
        QVERIFY(prompts.asked[0].text.contains(name));
        QVERIFY(editor->isVisible());
        QCOMPARE(area.List("Jazz")->GetArtists().GetCount(), 2u);
        QVERIFY(area.Artist("Jazz", "Coltrane"));
    }

    void deleteAsksTheNodesQuestion_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("yes");
        QTest::newRow("artist, yes") << "Jazz/Coltrane"
                                     << "Delete artist \"Coltrane\" containing 1 disc?" << true;
        QTest::newRow("list, yes") << "Jazz"
                                   << "Delete list \"Jazz\" containing 2 artists and 3 discs?" << true;
        QTest::newRow("list, no") << "Rock"
                                  << "Delete list \"Rock\" containing 1 artist and 1 disc?" << false;
    }
    void deleteAsksTheNodesQuestion()
    {
        QFETCH(QString, path);
        QFETCH(QString, question);
        QFETCH(bool, yes);
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        prompts.answers.push_back(yes ? EPromptAnswer::Yes : EPromptAnswer::No);
        COpenLists open(area);
        const void* object = Find(area, path);
        QVERIFY(object && open.lists->SelectObject(object));
        QTest::mouseClick(open.Button("delete"), Qt::LeftButton);
        const bool kept = Find(area, path) != nullptr;
        QCOMPARE(prompts.asked.size(), size_t(1));
        QCOMPARE(prompts.asked[0].text, question);
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Are you sure?"));
        QCOMPARE(prompts.asked[0].buttons, EPromptButtons::YesNo);
        QCOMPARE(kept, !yes);
        QCOMPARE(open.lists->ItemFor(object) != nullptr, kept);
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

        QTest::mouseClick(open.KeepSorted(), Qt::LeftButton);
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
        QCOMPARE(area.Artist("Jazz", "Coltrane")->GetDiscs().GetCount(), 0u);
        QCOMPARE(open.lists->ItemFor(giant)->parent(), open.lists->ItemFor(miles));
        QCOMPARE(open.lists->ItemFor(area.Artist("Jazz", "Coltrane"))->childCount(), 0);
    }

    // After deleting a disc, or without a change: Cancel asks first and reloads the
    // library file; OK saves it in one step, or stays open with the error. A disc
    // without tracks is deleted without a question: Cancel's is the only one asked.
    void okAndCancel_data()
    {
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Cancel without changes: no question") << false << false << false << false << true;
        QTest::newRow("Cancel, Yes: reloads and closes") << true << false << true << false << true;
        QTest::newRow("Cancel, No: stays open") << true << false << false << false << false;
        QTest::newRow("OK: saves and closes") << true << true << false << false << true;
        QTest::newRow("OK, save fails: stays open") << true << true << false << true << false;
    }
    void okAndCancel()
    {
        QFETCH(bool, change);
        QFETCH(bool, ok);
        QFETCH(bool, yes);
        QFETCH(bool, saveFails);
        QFETCH(bool, closes);
        SETUP_AREA(area);
        CScriptedPrompts prompts;
        prompts.answers.push_back(yes ? EPromptAnswer::Yes : EPromptAnswer::No);
        COpenLists open(area);
        if (change) {
            QVERIFY(open.lists->SelectObject(area.Disc("Jazz", "Miles Davis", "Bitches Brew")));
            QTest::mouseClick(open.Button("delete"), Qt::LeftButton);
            QVERIFY(!area.Disc("Jazz", "Miles Davis", "Bitches Brew"));
        }
        const std::string file = area.Config().GetLibraryFile();
        if (saveFails) {
            // A directory where the library file belongs cannot be replaced.
            std::filesystem::remove(file);
            std::filesystem::create_directories(std::filesystem::path(file) / "in-the-way");
        }
        if (ok)
            open.lists->accept();
        else
            open.lists->reject();
        if (closes) {
            QTRY_VERIFY_WITH_TIMEOUT(open.Closed(), 20000);
            QCOMPARE(open.owner.childCloses[0].result, ok ? 1 : 2);
        }
        if (saveFails) {
            QTRY_VERIFY_WITH_TIMEOUT(!prompts.asked.empty(), 20000);
            QCOMPARE(prompts.asked[0].caption, QStringLiteral("Discweaver Error"));
            QVERIFY(!prompts.asked[0].text.isEmpty());
            QTRY_VERIFY(open.lists->IsIdle());
            QVERIFY(open.Button("delete")->isEnabled());
        } else if (ok) {
            CLibrary reread;
            CErrorRecord errors;
            CWarningList warnings;
            QVERIFY(
                LoadLibraryFile(&errors, &warnings, reread, GetPlayers(area.Config()), file.c_str(), false));
            QCOMPARE(CountDiscs(reread, "Bitches Brew"), 0);
            QCOMPARE(CountDiscs(reread, "Kind of Blue"), 1);
            // Replaced in one step: nothing else is left beside the files.
            QCOMPARE(dwtest::ListDirectory(std::filesystem::path(file).parent_path()),
                     (std::vector<std::string>{"DW_Devices.xml", "DW_Library.xml"}));
        } else if (!change) {
            QVERIFY(prompts.asked.empty());
        } else {
            QCOMPARE(prompts.asked.size(), size_t(1));
            QCOMPARE(prompts.asked[0].text, QStringLiteral("Discard your changes?"));
            QCOMPARE(prompts.asked[0].caption, QStringLiteral("Are you sure?"));
            // Read again from the file, or still changed.
            QCOMPARE(area.Disc("Jazz", "Miles Davis", "Bitches Brew") != nullptr, yes);
        }
        QCOMPARE(open.Closed(), closes);
        QCOMPARE(area.Library().IsModified(), !closes);
    }
};

DW_UI_TEST(EditListsTest)
#include "EditListsTest.moc"
