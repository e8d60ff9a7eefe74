#include "ui/TidemarkDialog.h"

#include "core/Registry.h"
#include "ui/ThreadJob.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const char* const kKeepEnabledProperty = "dwKeepEnabledForChildren";

int Fraction(int value, int num, int den)
{
    return den == 0 ? value * num : value * num / den;
}

} // namespace

CTidemarkDialog::CTidemarkDialog(int templateId, QWidget* parent) : QDialog(parent), m_nTemplateId(templateId)
{
    m_pOuter = new QVBoxLayout(this);
    m_pOuter->setContentsMargins(0, 0, 0, 0);
    m_pOuter->setSpacing(0);
    m_pBody = new QWidget(this);
    m_pOuter->addWidget(m_pBody, 1);
    m_pStatusLine = new QStatusBar(this);
    m_pStatusLine->setSizeGripEnabled(true);
    m_pOuter->addWidget(m_pStatusLine);
}

CTidemarkDialog::~CTidemarkDialog()
{
    // The job's destructor waits for its thread; the thread's queued call is dropped
    // together with this object.
    m_pJob.reset();
    if (!m_bFinished && m_pParentDlg && !m_bModal) {
        // Destroyed without Close (the toolkit tearing down): give the busy counts back.
        while (m_nBusy > 0)
            DecrementBusy();
    }
}

void CTidemarkDialog::DisableStatusLine()
{
    if (!m_pStatusLine)
        return;
    m_pOuter->removeWidget(m_pStatusLine);
    delete m_pStatusLine;
    m_pStatusLine = nullptr;
}

void CTidemarkDialog::KeepEnabledForChildren(QWidget* control)
{
    if (control)
        control->setProperty(kKeepEnabledProperty, true);
}

// ---- children ------------------------------------------------------------------------

bool CTidemarkDialog::OpenChild(CTidemarkDialog* child, int templateId, bool hideParent, bool deleteOnClose)
{
    if (!child)
        return false;
    if (m_bChildOpen) {
        if (deleteOnClose)
            delete child;
        return false;
    }
    if (m_bChildrenMakeBusy) {
        for (QWidget* control : m_pBody->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->testAttribute(Qt::WA_Disabled) || control->property(kKeepEnabledProperty).toBool())
                continue;
            control->setEnabled(false);
            m_disabledForChild.emplace_back(control);
        }
        IncrementBusy();
    }
    OnChildOpen(templateId);
    child->m_pParentDlg = this;
    child->m_bHidParent = hideParent;
    child->m_bDeleteOnClose = deleteOnClose;
    child->m_nTemplateId = templateId;
    m_pChild = child;
    m_bChildOpen = true;
    if (!child->CreateWindow()) {
        m_pChild = nullptr;
        m_bChildOpen = false;
        child->m_pParentDlg = nullptr;
        child->m_bFinished = true;
        if (deleteOnClose)
            delete child;
        RestoreControls();
        if (m_bChildrenMakeBusy)
            DecrementBusy();
        return false;
    }
    if (hideParent) {
        m_bHiddenForChild = true;
        hide();
    }
    return true;
}

bool CTidemarkDialog::CreateWindow()
{
    if (!m_bInitialised) {
        m_bInitialised = true;
        if (!OnInitDialog())
            return false;
    }
    // OnInitDialog may already have closed the dialog (a job that could not start).
    if (!m_bFinished && !m_bModalEnded && !m_bStartHidden)
        show();
    return true;
}

void CTidemarkDialog::RestoreControls()
{
    for (const QPointer<QWidget>& control : m_disabledForChild)
        if (control)
            control->setEnabled(true);
    m_disabledForChild.clear();
}

void CTidemarkDialog::HandleChildClose(int templateId, int result)
{
    m_pChild = nullptr;
    m_bChildOpen = false;
    RestoreControls();
    if (m_bChildrenMakeBusy)
        DecrementBusy();
    if (m_bHiddenForChild) {
        m_bHiddenForChild = false;
        if (!m_bFinished && !m_bModalEnded)
            show();
    }
    OnChildClose(templateId, result);
}

// ---- busy count and jobs ---------------------------------------------------------------

void CTidemarkDialog::IncrementBusy()
{
    for (CTidemarkDialog* dialog = this; dialog; dialog = dialog->m_pParentDlg)
        if (dialog->m_nBusy++ == 0)
            dialog->OnBusyChanged(true);
}

void CTidemarkDialog::DecrementBusy()
{
    for (CTidemarkDialog* dialog = this; dialog; dialog = dialog->m_pParentDlg) {
        if (dialog->m_nBusy == 0)
            continue;
        if (--dialog->m_nBusy == 0)
            dialog->OnBusyChanged(false);
    }
}

bool CTidemarkDialog::StartJob(CThreadJob* job)
{
    std::unique_ptr<CThreadJob> owned(job);
    if (!owned || m_pJob)
        return false;
    owned->SetOwner(this);
    CThreadJob* raw = owned.get();
    m_pJob = std::move(owned);
    IncrementBusy();
    if (!raw->Start()) {
        m_pJob.reset();
        DecrementBusy();
        return false;
    }
    return true;
}

void CTidemarkDialog::HandleThreadTerminating()
{
    if (!m_pJob)
        return;
    int id = m_pJob->GetJobId();
    m_pJob->Wait();
    m_pJob.reset();
    DecrementBusy();
    OnThreadFinished(id);
}

// ---- closing --------------------------------------------------------------------------

int CTidemarkDialog::RunModal()
{
    m_bModal = true;
    m_bModalEnded = false;
    setWindowModality(Qt::ApplicationModal);
    if (!CreateWindow())
        return 0;
    if (m_bModalEnded)
        return result();
    QEventLoop loop;
    m_pLoop = &loop;
    int code = loop.exec(QEventLoop::DialogExec);
    m_pLoop = nullptr;
    return code;
}

