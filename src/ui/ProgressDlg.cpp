#include "ui/ProgressDlg.h"

#include "core/Registry.h"
#include "ui/DialogIds.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Texts longer than a progress buffer are cut as the formatting helpers cut them.
template <class TPending> void StorePending(TPending& pending, const char* text)
{
    pending.text.assign(text, ::strnlen(text, kProgressTextSize - 1));
    pending.set = true;
}

template <class TPending> std::optional<std::string> TakePending(TPending& pending)
{
    if (!pending.set)
        return std::nullopt;
    pending.set = false;
    return pending.text;
}

} // namespace

CProgressDlg::CProgressDlg(int layoutMode, bool showImmediately, CProgressJob* job, QWidget* parent)
    : CTidemarkDialog(kProgressDialog, parent),
      m_nLayoutMode(layoutMode == kTextsOnly ? kTextsOnly : kWithBar), m_bShowImmediately(showImmediately),
      m_pPendingJob(job), m_nJobId(job ? job->GetJobId() : 0)
{
    DisableStatusLine();
    setWindowTitle(QStringLiteral("Discweaver Progress"));
    if (job)
        job->SetProgressDialog(this);

    auto* icon = new QLabel(Body());
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    m_pHeading = new QLabel(QStringLiteral("Heading"), Body());
    m_pBody = new QLabel(QStringLiteral("Body"), Body());
    // Long texts must not widen the window; they are cut at its edge.
    for (QLabel* label : {m_pHeading, m_pBody}) {
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        label->setTextFormat(Qt::PlainText);
    }
    QFont bold = m_pHeading->font();
    bold.setBold(true);
    m_pHeading->setFont(bold);
    m_pBar = new QProgressBar(Body());
    m_pBar->setTextVisible(false);
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_pHeading);
    texts->addWidget(m_pBody);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(top);
    layout->addWidget(m_pBar);
    m_pBar->setVisible(m_nLayoutMode == kWithBar);

    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(kShowDelayMs);
    connect(&m_showTimer, &QTimer::timeout, this, [this]() { ShowNow(); });
}

CProgressDlg::~CProgressDlg()
{
    // A job still running reports into this dialog until its thread ends.
    DeleteRunningJob();
    // Never started: the dialog still owns the job.
    delete m_pPendingJob;
}

bool CProgressDlg::OnInitDialog()
{
    m_pHeading->clear();
    m_pBody->clear();
    SetReportedResult(m_nJobId);
    // Fixed height for the layout; it can only grow sideways.
    resize(std::max(420, sizeHint().width()), sizeHint().height());
    SetMinTrackSize(360, height());
    SetMaxTrackSize(-1, height());
    RestoreWindowSize(kWindowPosKey, "Progress");
    if (!m_bShowImmediately) {
        SetStartHidden(true);
        m_showTimer.start();
    }
    CProgressJob* job = m_pPendingJob;
    m_pPendingJob = nullptr;
    if (!StartJob(job))
        Close(0);
    return true;
}

void CProgressDlg::ShowNow()
{
    m_showTimer.stop();
    SetStartHidden(false);
    show();
    raise();
}

void CProgressDlg::Update(std::uint32_t position, std::uint32_t maximum, const char* title,
                          const char* heading, const char* body, int succeeded, bool showNow)
{
    std::lock_guard<std::mutex> lock(m_pendingLock);
    if (title)
        StorePending(m_pendingTitle, title);
    if (heading)
        StorePending(m_pendingHeading, heading);
    if (body)
        StorePending(m_pendingBody, body);
    if (position != kNoChange)
        m_nPendingPosition = position;
    if (maximum != kNoChange)
        m_nPendingMaximum = maximum;
    if (succeeded != kSucceededNoChange)
        m_bSucceeded = succeeded != 0;
    if (showNow)
        m_bPendingShowNow = true;
    if (!m_bApplyPosted) {
        m_bApplyPosted = true;
        QMetaObject::invokeMethod(
            this, [this]() { ApplyPending(); }, Qt::QueuedConnection);
    }
}

void CProgressDlg::ApplyPending()
{
    std::optional<std::string> title, heading, body;
    std::uint32_t position, maximum;
    bool showNow;
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        m_bApplyPosted = false;
        title = TakePending(m_pendingTitle);
        heading = TakePending(m_pendingHeading);
        body = TakePending(m_pendingBody);
        position = m_nPendingPosition;
        maximum = m_nPendingMaximum;
        showNow = m_bPendingShowNow;
        m_nPendingPosition = kNoChange;
        m_nPendingMaximum = kNoChange;
        m_bPendingShowNow = false;
    }
    ++m_nApplies;
    m_applyClock.start();
    if (title)
        setWindowTitle(DwText(*title));
    if (heading)
        m_pHeading->setText(DwText(*heading));
    if (body)
        m_pBody->setText(DwText(*body));
    if (maximum != kNoChange)
        m_pBar->setRange(0, static_cast<int>(std::min<std::uint32_t>(maximum, INT_MAX)));
    if (position != kNoChange)
        m_pBar->setValue(static_cast<int>(std::min<std::uint32_t>(position, INT_MAX)));
    if (showNow && m_showTimer.isActive())
        ShowNow();
}

void CProgressDlg::OnThreadFinished(int jobId)
{
    if (jobId != m_nJobId)
        return;
    // Whatever the job reported last is shown before the window goes.
    ApplyPending();
    m_showTimer.stop();
    bool succeeded;
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        succeeded = m_bSucceeded;
    }
    Close(succeeded ? 1 : 0);
}

QString CProgressDlg::GetHeadingText() const
{
    return m_pHeading->text();
}

QString CProgressDlg::GetBodyText() const
{
    return m_pBody->text();
}
