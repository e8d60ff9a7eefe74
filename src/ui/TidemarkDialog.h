#pragma once

// CTidemarkDialog: the base of every dialog of the desktop program.
//
// - Build the controls on Body() (not on the dialog itself): the base puts Body above
//   the status line. Call DisableStatusLine() in the constructor to do without one.
// - Set up what needs the finished controls in OnInitDialog (called once, just before
//   the window is first shown), typically ending with RestoreWindowSize(kWindowPosKey,
//   "Name") so that the dialog gets the size the user last gave it.
// - Open another dialog as a modeless child:
//       OpenChild(new CEditListDlg(..., this), kEditListDialog, false, true);
//   While it is open, this dialog's enabled controls are disabled (and restored when it
//   closes) and this dialog and its parents are busy. When the child closes,
//   OnChildClose(templateId, result) is called here with the template id given to
//   OpenChild and the child's reported result (SetReportedResult, or its close code).
//   Only one child at a time; a second OpenChild is refused and deletes the offered one.
// - Run a job behind a progress dialog: see ui/ThreadJob.h. The progress dialog is a
//   child like any other (template kProgressDialog); its result is the job's id.
// - While busy (a job or a child running), OK, Cancel, Escape and Enter do nothing and
//   the window refuses to close.
// - Close(code) ends the dialog: a modal one (RunModal) returns code; a modeless one is
//   hidden, its parent told, and it is deleted when it was opened with deleteOnClose.
// - Message boxes and file dialogs go through UserPrompts() (ui/UserPrompts.h) so that
//   tests can answer them.

#include <QDialog>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class QEventLoop;
class QStatusBar;
class QVBoxLayout;
class CThreadJob;

class CTidemarkDialog : public QDialog
{
    Q_OBJECT

public:
    // templateId is also what the dialog reports to its parent when it closes, unless
    // OpenChild gives another. parent may be null (a top-level dialog).
    explicit CTidemarkDialog(int templateId, QWidget* parent = nullptr);
    ~CTidemarkDialog() override;

    int GetTemplateId() const { return m_nTemplateId; }
    QWidget* Body() const { return m_pBody; }

    // ---- children and jobs -----------------------------------------------------------
    bool OpenChild(CTidemarkDialog* child, int templateId, bool hideParent, bool deleteOnClose);
    CTidemarkDialog* GetOpenChild() const { return m_bChildOpen ? m_pChild.data() : nullptr; }
    CTidemarkDialog* GetParentDialog() const { return m_pParentDlg; }
    // Takes the job. Refused (and the job deleted) while another runs, or when it cannot
    // start. The dialog and its parents are busy until the job's thread has ended.
    bool StartJob(CThreadJob* job);
    bool IsJobRunning() const { return m_pJob != nullptr; }

    // ---- closing ---------------------------------------------------------------------
    // Shows the dialog modally and returns its close code.
    int RunModal();
    bool IsModal() const { return m_bModal; }
    void Close(int code);
    // OK (ignored while busy; otherwise ValidateData, then Close(1)), Cancel (ignored
    // while busy; otherwise Close(2)); done(code) is Close(code).
    void accept() override;
    void reject() override;
    void done(int code) override;
    bool IsIdle() const { return m_nBusy == 0; }
    unsigned GetBusyCount() const { return m_nBusy; }
    void IncrementBusy();
    void DecrementBusy();
    // Children that do not make this dialog busy (and leave its controls as they are).
    void SetChildrenMakeBusy(bool busy) { m_bChildrenMakeBusy = busy; }
    void SetReportedResult(int result)
    {
        m_nReportedResult = result;
        m_bResultSet = true;
    }
    int GetReportedResult() const { return m_nReportedResult; }

    // ---- status line, sizes ----------------------------------------------------------
    void SetStatusText(const char* text);
    void SetStatusText(const QString& text);
    QString GetStatusText() const;
    QStatusBar* GetStatusLine() const { return m_pStatusLine; }
    // Applies the size stored under keyPath as "name.w" / "name.h" (centred where the
    // dialog would be, then kept inside the screen's available area) and stores the size
    // there when the dialog closes. Without stored values the dialog keeps its own size.
    void RestoreWindowSize(const char* keyPath, const char* name);
    // Minimum and maximum sizes: absolute pixels (-1: not set), or a fraction of the
    // present width or height (a denominator of 0 counts as 1).
    void SetMinTrackSize(int width, int height);
    void SetMaxTrackSize(int width, int height);
    void SetMinTrackFraction(int widthNum, int widthDen, int heightNum, int heightDen);
    void SetMaxTrackFraction(int widthNum, int widthDen, int heightNum, int heightDen);

    // A control that stays enabled while a child is open.
    static void KeepEnabledForChildren(QWidget* control);

    // Where a stored size goes: a rectangle of that size on centre, moved (in this
    // order) up, left, right and down until its edges are inside area as far as they
    // can be; the top-left corner always ends inside.
    static QRect PlaceStoredSize(QPoint centre, QSize size, const QRect& area);

    // ---- called by the machinery -----------------------------------------------------
    // The job's thread has ended (queued from the worker).
    void HandleThreadTerminating();

protected:
    // Called once before the window is first shown; false means the dialog could not be
    // created (OpenChild then fails).
    virtual bool OnInitDialog() { return true; }
    virtual void OnChildOpen(int templateId) { (void)templateId; }
    virtual void OnChildClose(int templateId, int result)
    {
        (void)templateId;
        (void)result;
    }
    virtual void OnThreadFinished(int jobId) { (void)jobId; }
    // OK: checks the controls' data; true lets the dialog close with 1.
    virtual bool ValidateData() { return true; }
    // The busy count went from 0 to 1 (true) or back to 0 (false).
    virtual void OnBusyChanged(bool busy) { (void)busy; }

    void DisableStatusLine();
    // Keeps the window hidden when it is first opened (the progress dialog's timer).
    void SetStartHidden(bool hidden) { m_bStartHidden = hidden; }

    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool CreateWindow();
    void FinishWindow();
    void SaveWindowSize();
    void HandleChildClose(int templateId, int result);
    void RestoreControls();

    int m_nTemplateId;
    int m_nReportedResult = 0;
    bool m_bResultSet = false;
    unsigned m_nBusy = 0;
    std::unique_ptr<CThreadJob> m_pJob;

    QVBoxLayout* m_pOuter = nullptr;
    QWidget* m_pBody = nullptr;
    QStatusBar* m_pStatusLine = nullptr;

    CTidemarkDialog* m_pParentDlg = nullptr;
    bool m_bHidParent = false;
    bool m_bDeleteOnClose = false;
    QPointer<CTidemarkDialog> m_pChild; // null once the child is gone
    bool m_bChildOpen = false;          // until the parent has handled its close
    std::vector<QPointer<QWidget>> m_disabledForChild;
    bool m_bChildrenMakeBusy = true;
    bool m_bHiddenForChild = false;

    bool m_bInitialised = false;
    bool m_bStartHidden = false;
    bool m_bModal = false;
    bool m_bModalEnded = false;
    bool m_bFinished = false;
    QEventLoop* m_pLoop = nullptr;

    std::string m_sizeKey;
    std::string m_sizeName;
};