void CTidemarkDialog::Close(int code)
{
    setResult(code);
    if (!m_bResultSet)
        m_nReportedResult = code;
    if (m_bModal) {
        if (m_bModalEnded)
            return;
        m_bModalEnded = true;
        SaveWindowSize();
        hide();
        if (m_pLoop)
            m_pLoop->exit(code);
        return;
    }
    FinishWindow();
}

void CTidemarkDialog::FinishWindow()
{
    if (m_bFinished)
        return;
    m_bFinished = true;
    SaveWindowSize();
    while (m_nBusy > 0)
        DecrementBusy();
    hide();
    if (CTidemarkDialog* parent = m_pParentDlg) {
        QPointer<CTidemarkDialog> guard(parent);
        int templateId = m_nTemplateId;
        int result = m_nReportedResult;
        QMetaObject::invokeMethod(
            parent,
            [guard, templateId, result]() {
                if (guard)
                    guard->HandleChildClose(templateId, result);
            },
            Qt::QueuedConnection);
    }
    if (m_bDeleteOnClose)
        deleteLater();
}

void CTidemarkDialog::accept()
{
    if (!IsIdle())
        return;
    if (ValidateData())
        Close(1);
}

void CTidemarkDialog::reject()
{
    if (!IsIdle())
        return;
    Close(2);
}

void CTidemarkDialog::done(int code)
{
    Close(code);
}

void CTidemarkDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!IsIdle() || m_bFinished)
        return;
    reject();
}

void CTidemarkDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_pParentDlg && !m_bHidParent) {
        // A child that left its parent visible takes the parent down with it instead.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        m_pParentDlg->showMinimized();
    }
}

// ---- status line ----------------------------------------------------------------------

void CTidemarkDialog::SetStatusText(const char* text)
{
    SetStatusText(QString::fromUtf8(text ? text : ""));
}

void CTidemarkDialog::SetStatusText(const QString& text)
{
    if (m_pStatusLine)
        m_pStatusLine->showMessage(text);
}

QString CTidemarkDialog::GetStatusText() const
{
    return m_pStatusLine ? m_pStatusLine->currentMessage() : QString();
}

// ---- sizes ----------------------------------------------------------------------------

QRect CTidemarkDialog::PlaceStoredSize(QPoint centre, QSize size, const QRect& area)
{
    QRect rect(QPoint(centre.x() - size.width() / 2, centre.y() - size.height() / 2), size);
    if (rect.bottom() > area.bottom())
        rect.moveBottom(area.bottom());
    if (rect.right() > area.right())
        rect.moveRight(area.right());
    if (rect.left() < area.left())
        rect.moveLeft(area.left());
    if (rect.top() < area.top())
        rect.moveTop(area.top());
    return rect;
}

void CTidemarkDialog::RestoreWindowSize(const char* keyPath, const char* name)
{
    m_sizeKey = keyPath ? keyPath : "";
    m_sizeName = name ? name : "";
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    QScreen* screen = nullptr;
    QPoint centre;
    if (QWidget* owner = parentWidget(); owner && owner->isVisible()) {
        centre = owner->frameGeometry().center();
        screen = owner->screen();
    } else {
        screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        centre = screen ? screen->availableGeometry().center() : QPoint(0, 0);
    }
    move(centre - rect().center());
    if (m_sizeKey.empty() || m_sizeName.empty())
        return;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!ReadRegistryDword(HKEY_CURRENT_USER, m_sizeKey.c_str(), (m_sizeName + ".w").c_str(), &width) ||
        !ReadRegistryDword(HKEY_CURRENT_USER, m_sizeKey.c_str(), (m_sizeName + ".h").c_str(), &height))
        return;
    QSize size(static_cast<int>(std::min<std::uint32_t>(width, QWIDGETSIZE_MAX)),
               static_cast<int>(std::min<std::uint32_t>(height, QWIDGETSIZE_MAX)));
    size = size.expandedTo(minimumSize()).boundedTo(maximumSize());
    QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size);
    setGeometry(PlaceStoredSize(centre, size, area));
    update();
}

void CTidemarkDialog::SaveWindowSize()
{
    if (m_sizeKey.empty() || m_sizeName.empty())
        return;
    QSize size = (isMaximized() || isMinimized()) ? normalGeometry().size() : this->size();
    if (!size.isValid())
        return;
    WriteRegistryDword(HKEY_CURRENT_USER, m_sizeKey.c_str(), (m_sizeName + ".w").c_str(),
                       static_cast<std::uint32_t>(size.width()));
    WriteRegistryDword(HKEY_CURRENT_USER, m_sizeKey.c_str(), (m_sizeName + ".h").c_str(),
                       static_cast<std::uint32_t>(size.height()));
}

void CTidemarkDialog::SetMinTrackSize(int width, int height)
{
    setMinimumSize(width < 0 ? 0 : width, height < 0 ? 0 : height);
}

void CTidemarkDialog::SetMaxTrackSize(int width, int height)
{
    setMaximumSize(width < 0 ? QWIDGETSIZE_MAX : width, height < 0 ? QWIDGETSIZE_MAX : height);
}

void CTidemarkDialog::SetMinTrackFraction(int widthNum, int widthDen, int heightNum, int heightDen)
{
    SetMinTrackSize(Fraction(width(), widthNum, widthDen), Fraction(height(), heightNum, heightDen));
}

void CTidemarkDialog::SetMaxTrackFraction(int widthNum, int widthDen, int heightNum, int heightDen)
{
    SetMaxTrackSize(Fraction(width(), widthNum, widthDen), Fraction(height(), heightNum, heightDen));
}
