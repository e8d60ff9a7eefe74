// Not a check: opens every dialog of the program at its default size and saves a picture
// of each into DW_UI_SCREENSHOT_DIR, for a person to look at. Run it on a real display,
// Xvfb or the offscreen platform, after building it (needs -DDW_BUILD_UI=ON):
//
//   cmake --build build --target dw_ui_tour
//   mkdir -p /tmp/shots && DW_UI_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=offscreen build/bin/dw_ui_tour

#include "DemoArea.h"
#include "EditorTestSupport.h"
#include "LibraryArea.h"

#include "common/TempDir.h"

#include "ui/AboutDlg.h"
#include "ui/CcfDllDlg.h"
#include "ui/DialogIds.h"
#include "ui/EditArtistDlg.h"
#include "ui/EditDiscDlg.h"
#include "ui/EditListDlg.h"
#include "ui/EditListsDlg.h"
#include "ui/EditTrackDlg.h"
#include "ui/ListingDlg.h"
#include "ui/MainWindow.h"
#include "ui/PlayerResolutionDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/ProntoStringDlg.h"
#include "ui/SelectionTreeDlg.h"
#include "ui/ThreadJob.h"

#include "model/Artist.h"
#include "model/Disc.h"
#include "model/LibList.h"
#include "model/Library.h"

#include <QApplication>
#include <QCheckBox>
#include <QPixmap>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <mutex>

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

class UiTour : public QObject
{
    Q_OBJECT

private slots:
    void everyDialog()
    {
        CDemoArea demo;
        std::string why;
        QVERIFY2(demo.Load(&why), why.c_str());
        demo.Config().SetInputCcf(DW_DEMO_CCF);
        demo.Config().SetOutputCcf(demo.File("output.ccf").c_str());
        CMainWindow window(&demo.Config(), &demo.Wrapper());
        window.GetPanelCapCheck()->setChecked(true);
        QVERIFY(Save(window, QStringLiteral("main")));

        for (int mode : {CProgressDlg::kWithBar, CProgressDlg::kTextsOnly}) {
            std::mutex mutex;
            std::condition_variable cv;
            bool release = false;
            auto* job = new CFunctionJob(99, [&](CProgressJob& j) { // an id the main window ignores
                j.SetTitle("Executing...");
                j.SetHeading("Doing layout");
                j.SetBody("Laying out list \"Rock & Pop\" (312 discs)");
                ProgressBar(j.GetProgress(), 40, 100);
                std::unique_lock<std::mutex> lock(mutex);
                cv.wait(lock, [&] { return release; });
            });
            auto releaseOnExit = qScopeGuard([&] {
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    release = true;
                }
                cv.notify_all();
            });
            auto* progress = new CProgressDlg(mode, true, job, &window);
            QVERIFY(window.OpenChild(progress, kProgressDialog, false, true));
            QTRY_COMPARE(progress->GetHeadingText(), QStringLiteral("Doing layout"));
            QVERIFY(Save(*progress, QStringLiteral("progress-%1").arg(mode)));
            releaseOnExit.dismiss();
            {
                std::lock_guard<std::mutex> lock(mutex);
                release = true;
            }
            cv.notify_all();
            QTRY_VERIFY(window.IsIdle());
        }

        CListingDlg listing(
            QStringLiteral("Discweaver Warning"),
            QStringLiteral("The following lists were not output because they were empty:"),
            {"Classical", "Soundtracks", "A rather long list name that runs on and on for a while"}, nullptr);
        QVERIFY(Save(listing, QStringLiteral("listing")));

        std::vector<CDisc*> unlinked;
        for (CLibList* list : demo.Config().GetLibrary()->GetLists())
            for (CArtist* artist : list->GetArtists())
                for (CDisc* disc : artist->GetDiscs())
                    if (unlinked.size() < 12)
                        unlinked.push_back(disc);
        bool proceed = false;
        CPlayerResolutionDlg resolution(window.GetContext(), &unlinked, &proceed, nullptr);
        QVERIFY(Save(resolution, QStringLiteral("player-resolution")));

        CAboutDlg about(false, &demo.Config(), &demo.Wrapper(), nullptr);
        QVERIFY(Save(about, QStringLiteral("about")));
        CAboutDlg welcome(true, nullptr, nullptr, nullptr);
        QVERIFY(Save(welcome, QStringLiteral("welcome")));
        CCcfDllDlg problem(
            QStringLiteral("Cannot load /usr/lib/discweaver/libCCFDll.so: cannot open shared object "
                           "file: No such file or directory"),
            QStringLiteral("/usr/lib/discweaver"), nullptr);
        QVERIFY(Save(problem, QStringLiteral("ccfdll")));

        CLibraryArea area;
        QVERIFY2(area.Setup(&why), why.c_str());
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

int main(int argc, char** argv)
{
    if (ShotDir().isEmpty()) {
        std::cerr << "set DW_UI_SCREENSHOT_DIR to the folder that gets the pictures\n";
        return 2;
    }
    // The tour's own settings, never the user's: the dialogs show their default sizes.
    dwtest::CTempDir settings("dw-ui-tour-settings");
    setenv("DISCWEAVER_SETTINGS", (settings / "settings").c_str(), 1);
    setenv("DISCWEAVER_MACHINE_SETTINGS", (settings / "machine-settings").c_str(), 1);
    QApplication app(argc, argv);
    UiTour tour;
    return QTest::qExec(&tour, argc, argv);
}

#include "UiTour.moc"
