// The dialog frame: jobs behind the progress dialog, children, the busy count, sizes.

#include "UiTestMain.h"
#include "UiTestSupport.h"

#include "core/Registry.h"
#include "ui/DialogIds.h"
#include "ui/ProgressDlg.h"
#include "ui/ThreadJob.h"

#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <condition_variable>
#include <memory>
#include <mutex>

using namespace dwuitest;

namespace {

// Holds a job's worker until the test opens it.
class CGate
{
public:
    void Open()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bOpen = true;
        m_cv.notify_all();
    }
    void WaitOpen()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_bOpen; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bOpen = false;
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
        DeleteRegistryValue(HKEY_CURRENT_USER, kWindowPosKey, "Progress.w");
        DeleteRegistryValue(HKEY_CURRENT_USER, kWindowPosKey, "Progress.h");
        DeleteRegistryValue(HKEY_CURRENT_USER, kWindowPosKey, "Probe.w");
        DeleteRegistryValue(HKEY_CURRENT_USER, kWindowPosKey, "Probe.h");
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
        QCOMPARE(owner.childCloses[0].templateId, int(kProgressDialog));
        QCOMPARE(owner.childCloses[0].result, 42);
        QVERIFY(!watcher.shown);
        QTRY_VERIFY(guard.isNull()); // deleted on close
        QVERIFY(owner.IsIdle());
    }

    void repeatedUpdatesShowOnlyTheLast()
    {
        CRecordingDialog owner;
        owner.show();
        auto gate = std::make_shared<CGate>();
        auto* job = new CFunctionJob(3, [gate](CProgressJob&) { gate->WaitOpen(); });
        auto* progress = new CProgressDlg(CProgressDlg::kWithBar, true, job, &owner);
        QVERIFY(owner.OpenChild(progress, kProgressDialog, false, true));
        QCoreApplication::processEvents();
        int appliesBefore = progress->GetApplyCount();
        for (const char* heading : {"first", "second", "third"})
            progress->Update(CProgressSink::kNoChange, CProgressSink::kNoChange, nullptr, heading, nullptr,
                             CProgressSink::kSucceededNoChange, false);
        QCoreApplication::processEvents();
        QCOMPARE(progress->GetHeadingText(), QStringLiteral("third"));
        QCOMPARE(progress->GetApplyCount(), appliesBefore + 1);
        gate->Open();
        QTRY_COMPARE(owner.childCloses.size(), size_t(1));
    }

    void longBodyIsCut()
    {
        CRecordingDialog owner;
        owner.show();
        auto gate = std::make_shared<CGate>();
        auto* job = new CFunctionJob(3, [gate](CProgressJob& j) {
            std::string longText(1500, 'b');
            j.SetBody("%s", longText.c_str());
            ProgressBar(j.GetProgress(), 5, 10);
            gate->WaitOpen();
        });
        auto* progress = new CProgressDlg(CProgressDlg::kWithBar, true, job, &owner);
        QVERIFY(owner.OpenChild(progress, kProgressDialog, false, true));
        QTRY_COMPARE(progress->GetBodyText().size(), qsizetype(1023));
        QCOMPARE(progress->GetBar()->maximum(), 10);
        QCOMPARE(progress->GetBar()->value(), 5);
        // Set straight through the sink primitive, too.
        progress->Update(CProgressSink::kNoChange, CProgressSink::kNoChange, nullptr, nullptr,
                         std::string(5000, 'c').c_str(), CProgressSink::kSucceededNoChange, false);
        QTRY_COMPARE(progress->GetBodyText(), QString(1023, QLatin1Char('c')));
        gate->Open();
        QTRY_COMPARE(owner.childCloses.size(), size_t(1));
    }

    void busyDialogIgnoresOkEscapeEnterAndClose()
    {
        CRecordingDialog owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        auto gate = std::make_shared<CGate>();
        auto* job = new CFunctionJob(5, [gate](CProgressJob&) { gate->WaitOpen(); });
        QVERIFY(owner.OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, &owner),
                                kProgressDialog, false, true));
        QVERIFY(!owner.IsIdle());
        QVERIFY(!owner.okButton->isEnabled());

        QSignalSpy finished(&owner, &QDialog::finished);
        owner.accept();
        QTest::keyClick(&owner, Qt::Key_Escape);
        QTest::keyClick(&owner, Qt::Key_Return);
        QVERIFY(!owner.close());
        QVERIFY(owner.isVisible());
        QCOMPARE(finished.count(), 0);

        gate->Open();
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
