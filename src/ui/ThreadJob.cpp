#include "ui/ThreadJob.h"

#include "ui/ProgressDlg.h"
#include "ui/TidemarkDialog.h"

#include <QMetaObject>
#include <QPointer>

#include <system_error>

CThreadJob::~CThreadJob()
{
    Wait();
}

bool CThreadJob::Start()
{
    Wait();
    m_bRunning = true;
    try {
        m_thread = std::thread(&CThreadJob::ThreadProc, this);
    } catch (const std::system_error&) {
        m_bRunning = false;
        return false;
    }
    return true;
}

void CThreadJob::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
    m_bRunning = false;
}

bool CThreadJob::SetOwner(CTidemarkDialog* owner)
{
    if (m_bRunning)
        return false;
    m_pOwner = owner;
    return true;
}

void CThreadJob::ThreadProc()
{
    Run();
    if (CTidemarkDialog* owner = m_pOwner) {
        // The owner lives on the user-interface thread and owns this job, so it outlives
        // the call; the pointer guard covers an owner torn down by the toolkit itself.
        QPointer<CTidemarkDialog> guard(owner);
        QMetaObject::invokeMethod(
            owner,
            [guard]() {
                if (guard)
                    guard->HandleThreadTerminating();
            },
            Qt::QueuedConnection);
    }
}

CProgressSink* CProgressJob::GetProgress() const
{
    return m_pProgressDlg;
}

void CProgressJob::SetTitle(const char* format, ...)
{
    if (!m_pProgressDlg || !format)
        return;
    va_list args;
    va_start(args, format);
    ProgressTitleV(m_pProgressDlg, format, args);
    va_end(args);
}

void CProgressJob::SetHeading(const char* format, ...)
{
    if (!m_pProgressDlg || !format)
        return;
    va_list args;
    va_start(args, format);
    ProgressHeadingV(m_pProgressDlg, format, args);
    va_end(args);
}

void CProgressJob::SetBody(const char* format, ...)
{
    if (!m_pProgressDlg || !format)
        return;
    va_list args;
    va_start(args, format);
    ProgressBodyV(m_pProgressDlg, format, args);
    va_end(args);
}

void CProgressJob::SetSucceeded(bool succeeded)
{
    ProgressSucceeded(m_pProgressDlg, succeeded);
}
