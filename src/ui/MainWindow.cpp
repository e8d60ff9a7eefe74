#include "ui/MainWindow.h"

#include "core/DWConfig.h"
#include "core/PathUtil.h"
#include "core/Registry.h"
#include "core/Startup.h"
#include "csf/CCFWrapper.h"
#include "model/DWModel.h"
#include "ui/AboutDlg.h"
#include "ui/DialogIds.h"
#include "ui/ListingDlg.h"
#include "ui/PlayerResolutionDlg.h"
#include "ui/PreviewDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/UiText.h"
#include "ui/UpDown.h"
#include "ui/UserPrompts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

const QString kErrorCaption = QStringLiteral("Discweaver Error");
const QString kWarningCaption = QStringLiteral("Discweaver Warning");
const QString kCcfFilter = QStringLiteral("Pronto Config Files (*.ccf)");

QPushButton* MakeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CMainWindow::CMainWindow(CDWConfig* config, CCFWrapper* wrapper, QWidget* parent)
    : CTidemarkDialog(kMainDialog, parent), m_pConfig(config), m_pWrapper(wrapper)
{
    setWindowTitle(MakeCaption());

    auto* files = new QGroupBox(QStringLiteral("CCF Files"), Body());
    m_pInput = new QLineEdit(files);
    m_pOutput = new QLineEdit(files);
    auto* browseInput = MakeButton(QStringLiteral("..."), files);
    auto* browseOutput = MakeButton(QStringLiteral("..."), files);
    for (QPushButton* browse : {browseInput, browseOutput})
        browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    browseInput->setAccessibleName(QStringLiteral("Browse input"));
    browseOutput->setAccessibleName(QStringLiteral("Browse output"));
    auto* fileGrid = new QGridLayout(files);
    fileGrid->addWidget(new QLabel(QStringLiteral("Input:"), files), 0, 0);
    fileGrid->addWidget(m_pInput, 0, 1);
    fileGrid->addWidget(browseInput, 0, 2);
    fileGrid->addWidget(new QLabel(QStringLiteral("Output:"), files), 1, 0);
    fileGrid->addWidget(m_pOutput, 1, 1);
    fileGrid->addWidget(browseOutput, 1, 2);
    fileGrid->setColumnStretch(1, 1);

    m_pPanelCapCheck = new QCheckBox(QStringLiteral("Create multiple devices if more than"), Body());
    m_pPanelCapEdit = new QLineEdit(Body());
    m_pPanelCapEdit->setFixedWidth(
        m_pPanelCapEdit->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    m_pPanelCapSpin = new CUpDown(Body());
    m_pPanelCapSpin->SetRange(1, CDWConfig::kMaxPanelCap);
    auto* panelsLabel = new QLabel(QStringLiteral("panels"), Body());
    m_pCompress = new QCheckBox(QStringLiteral("Compress Images"), Body());

    m_pExecute = MakeButton(QStringLiteral("Execute"), Body());
    auto* help = MakeButton(QStringLiteral("Help"), Body());
    help->setEnabled(false); // no help exists
    auto* about = MakeButton(QStringLiteral("About..."), Body());
    m_pPlayers = MakeButton(QStringLiteral("Players..."), Body());
    m_pLists = MakeButton(QStringLiteral("Lists..."), Body());
    // Beyond the remote's own: the generated pages tried out before loading them.
    m_pPreview = MakeButton(QStringLiteral("Preview..."), Body());
    auto* previewMenu = new QMenu(m_pPreview);
    m_pPreviewOutput = previewMenu->addAction(QStringLiteral("Output CCF"));
    m_pPreviewInput = previewMenu->addAction(QStringLiteral("Input CCF"));
    m_pPreview->setMenu(previewMenu);

    auto* capRow = new QHBoxLayout;
    capRow->addWidget(m_pPanelCapCheck);
    capRow->addWidget(m_pPanelCapEdit);
    capRow->addSpacing(2);
    capRow->addWidget(m_pPanelCapSpin);
    capRow->addWidget(panelsLabel);
    capRow->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(files);
    left->addLayout(capRow);
    left->addWidget(m_pCompress);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    for (QPushButton* button : {m_pExecute, help, about, m_pPlayers, m_pLists, m_pPreview})
        right->addWidget(button);
    right->addStretch(1);
    m_pButtonColumn = right;
    auto* layout = new QHBoxLayout(Body());
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(browseInput, &QPushButton::clicked, this, &CMainWindow::OnBrowseInput);
    connect(browseOutput, &QPushButton::clicked, this, &CMainWindow::OnBrowseOutput);
    connect(m_pPanelCapCheck, &QCheckBox::toggled, this, &CMainWindow::OnPanelCapToggled);
    connect(m_pPanelCapEdit, &QLineEdit::textChanged, this, &CMainWindow::OnPanelCapTextChanged);
    connect(m_pPanelCapSpin, &CUpDown::PositionMoved, this, &CMainWindow::OnPanelCapSpinMoved);
    connect(m_pExecute, &QPushButton::clicked, this, &CMainWindow::OnExecute);
    connect(about, &QPushButton::clicked, this, &CMainWindow::OnAbout);
    connect(m_pPlayers, &QPushButton::clicked, this, &CMainWindow::OnPlayers);
    connect(m_pLists, &QPushButton::clicked, this, &CMainWindow::OnLists);
    connect(m_pPreviewOutput, &QAction::triggered, this, [this]() { OnPreview(true); });
    connect(m_pPreviewInput, &QAction::triggered, this, [this]() { OnPreview(false); });
    // A file can be previewed only when its field names one.
    connect(previewMenu, &QMenu::aboutToShow, this, [this]() {
        m_pPreviewOutput->setEnabled(!m_pOutput->text().isEmpty());
        m_pPreviewInput->setEnabled(!m_pInput->text().isEmpty());
    });

    // The fields as configured.
    m_pInput->setText(DwText(m_pConfig->GetInputCcf()));
    m_pOutput->setText(DwText(m_pConfig->GetOutputCcf()));
    m_pCompress->setChecked(m_pConfig->GetCompressImages());
    int cap = m_pConfig->GetPanelCap();
    m_bPanelCapGuard = true;
    m_pPanelCapCheck->setChecked(cap > 0);
    m_pPanelCapEdit->setText(QString::number(cap > 0 ? cap : kPanelCapShownWhenOff));
    m_pPanelCapSpin->SetPosition(cap > 0 ? cap : kPanelCapShownWhenOff);
    m_bPanelCapGuard = false;
    OnPanelCapToggled(cap > 0);

    // The editors come from elsewhere; without one its button has nothing to open.
    m_pPlayers->setEnabled(IsEditorRegistered(EEditorKind::Players));
    m_pLists->setEnabled(IsEditorRegistered(EEditorKind::Lists));
}

QString CMainWindow::MakeCaption() const
{
    CErrorRecord versionErrors;
    std::optional<std::string> version = m_pConfig->GetFileVersionText(&versionErrors);
    QString programVersion = version ? DwText(*version) : DwText(GetText(&versionErrors));
    QString codecVersion = m_pWrapper ? DwText(m_pWrapper->GetVersionText()) : QString();
    return QStringLiteral("Discweaver %1 BETA VERSION (%2)").arg(programVersion, codecVersion);
}

bool CMainWindow::OnInitDialog()
{
    resize(std::max(560, sizeHint().width()), sizeHint().height());
    SetMinTrackSize(sizeHint().width(), sizeHint().height());
    RestoreWindowSize(kWindowPosKey, "Main");
    return true;
}

CExecutionContext CMainWindow::GetContext() const
{
    CExecutionContext context;
    context.config = m_pConfig;
    context.wrapper = m_pWrapper;
    context.players = m_pConfig->GetPlayers();
    context.library = m_pConfig->GetLibrary();
    return context;
}

// ---- panel cap -------------------------------------------------------------------------

int CMainWindow::PanelCapFromText(const QString& text, bool* rewrite)
{
    if (rewrite)
        *rewrite = false;
    if (text.isEmpty())
        return 1;
    QByteArray bytes = text.toLatin1();
    errno = 0;
    long number = std::strtol(bytes.constData(), nullptr, 10);
    if (errno == ERANGE)
        number = number < 0 ? LONG_MIN : LONG_MAX;
    if (number < 1 || number > CDWConfig::kMaxPanelCap) {
        if (rewrite)
            *rewrite = true;
        return number < 1 ? 1 : CDWConfig::kMaxPanelCap;
    }
    return static_cast<int>(number);
}

void CMainWindow::OnPanelCapToggled(bool on)
{
    m_pPanelCapEdit->setEnabled(on);
    m_pPanelCapSpin->setEnabled(on);
}

void CMainWindow::OnPanelCapTextChanged(const QString& text)
{
    if (m_bPanelCapGuard)
        return;
    m_bPanelCapGuard = true;
    bool rewrite = false;
    int number = PanelCapFromText(text, &rewrite);
    if (rewrite)
        m_pPanelCapEdit->setText(QString::number(number));
    m_pPanelCapSpin->SetPosition(number);
    m_bPanelCapGuard = false;
}

void CMainWindow::OnPanelCapSpinMoved(int position)
{
    if (m_bPanelCapGuard)
        return;
    m_bPanelCapGuard = true;
    m_pPanelCapEdit->setText(QString::number(position));
    m_bPanelCapGuard = false;
}

// ---- fields ----------------------------------------------------------------------------

void CMainWindow::StoreFields()
{
    m_pConfig->SetInputCcf(PathBytes(m_pInput->text()).c_str());
    m_pConfig->SetOutputCcf(PathBytes(m_pOutput->text()).c_str());
    m_pConfig->SetCompressImages(m_pCompress->isChecked());
    m_pConfig->SetPanelCap(m_pPanelCapCheck->isChecked() ? PanelCapFromText(m_pPanelCapEdit->text(), nullptr)
                                                         : 0);
}

void CMainWindow::OnBrowseInput()
{
    CFileDialogRequest request;
    request.title = QStringLiteral("Input CCF File");
    request.defaultSuffix = QStringLiteral("ccf");
    request.filter = kCcfFilter;
    request.startPath = m_pInput->text();
    request.mustExist = true;
    if (std::optional<QString> chosen = UserPrompts().OpenFileName(this, request))
        m_pInput->setText(*chosen);
}

void CMainWindow::OnBrowseOutput()
{
    CFileDialogRequest request;
    request.title = QStringLiteral("Output CCF File");
    request.defaultSuffix = QStringLiteral("ccf");
    request.filter = kCcfFilter;
    request.startPath = m_pOutput->text();
    request.confirmOverwrite = true;
    request.refuseReadOnly = true;
    if (std::optional<QString> chosen = UserPrompts().SaveFileName(this, request))
        m_pOutput->setText(*chosen);
}

// ---- jobs ------------------------------------------------------------------------------

bool CMainWindow::CheckBeforeJob(bool checkOutput)
{
    StoreFields();
    if (!m_pConfig->CheckReadyToExecute(&m_errors, checkOutput)) {
        ShowMessage(this, DwText(GetText(&m_errors)), kErrorCaption, EPromptIcon::Exclamation);
        return false;
    }
    return true;
}

void CMainWindow::StartProgressJob(int jobId, int layoutMode, std::function<void(CProgressJob&)> work)
{
    auto* job = new CFunctionJob(jobId, std::move(work));
    OpenChild(new CProgressDlg(layoutMode, false, job, this), kProgressDialog, false, true);
}

void CMainWindow::StartPrepareJob(int jobId, const char* title)
{
    Clear(&m_errors);
    m_log.clear();
    StartProgressJob(jobId, CProgressDlg::kTextsOnly, [this, title](CProgressJob& job) {
        m_bSucceeded = false;
        const std::string area = m_pConfig->GetConfigArea();
        if (!CreateDirectoryPath(area.c_str())) {
            SetSystemError(&m_errors, "Error creating %s", area.c_str());
            job.SetSucceeded(false);
            return;
        }
        // What another run saved while we held no lock is read before it is used.
        if (!m_areaLock.Acquire(area.c_str(), &m_errors) ||
            !m_pConfig->ReloadChangedModelFiles(&m_errors, nullptr)) {
            job.SetSucceeded(false);
            return;
        }
        bool ok = PrepareForExecution(GetContext(), job.GetProgress(), &m_log, &m_errors, title);
        m_bSucceeded = ok;
        job.SetSucceeded(ok);
    });
}

void CMainWindow::OnExecute()
{
    if (!IsIdle())
        return;
    Clear(&m_errors);
    if (m_pPanelCapCheck->isChecked()) {
        bool ok = false;
        int number = m_pPanelCapEdit->text().trimmed().toInt(&ok);
        if (!ok || number == 0) {
            ShowMessage(this, QStringLiteral("Invalid number in panel cap field"), kErrorCaption,
                        EPromptIcon::Exclamation);
            return;
        }
    }
    if (!CheckBeforeJob(true))
        return;
    std::string input = m_pConfig->GetInputCcf();
    std::string output = m_pConfig->GetOutputCcf();
    if (IsSameFile(input.c_str(), output.c_str())) {
        QString first = DwText(kSameFileWarning) +
                        QStringLiteral("\n\nPress OK to continue or Cancel to abort the operation and pick "
                                       "another output.");
        if (UserPrompts().Ask(this, first, kWarningCaption, EPromptButtons::OkCancel,
                              EPromptIcon::Exclamation) != EPromptAnswer::Ok)
            return;
        if (UserPrompts().Ask(this, DwText(kSameFileSecondQuestion), kWarningCaption, EPromptButtons::YesNo,
                              EPromptIcon::Question) != EPromptAnswer::Yes)
            return;
    }
    m_nDevicesReplaced = 0;
    m_generated.clear();
    StartPrepareJob(kJobPrepareForExecution, "Preparing for execution...");
}

void CMainWindow::OnPlayers()
{
    if (!IsIdle() || !IsEditorRegistered(EEditorKind::Players))
        return;
    Clear(&m_errors);
    if (CheckBeforeJob(false))
        StartPrepareJob(kJobPrepareForPlayers, "Preparing for Players...");
}

void CMainWindow::OnLists()
{
    if (!IsIdle() || !IsEditorRegistered(EEditorKind::Lists))
        return;
    Clear(&m_errors);
    if (CheckBeforeJob(false))
        StartPrepareJob(kJobPrepareForLists, "Preparing for Lists...");
}

void CMainWindow::OnPreview(bool output)
{
    if (!IsIdle())
        return;
    const QString path = (output ? m_pOutput : m_pInput)->text();
    if (path.isEmpty())
        return;
    OpenChild(new CPreviewDlg(PathBytes(path), this), kPreviewDialog, false, true);
}

void CMainWindow::OnAbout()
{
    if (!IsIdle())
        return;
    OpenChild(new CAboutDlg(false, m_pConfig, m_pWrapper, this), kAboutDialog, false, true);
}

void CMainWindow::OpenEditor(EEditorKind kind)
{
    CEditorContext context{m_pConfig, m_pWrapper};
    if (CTidemarkDialog* editor = CreateEditor(kind, this, context))
        OpenChild(editor, EditorTemplateId(kind), false, true);
}

void CMainWindow::AfterPrepareForExecution()
{
    m_nDevicesReplaced = ReplaceExistingDevices(GetContext(), [this](const CReplaceQuestion& question) {
        return UserPrompts().Ask(this, DwText(question.text), QStringLiteral("Replace devices?"),
                                 EPromptButtons::YesNo, EPromptIcon::Question) == EPromptAnswer::Yes;
    });
    StartResolveJob();
}

void CMainWindow::StartResolveJob()
{
    Clear(&m_errors);
    m_log.clear();
    m_unlinked.clear();
    m_bUnlinked = false;
    StartProgressJob(kJobResolvePlayers, CProgressDlg::kTextsOnly, [this](CProgressJob& job) {
        m_bSucceeded = false;
        bool ok = ResolvePlayers(GetContext(), job.GetProgress(), &m_unlinked);
        m_bUnlinked = !ok && !m_unlinked.empty();
        m_bSucceeded = ok;
        job.SetSucceeded(ok);
    });
}

void CMainWindow::StartExecuteJob()
{
    Clear(&m_errors);
    m_log.clear();
    m_emptyLists.clear();
    StartProgressJob(kJobExecute, CProgressDlg::kWithBar, [this](CProgressJob& job) {
        m_bSucceeded = false;
        bool ok =
            ExecuteLists(GetContext(), job.GetProgress(), &m_log, &m_emptyLists, &m_errors, &m_generated);
        m_bSucceeded = ok;
        job.SetSucceeded(ok);
    });
}

void CMainWindow::AfterExecution()
{
    if (!m_emptyLists.empty()) {
        // The message is the first line of the core's text; the names follow as the list.
        std::string message = FormatEmptyListsMessage(m_emptyLists);
        message = message.substr(0, message.find('\n'));
        OpenChild(new CListingDlg(kWarningCaption, DwText(message), m_emptyLists, this), kListingDialog,
                  false, true);
    }
    SetStatusText(QStringLiteral("Output written; \"Preview...\" shows its pages."));
    emit ExecutionSucceeded(DwText(m_pConfig->GetOutputCcf()));
}

void CMainWindow::ReportJobFailure()
{
    if (!m_log.empty())
        ReportFailure(this, &m_errors, &m_log, QStringLiteral("CCFDll Operation Log"));
    else
        ReportFailure(this, &m_errors, nullptr, kErrorCaption);
}

void CMainWindow::OnChildClose(int templateId, int result)
{
    HandleChainStep(templateId, result);
    if (!GetOpenChild())
        m_areaLock.Release();
}

void CMainWindow::HandleChainStep(int templateId, int result)
{
    if (templateId == kPlayerResolutionDialog) {
        m_unlinked.clear();
        m_bUnlinked = false;
        if (m_bProceed)
            StartExecuteJob();
        return;
    }
    if (templateId != kProgressDialog)
        return;
    switch (result) {
    case kJobClosing:
        m_bExitDone = true;
        DecrementBusy();
        Close(1);
        return;
    case kJobPrepareForExecution:
        if (m_bSucceeded)
            AfterPrepareForExecution();
        else
            ReportJobFailure();
        return;
    case kJobPrepareForPlayers:
    case kJobPrepareForLists:
        if (m_bSucceeded)
            OpenEditor(result == kJobPrepareForPlayers ? EEditorKind::Players : EEditorKind::Lists);
        else
            ReportJobFailure();
        return;
    case kJobResolvePlayers:
        if (m_bSucceeded) {
            StartExecuteJob();
        } else if (m_bUnlinked) {
            m_bProceed = false;
            OpenChild(new CPlayerResolutionDlg(GetContext(), &m_unlinked, &m_bProceed, this),
                      kPlayerResolutionDialog, false, true);
        } else {
            ReportJobFailure();
        }
        return;
    case kJobExecute:
        if (m_bSucceeded)
            AfterExecution();
        else
            ReportJobFailure();
        return;
    default:
        return;
    }
}

// ---- closing ---------------------------------------------------------------------------

void CMainWindow::RequestClose()
{
    if (!IsIdle() || m_bExiting || m_bExitDone)
        return;
    m_bExiting = true;
    StoreFields();
    // Busy for the whole exit, so nothing else starts once closing has begun.
    IncrementBusy();
    StartProgressJob(kJobClosing, CProgressDlg::kTextsOnly, [this](CProgressJob& job) {
        CProgressSink* progress = job.GetProgress();
        RunExitTask(*m_pConfig, progress, [this, progress]() {
            // The work files may be another run's by now; they are left to it.
            CAreaLock lock;
            if (m_pWrapper && lock.Acquire(m_pConfig->GetConfigArea().c_str(), nullptr))
                m_pWrapper->CleanTempArea(progress, nullptr);
        });
        job.SetSucceeded(true);
    });
}

void CMainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    RequestClose();
}

void CMainWindow::reject()
{
    RequestClose();
}

void CMainWindow::accept()
{
    // The main window has no OK: Enter does not close it.
}
