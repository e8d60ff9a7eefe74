// Not a check: with DW_UI_SCREENSHOT_DIR set, opens each library editor, the selection
// tree and the Pronto String dialog at its default size on a small library and saves a
// picture of each there, for a person to look at (on a real display or Xvfb). Without
// the variable it is skipped.

#include "EditorTestSupport.h"
#include "LibraryArea.h"
#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "ui/EditArtistDlg.h"
#include "ui/EditDiscDlg.h"
#include "ui/EditListDlg.h"
#include "ui/EditListsDlg.h"
#include "ui/EditTrackDlg.h"
#include "ui/ProntoStringDlg.h"
#include "ui/SelectionTreeDlg.h"

#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdlib>

using namespace dwuitest;

namespace {

QString ShotDir()
{
    const char* dir = std::getenv("DW_UI_SCREENSHOT_DIR");
    return dir ? QString::fromLocal8Bit(dir) : QString();
}

bool Save(QWidget& widget, const QString& name)
{
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget))
        return false;
    QTest::qWait(200);
    return widget.grab().save(ShotDir() + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace

class EditorScreenshotTour : public QObject
{
    Q_OBJECT

private slots:
    void everyEditor()
    {
        if (ShotDir().isEmpty())
            QSKIP("DW_UI_SCREENSHOT_DIR is not set");
        CLibraryArea area;
        std::string why;
        if (!area.Setup(&why))
            QSKIP(why.c_str());
        CTestConfiguration ccf;
        CDisc* kind = area.Disc("Jazz", "Miles Davis", "Kind of Blue");

        CEditListsDlg lists(&area.Config(), &area.Wrapper());
        lists.SelectObject(kind);
        QVERIFY(Save(lists, QStringLiteral("edit-lists")));
        CEditListDlg list(&area.Library(), area.List("Jazz"), &ccf.tree);
        QVERIFY(Save(list, QStringLiteral("edit-list")));
        list.GetTabs()->setCurrentIndex(2);
        QVERIFY(Save(list, QStringLiteral("edit-list-vol")));
        CEditArtistDlg artist(area.List("Jazz"), area.Artist("Jazz", "Miles Davis"));
        QVERIFY(Save(artist, QStringLiteral("edit-artist")));
        CEditDiscDlg disc(&area.Library(), &GetPlayers(area.Config()), area.List("Jazz"), kind->GetArtist(),
                          kind, nullptr);
        QVERIFY(Save(disc, QStringLiteral("edit-disc")));
        CEditTrackDlg track(kind, kind->GetTracks().GetFirst());
        QVERIFY(Save(track, QStringLiteral("edit-track")));
        CSelectionTreeDlg tree(ESelectKind::Button, &ccf.tree);
        tree.GetTree()->expandAll();
        QVERIFY(Save(tree, QStringLiteral("selection-tree")));
        CProntoStringDlg pronto(QStringLiteral("Artist Name"), nullptr);
        for (int tab = 0; tab < CProntoStringDlg::kTabCount; ++tab) {
            pronto.GetTabs()->setCurrentIndex(tab);
            QVERIFY(Save(pronto, QStringLiteral("pronto-string-%1").arg(tab + 1)));
        }
    }
};

DW_UI_TEST(EditorScreenshotTour)
#include "EditorScreenshotTour.moc"
