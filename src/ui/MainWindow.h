#pragma once

// The main window: the input and output CCF files, the panel cap and "Compress Images",
// and the buttons that run the execution chain and open the editors. Every long step is
// a job behind a progress dialog; the chain goes on in OnChildClose:
//
//   "Execute" -> job 9 (prepare) -> replacement questions -> job 11 (resolve players)
//     -> [Player Resolution when discs have no player] -> job 12 (execute) -> report
//
// "Players..." and "Lists..." run jobs 3 and 4 and then open the registered editor
// (ui/EditorHooks.h). Closing runs the exit job 1 and then closes whatever its outcome.
//
// From its first job until nothing of it is left open (the chain's last step, or the
// editor closing), a chain holds the configuration area's lock, so that a command run on
// the same area meanwhile neither compiles our work files nor saves over our library.

#include "core/AreaLock.h"
#include "core/ErrorRecord.h"
#include "generate/ExecutionPipeline.h"
#include "ui/EditorHooks.h"
#include "ui/ThreadJob.h"
#include "ui/TidemarkDialog.h"

#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class CCFWrapper;
class CDisc;
class CDWConfig;
class CUpDown;

class CMainWindow : public CTidemarkDialog
{
    Q_OBJECT

public:
    static constexpr int kPanelCapShownWhenOff = 300;

    // Neither is owned; both must outlive the window.
    CMainWindow(CDWConfig* config, CCFWrapper* wrapper, QWidget* parent = nullptr);

    // ---- the handlers (public so that tests and the program drive the same code) ----
    void OnBrowseInput();
    void OnBrowseOutput();
    void OnExecute();
    void OnPlayers();
    void OnLists();
    void OnAbout();
    // Opens the preview window for the output (true) or the input CCF the fields name.
    void OnPreview(bool output);
    // Asks the window to close: stores the fields and runs the exit job (refused while
    // busy).
    void RequestClose();
    // Writes the fields into the configuration.
    void StoreFields();

    // ---- what the window shows and remembers ----------------------------------------
    QLineEdit* GetInputEdit() const { return m_pInput; }
    QLineEdit* GetOutputEdit() const { return m_pOutput; }
    QCheckBox* GetPanelCapCheck() const { return m_pPanelCapCheck; }
    QLineEdit* GetPanelCapEdit() const { return m_pPanelCapEdit; }
    CUpDown* GetPanelCapSpin() const { return m_pPanelCapSpin; }
    QCheckBox* GetCompressCheck() const { return m_pCompress; }
    QPushButton* GetExecuteButton() const { return m_pExecute; }
    QPushButton* GetPlayersButton() const { return m_pPlayers; }
    QPushButton* GetListsButton() const { return m_pLists; }
    QPushButton* GetPreviewButton() const { return m_pPreview; }
    bool HasClosed() const { return m_bExitDone; }
    // The column of buttons on the right ("Execute" ... "Lists...", then a stretch), for
    // code that adds a button of its own: insertWidget(GetButtonColumn()->count() - 1, b).
    QVBoxLayout* GetButtonColumn() const { return m_pButtonColumn; }
    // The outcome of the last execution (read once the chain has ended).
    bool GetLastSucceeded() const { return m_bSucceeded; }
    const CErrorRecord& GetErrors() const { return m_errors; }
    const std::vector<CGeneratedList>& GetGenerated() const { return m_generated; }
    int GetDevicesReplaced() const { return m_nDevicesReplaced; }
    CExecutionContext GetContext() const;

    // The panel-cap edit's rule: the number its text stands for (empty: 1; otherwise its
    // leading number limited to 1..32767), and whether the text must be rewritten with
    // that number (it was outside the range, or no number at all).
    static int PanelCapFromText(const QString& text, bool* rewrite);

signals:
    // An execution wrote its output (for windows that show the result).
    void ExecutionSucceeded(const QString& outputCcf);

protected:
    bool OnInitDialog() override;
    void OnChildClose(int templateId, int result) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void accept() override;

private:
    void OnPanelCapToggled(bool on);
    void OnPanelCapTextChanged(const QString& text);
    void OnPanelCapSpinMoved(int position);
    bool CheckBeforeJob(bool checkOutput);
    void StartProgressJob(int jobId, int layoutMode, std::function<void(CProgressJob&)> work);
    void StartPrepareJob(int jobId, const char* title);
    void StartResolveJob();
    void StartExecuteJob();
    void AfterPrepareForExecution();
    void AfterExecution();
    void OpenEditor(EEditorKind kind);
    void ReportJobFailure();
    void HandleChainStep(int templateId, int result);
    QString MakeCaption() const;

    CDWConfig* m_pConfig;
    CCFWrapper* m_pWrapper;

    QLineEdit* m_pInput = nullptr;
    QLineEdit* m_pOutput = nullptr;
    QCheckBox* m_pPanelCapCheck = nullptr;
    QLineEdit* m_pPanelCapEdit = nullptr;
    CUpDown* m_pPanelCapSpin = nullptr;
    QCheckBox* m_pCompress = nullptr;
    QPushButton* m_pExecute = nullptr;
    QPushButton* m_pPlayers = nullptr;
    QPushButton* m_pLists = nullptr;
    QVBoxLayout* m_pButtonColumn = nullptr;
    QPushButton* m_pPreview = nullptr;
    QAction* m_pPreviewOutput = nullptr;
    QAction* m_pPreviewInput = nullptr;
    bool m_bPanelCapGuard = false;

    // Written by the jobs, read in OnChildClose after their thread has ended.
    bool m_bSucceeded = false;
    CErrorRecord m_errors;
    CWarningList m_log;
    std::vector<std::string> m_emptyLists;
    std::vector<CGeneratedList> m_generated;
    std::vector<CDisc*> m_unlinked;
    bool m_bUnlinked = false;
    bool m_bProceed = false;
    int m_nDevicesReplaced = 0;
    bool m_bExiting = false;
    bool m_bExitDone = false;
    // Taken by a chain's first job (on its thread: taking it may wait), released on the
    // window's thread once the chain has nothing open.
    CAreaLock m_areaLock;
};
