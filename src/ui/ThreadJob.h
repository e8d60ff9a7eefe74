#pragma once

// Jobs: work that runs once on a worker thread while a dialog waits for it.
//
// A dialog runs a job like this (the pattern every dialog uses):
//
//     auto* job = new CFunctionJob(kJobSaveLists, [this](CProgressJob& job) {
//         job.SetTitle("Saving changes...");
//         job.SetHeading("Saving Library");
//         bool ok = m_pConfig->SaveLibrary(&m_errors);   // the dialog's own record
//         m_bSucceeded = ok;                             // read back in OnChildClose
//         job.SetSucceeded(ok);
//     });
//     OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this),
//               kProgressDialog, false, true);
//
// and learns the outcome in OnChildClose(kProgressDialog, jobId) once the progress
// dialog has closed: by then the worker thread has ended, so the job's results can be
// read without a lock. The worker never touches a widget: it reports only through the
// job's SetTitle/SetHeading/SetBody (or the CProgressSink handed to core operations),
// which copy the texts and post them to the progress dialog.

#include "core/Progress.h"

#include <atomic>
#include <functional>
#include <thread>

class CTidemarkDialog;
class CProgressDlg;

class CThreadJob
{
public:
    CThreadJob() = default;
    CThreadJob(const CThreadJob&) = delete;
    CThreadJob& operator=(const CThreadJob&) = delete;
    // Waits for the thread, so a job is never freed while it runs.
    virtual ~CThreadJob();

    // Waits for a previous run, then starts Run on a new thread. False when the thread
    // cannot be created.
    bool Start();
    // Waits without limit for the thread, if any, and forgets it.
    void Wait();
    // The dialog told when Run returns (through a queued call on its own thread). Only
    // while no thread runs; false otherwise.
    bool SetOwner(CTidemarkDialog* owner);
    CTidemarkDialog* GetOwner() const { return m_pOwner; }
    bool IsRunning() const { return m_bRunning.load(); }

    virtual int GetJobId() const = 0;

protected:
    // The work itself, on the worker thread.
    virtual void Run() = 0;

private:
    void ThreadProc();

    std::thread m_thread;
    std::atomic<bool> m_bRunning{false};
    CTidemarkDialog* m_pOwner = nullptr;
};

// A job that reports to a progress dialog (or to nothing: every report is then dropped).
class CProgressJob : public CThreadJob
{
public:
    // The sink the job reports to; core operations that take a CProgressSink* get this.
    CProgressSink* GetProgress() const;
    void SetProgressDialog(CProgressDlg* dialog) { m_pProgressDlg = dialog; }

    // printf-style, cut to 1023 characters; a null format does nothing.
    void SetTitle(const char* format, ...) DW_PRINTF_FORMAT(2, 3);
    void SetHeading(const char* format, ...) DW_PRINTF_FORMAT(2, 3);
    void SetBody(const char* format, ...) DW_PRINTF_FORMAT(2, 3);
    // The result a modal progress dialog closes with.
    void SetSucceeded(bool succeeded);

private:
    CProgressDlg* m_pProgressDlg = nullptr;
};

// A job whose work is a function, for the many jobs that only call one core operation.
class CFunctionJob : public CProgressJob
{
public:
    using Work = std::function<void(CProgressJob& job)>;
    CFunctionJob(int jobId, Work work) : m_nJobId(jobId), m_work(std::move(work)) {}
    int GetJobId() const override { return m_nJobId; }

protected:
    void Run() override
    {
        if (m_work)
            m_work(*this);
    }

private:
    int m_nJobId;
    Work m_work;
};
