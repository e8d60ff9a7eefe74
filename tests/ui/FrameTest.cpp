// The dialog frame: jobs behind the progress dialog, children, the busy count, sizes.

#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "core/Registry.h"
#include "ui/DialogIds.h"
#include "ui/ProgressDlg.h"
#include "ui/ThreadJob.h"

#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <future>

using namespace dwuitest;

namespace {

// An owner running a job behind a progress dialog; the worker does its work, then holds
// until the test lets it end.
struct CHeldJob
{
    CRecordingDialog owner;
    std::promise<void> gate;
    bool gateOpen = false;
    CProgressDlg* progress = nullptr;
    bool opened = false;

    CHeldJob(int mode, bool showImmediately, CFunctionJob::Work work = {})
    {
        owner.show();
        auto* job = new CFunctionJob(3, [held = gate.get_future().share(), work](CProgressJob& j) {
            if (work)
                work(j);
            held.wait();
        });
        progress = new CProgressDlg(mode, showImmediately, job, &owner);
        opened = owner.OpenChild(progress, kProgressDialog, false, true);
    }
    ~CHeldJob() { Finish(); }
    // Lets the worker end; true once the dialog has closed.
    bool Finish()
    {
        if (!gateOpen)
            gate.set_value();
        gateOpen = true;
        return QTest::qWaitFor([this] { return owner.childCloses.size() == 1; });
    }
};

// Records whether a widget was ever shown.
class CShowWatcher : public QObject
{
public:
    bool shown = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            shown = true;
        return false;
    }
};

} // namespace

class FrameTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const char* name : {"Progress.w", "Progress.h", "Probe.w", "Probe.h"})
            DeleteRegistryValue(HKEY_CURRENT_USER, kWindowPosKey, name);
    }

    void quickJobNeverShowsTheProgressWindow()
    {
        CRecordingDialog owner;
        owner.show();
        auto* job = new CFunctionJob(42, [](CProgressJob& j) {
            j.SetHeading("Loading");
            j.SetBody("one step");
            j.SetSucceeded(true);
        });
        auto* progress = new CProgressDlg(CProgressDlg::kTextsOnly, false, job, &owner);
        CShowWatcher watcher;
        progress->installEventFilter(&watcher);
        QPointer<CProgressDlg> guard(progress);
        QVERIFY(owner.OpenChild(progress, kProgressDialog, false, true));
        QVERIFY(progress->IsShowTimerPending());
        QTRY_COMPARE(owner.childCloses.size(), size_t(1));
        QCOMPARE(owner.childCloses[0].result, 42);
        QVERIFY(!watcher.shown);
        QTRY_VERIFY(guard.isNull()); // deleted on close
        QVERIFY(owner.IsIdle());
    }

    void repeatedUpdatesShowOnlyTheLast()
    {
        CHeldJob held(CProgressDlg::kWithBar, true);
        QVERIFY(held.opened);
        QCoreApplication::processEvents();
        int appliesBefore = held.progress->GetApplyCount();
        for (const char* heading : {"first", "second", "third"})
            held.progress->Update(CProgressSink::kNoChange, CProgressSink::kNoChange, nullptr, heading,
                                  nullptr, CProgressSink::kSucceededNoChange, false);
        QCoreApplication::processEvents();
        QCOMPARE(held.progress->GetHeadingText(), QStringLiteral("third"));
        QCOMPARE(held.progress->GetApplyCount(), appliesBefore + 1);
        QVERIFY(held.Finish());
    }

    void longBodyIsCut()
    {
        CHeldJob held(CProgressDlg::kWithBar, true, [](CProgressJob& j) {
            std::string longText(1500, 'b');
            j.SetBody("%s", longText.c_str());
            ProgressBar(j.GetProgress(), 5, 10);
        });
        QVERIFY(held.opened);
        QTRY_COMPARE(held.progress->GetBodyText(), QString(1023, QLatin1Char('b')));
        QCOMPARE(held.progress->GetBar()->maximum(), 10);
        QCOMPARE(held.progress->GetBar()->value(), 5);
        QVERIFY(held.Finish());
    }

    void busyDialogIgnoresOkEscapeEnterAndClose()
    {
        CHeldJob held(CProgressDlg::kTextsOnly, false);
        CRecordingDialog& owner = held.owner;
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QVERIFY(held.opened);
        QVERIFY(!owner.IsIdle());
        QVERIFY(!owner.okButton->isEnabled());

        QSignalSpy finished(&owner, &QDialog::finished);
        owner.accept();
        QTest::keyClick(&owner, Qt::Key_Escape);
        QTest::keyClick(&owner, Qt::Key_Return);
        QVERIFY(!owner.close());
        QVERIFY(owner.isVisible());
        QCOMPARE(finished.count(), 0);

        QVERIFY(held.Finish());
        QTRY_VERIFY(owner.IsIdle());
        QVERIFY(owner.okButton->isEnabled());
        QTest::keyClick(&owner, Qt::Key_Escape);
        QVERIFY(!owner.isVisible());
        QCOMPARE(owner.result(), 2);
    }

    void placeStoredSize_data()
    {
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("fits where it is") << QPoint(500, 400) << QSize(200, 100) << QRect(400, 350, 200, 100);
        QTest::newRow("below the bottom moves up")
            << QPoint(500, 780) << QSize(200, 100) << QRect(400, 700, 200, 100);
        QTest::newRow("past the right moves left")
            << QPoint(990, 400) << QSize(200, 100) << QRect(800, 350, 200, 100);
        QTest::newRow("left of the left moves right")
            << QPoint(10, 400) << QSize(200, 100) << QRect(0, 350, 200, 100);
        QTest::newRow("above the top moves down")
            << QPoint(500, 10) << QSize(200, 100) << QRect(400, 0, 200, 100);
        QTest::newRow("larger than the area: top-left inside")
            << QPoint(500, 400) << QSize(3000, 2000) << QRect(0, 0, 3000, 2000);
    }
    void placeStoredSize()
    {
        QFETCH(QPoint, centre);
        QFETCH(QSize, size);
        QFETCH(QRect, expected);
        QCOMPARE(CTidemarkDialog::PlaceStoredSize(centre, size, QRect(0, 0, 1000, 800)), expected);
    }

    void storedSizeLargerThanTheScreenIsPlacedInsideIt()
    {
        QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        WriteRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, "Probe.w", area.width() * 3);
        WriteRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, "Probe.h", area.height() * 3);
        CRecordingDialog dialog;
        dialog.RestoreWindowSize(kWindowPosKey, "Probe");
        QVERIFY(area.contains(dialog.geometry().topLeft()));
        QCOMPARE(dialog.size(), QSize(area.width() * 3, area.height() * 3));
    }

    void missingStoredSizeKeepsTheDialogsOwnSizeAndSavesOnClose()
    {
        WriteRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, "Probe.w", 999); // height missing
        CRecordingDialog twin; // the size the dialog gives itself
        twin.adjustSize();
        QSize own = twin.size();
        CRecordingDialog dialog;
        dialog.RestoreWindowSize(kWindowPosKey, "Probe");
        QCOMPARE(dialog.size(), own);
        QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(dialog.geometry().center().x() - area.center().x()) <= 1);

        dialog.show();
        dialog.resize(own.width() + 40, own.height() + 30);
        dialog.accept();
        std::uint32_t width = 0, height = 0;
        QVERIFY(ReadRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, "Probe.w", &width));
        QVERIFY(ReadRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, "Probe.h", &height));
        QCOMPARE(QSize(int(width), int(height)), QSize(own.width() + 40, own.height() + 30));
    }
};

DW_UI_TEST(FrameTest)
#include "FrameTest.moc"
