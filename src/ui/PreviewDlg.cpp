#include "ui/PreviewDlg.h"

#include "core/Registry.h"
#include "preview/PanelBrowser.h"
#include "preview/PreviewSource.h"
#include "ui/DialogIds.h"
#include "ui/PanelView.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

struct CPreviewDlg::SRead
{
    CPreviewSource source;
    bool ok = false;
    CErrorRecord errors;
    CWarningList log;
};

CPreviewDlg::CPreviewDlg(const std::string& path, QWidget* parent)
    : CTidemarkDialog(kPreviewDialog, parent), m_path(path), m_pRead(std::make_shared<SRead>())
{
    setWindowTitle(QStringLiteral("Preview - %1").arg(QFileInfo(DwText(path)).fileName()));

    auto* devicesLabel = new QLabel(QStringLiteral("&Devices:"), Body());
    m_pDevices = new QListWidget(Body());
    devicesLabel->setBuddy(m_pDevices);
    m_pDevices->setMinimumWidth(150);

    m_pPanelLabel = new QLabel(Body());
    m_pView = new CPanelView(Body(), 2);
    m_pView->setFocusPolicy(Qt::StrongFocus);
    m_pPrevious = new QPushButton(QStringLiteral("<< Previous Panel"), Body());
    m_pNext = new QPushButton(QStringLiteral("Next Panel >>"), Body());
    m_pPrevious->setToolTip(QStringLiteral("Page Up"));
    m_pNext->setToolTip(QStringLiteral("Page Down"));

    auto* sideLabel = new QLabel(QStringLiteral("What the button sends:"), Body());
    m_pSidePane = new QPlainTextEdit(Body());
    m_pSidePane->setReadOnly(true);
    m_pSidePane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Room for an alias line of a generated disc button; longer names wrap.
    m_pSidePane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_pSidePane->setMinimumWidth(m_pSidePane->fontMetrics().horizontalAdvance(QString(54, QChar('x'))) +
                                 2 * m_pSidePane->frameWidth() + 12);
    sideLabel->setBuddy(m_pSidePane);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, Body());

    auto* left = new QVBoxLayout;
    left->addWidget(devicesLabel);
    left->addWidget(m_pDevices, 1);

    auto* steps = new QHBoxLayout;
    steps->addWidget(m_pPrevious);
    steps->addStretch(1);
    steps->addWidget(m_pNext);
    auto* middle = new QVBoxLayout;
    middle->addWidget(m_pPanelLabel);
    middle->addWidget(m_pView, 0, Qt::AlignHCenter);
    middle->addLayout(steps);
    middle->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(sideLabel);
    right->addWidget(m_pSidePane, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 0);
    columns->addLayout(middle, 0);
    columns->addLayout(right, 1);
    auto* outer = new QVBoxLayout(Body());
    outer->addLayout(columns, 1);
    outer->addWidget(close);

    connect(close, &QDialogButtonBox::rejected, this, &CPreviewDlg::reject);
    connect(m_pDevices, &QListWidget::currentRowChanged, this, &CPreviewDlg::OnDeviceChosen);
    connect(m_pView, &CPanelView::ButtonClicked, this, &CPreviewDlg::OnButtonClicked);
    connect(m_pPrevious, &QPushButton::clicked, this, [this]() { StepPanel(-1); });
    connect(m_pNext, &QPushButton::clicked, this, [this]() { StepPanel(1); });
    // Window-wide, so the page keys work whichever control has the focus.
    auto* pageUp = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    auto* pageDown = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(pageUp, &QShortcut::activated, this, [this]() { StepPanel(-1); });
    connect(pageDown, &QShortcut::activated, this, [this]() { StepPanel(1); });

    ShowCurrent();
}

CPreviewDlg::~CPreviewDlg()
{
    // The view points into the tree the source owns.
    if (m_pView)
        m_pView->SetPanel(nullptr, std::string());
}

bool CPreviewDlg::OnInitDialog()
{
    RestoreWindowSize(kWindowPosKey, "Preview");
    // Read once the window exists, so that the progress dialog has its owner on screen.
    QMetaObject::invokeMethod(this, &CPreviewDlg::StartReading, Qt::QueuedConnection);
    return true;
}

void CPreviewDlg::StartReading()
{
    SetStatusText(QStringLiteral("Reading %1...").arg(DwText(m_path)));
    auto* job = new CFunctionJob(kJobPreviewRead, [read = m_pRead, path = m_path](CProgressJob& job) {
        job.SetTitle("Reading the configuration...");
        job.SetHeading("Reading %s", path.c_str());
        read->ok = read->source.Open(path, job.GetProgress(), &read->log, &read->errors);
        job.SetSucceeded(read->ok);
    });
    OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this), kProgressDialog, false, true);
}

void CPreviewDlg::OnChildClose(int templateId, int result)
{
    if (templateId != kProgressDialog || result != kJobPreviewRead)
        return;
    m_bReadingFinished = true;
    if (!m_pRead->ok) {
        SetStatusText(QStringLiteral("Could not read %1").arg(DwText(m_path)));
        ReportFailure(this, &m_pRead->errors, &m_pRead->log);
        return;
    }
    m_pBrowser = std::make_unique<CPanelBrowser>(m_pRead->source.GetRoot());
    {
        const QSignalBlocker blocker(m_pDevices);
        m_pDevices->clear();
        for (const std::string& name : m_pBrowser->GetDevices())
            m_pDevices->addItem(DwText(name));
    }
    SetStatusText(
        QStringLiteral("%1 devices in %2").arg(m_pBrowser->GetDevices().size()).arg(DwText(m_path)));
    ShowCurrent();
    m_pView->setFocus();
}

void CPreviewDlg::ShowCurrent()
{
    const CPanelBrowser* browser = m_pBrowser.get();
    const std::size_t panels = browser ? browser->GetPanels().size() : 0;
    const std::size_t index = browser ? browser->GetPanelIndex() : kNoPosition;
    if (browser && browser->GetDeviceIndex() < browser->GetDevices().size()) {
        const QSignalBlocker blocker(m_pDevices);
        m_pDevices->setCurrentRow(static_cast<int>(browser->GetDeviceIndex()));
    }
    m_pView->SetPanel(browser ? browser->GetPanel() : nullptr, m_pRead->source.GetBitmapBase());
    if (index < panels)
        m_pPanelLabel->setText(
            QStringLiteral("Panel \"%1\" (%2 of %3%4)")
                .arg(DwText(browser->GetPanels()[index]))
                .arg(index + 1)
                .arg(panels)
                .arg(browser->IsPanelHidden(index) ? QStringLiteral(", hidden") : QString()));
    else
        m_pPanelLabel->setText(browser ? QStringLiteral("This device has no panels") : QString());
    // The page keys skip hidden panels, and so do these.
    m_pPrevious->setEnabled(browser && browser->CanStep(-1));
    m_pNext->setEnabled(browser && browser->CanStep(1));
}

void CPreviewDlg::OnDeviceChosen(int row)
{
    if (!m_pBrowser || row < 0 || !m_pBrowser->SelectDevice(static_cast<std::size_t>(row)))
        return;
    ShowCurrent();
}

void CPreviewDlg::StepPanel(int delta)
{
    if (!IsIdle() || !m_pBrowser)
        return;
    if (m_pBrowser->StepPanel(delta))
        ShowCurrent();
}

void CPreviewDlg::OnButtonClicked(const CCSFSection* button)
{
    if (!IsIdle() || !m_pBrowser)
        return;
    m_pBrowser->Press(button);
    m_pSidePane->setPlainText(DwText(m_pBrowser->GetLastPress()));
    ShowCurrent();
}
