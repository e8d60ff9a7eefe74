#pragma once

// The preview window: a configuration's panels as the remote shows them, to try out
// generated pages before loading them into the remote. It shows the list of devices,
// the current panel drawn at 2× (CPanelView), and beside it what the last pressed
// button sends, aliases followed. Pressing a button runs it: a jump shows its target
// panel, everything else is listed. Page Up and Page Down step through the device's
// panels.
//
// The configuration is read by a job behind the progress dialog when the window opens
// (a .ccf through the codec library, into a private area of the window's own, so the
// program's own work files and trees are never touched); a failure is reported in the
// program's one way and leaves the window empty.
//
// Opened as a modeless child:
//     OpenChild(new CPreviewDlg(path, this), kPreviewDialog, false, true);

#include "ui/TidemarkDialog.h"

#include "core/ErrorRecord.h"

#include <memory>
#include <string>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class CCSFSection;
class CPanelBrowser;
class CPanelView;
class CPreviewSource;

// The preview window's template id and its reading job's id, beside the program's own.
constexpr int kPreviewDialog = 201;
constexpr int kJobPreviewRead = 101;

class CPreviewDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    CPreviewDlg(const std::string& path, QWidget* parent);
    ~CPreviewDlg() override;

    // For tests and the look of it.
    QListWidget* GetDeviceList() const { return m_pDevices; }
    CPanelView* GetPanelView() const { return m_pView; }
    QPlainTextEdit* GetSidePane() const { return m_pSidePane; }
    QLabel* GetPanelLabel() const { return m_pPanelLabel; }
    // The browser over the tree read; null until the reading job succeeded.
    const CPanelBrowser* GetBrowser() const { return m_pBrowser.get(); }
    bool IsRead() const { return m_pBrowser != nullptr; }
    // The reading job has ended and its outcome is shown (or reported).
    bool IsReadingFinished() const { return m_bReadingFinished; }

    // The page keys' work.
    void StepPanel(int delta);

protected:
    bool OnInitDialog() override;
    void OnChildClose(int templateId, int result) override;

private:
    void StartReading();
    void ShowCurrent();
    void OnDeviceChosen(int row);
    void OnButtonClicked(const CCSFSection* button);

    // What the reading job fills in, read after its progress dialog has closed. Shared
    // with the job, so that it stays valid however the two end.
    struct SRead;

    std::string m_path;
    std::shared_ptr<SRead> m_pRead;
    std::unique_ptr<CPanelBrowser> m_pBrowser;
    bool m_bReadingFinished = false;

    QListWidget* m_pDevices = nullptr;
    QLabel* m_pPanelLabel = nullptr;
    CPanelView* m_pView = nullptr;
    QPushButton* m_pPrevious = nullptr;
    QPushButton* m_pNext = nullptr;
    QPlainTextEdit* m_pSidePane = nullptr;
};
