#pragma once

// CProgressDlg: the small window behind which a job runs (see ui/ThreadJob.h for how a
// dialog uses it). It starts the job when it opens, stays hidden for the first 500 ms
// (so a quick job never shows a window) unless told to show at once or the job asks for
// it (ProgressShowNow), applies the job's texts on the user-interface thread, and closes
// itself with the job's success when the job's thread ends. Its result, as reported to
// the parent's OnChildClose, is the job's id.
//
// The worker reports through Update (the CProgressSink primitive): the texts are copied
// under a lock and one apply is posted; further updates before that apply only replace
// the pending values, so a flood of reports costs the user-interface thread one repaint.

#include "core/Progress.h"
#include "ui/TidemarkDialog.h"

#include <QElapsedTimer>
#include <QTimer>

#include <mutex>
#include <optional>
#include <string>

class QLabel;
class QProgressBar;
class CProgressJob;

class CProgressDlg : public CTidemarkDialog, public CProgressSink
{
    Q_OBJECT

public:
    enum ELayout { kWithBar = 1, kTextsOnly = 2 };
    static constexpr int kShowDelayMs = 500;
    // Posted updates are applied at most this often; a window repaints no faster anyway,
    // and the job's worker keeps the processor to itself in between.
    static constexpr int kApplyIntervalMs = 20;

    // Takes the job (any layout other than 2 counts as 1). parent may be null for a
    // modal run (RunModal) at start-up.
    CProgressDlg(int layoutMode, bool showImmediately, CProgressJob* job, QWidget* parent);
    ~CProgressDlg() override;

    void Update(std::uint32_t position, std::uint32_t maximum, const char* title, const char* heading,
                const char* body, int succeeded, bool showNow) override;

    int GetJobId() const { return m_nJobId; }
    int GetLayoutMode() const { return m_nLayoutMode; }
    bool IsShowTimerPending() const { return m_showTimer.isActive(); }
    // What the window shows (for tests and the look of it).
    QString GetHeadingText() const;
    QString GetBodyText() const;
    QProgressBar* GetBar() const { return m_pBar; }
    // How many posted applies ran (the folding shows in this staying small).
    int GetApplyCount() const { return m_nApplies; }

protected:
    bool OnInitDialog() override;
    void OnThreadFinished(int jobId) override;

private:
    // Takes the pending values and shows them.
    void ApplyPending();
    // The posted call: applies now, or later when the last apply was very recent.
    void OnApplyPosted();
    void ShowNow();

    int m_nLayoutMode;
    bool m_bShowImmediately;
    CProgressJob* m_pPendingJob; // until OnInitDialog hands it to StartJob
    int m_nJobId;
    QTimer m_showTimer;

    QLabel* m_pHeading = nullptr;
    QLabel* m_pBody = nullptr;
    QProgressBar* m_pBar = nullptr;
    int m_nApplies = 0;

    QElapsedTimer m_applyClock;

    // A pending text keeps its buffer from update to update, so that reporting does not
    // allocate on the worker.
    struct CPendingText
    {
        std::string text;
        bool set = false;
    };
    std::mutex m_pendingLock; // guards the fields below
    CPendingText m_pendingTitle;
    CPendingText m_pendingHeading;
    CPendingText m_pendingBody;
    std::uint32_t m_nPendingPosition = kNoChange;
    std::uint32_t m_nPendingMaximum = kNoChange;
    bool m_bPendingShowNow = false;
    bool m_bSucceeded = false;
    bool m_bApplyPosted = false;
};
