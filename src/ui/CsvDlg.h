#pragma once

// The CSV dialog: which column of the file holds which of the eleven library fields,
// with a preview of the file as it stands ("CSV:") and of the library data it gives or
// comes from ("Data:"). OK saves the assignment to the settings and runs job 15 (the
// import or export itself); "Update Preview" runs job 16. The side of the preview that
// does not depend on the assignment is made only the first time.

#include "core/CsvTable.h"
#include "core/ErrorRecord.h"
#include "exchange/CsvExchange.h"
#include "ui/TidemarkDialog.h"

#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class CUpDown;
class QTreeView;
class CCsvPreviewModel;
class CDWConfig;

class CCsvDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    CCsvDlg(bool importing, CDWConfig& config, const std::string& fileName, QWidget* parent);
    ~CCsvDlg() override;

    // The assignment the controls show: a field counts only when its box is ticked.
    CCsvColumnMap ReadMap() const;
    // Shows "No columns defined." or "Column %d defined for multiple fields." under
    // "Try again" and returns false when the assignment cannot be used.
    bool ValidateMap(const CCsvColumnMap& map);
    void UpdatePreview();

    QCheckBox* GetCheck(int field) const { return m_rows[field].check; }
    QLineEdit* GetNumber(int field) const { return m_rows[field].number; }
    CUpDown* GetSpin(int field) const { return m_rows[field].spin; }
    // The views labelled "CSV:" and "Data:" (which one is on top depends on the direction).
    QTreeView* GetCsvView() const { return m_pCsvView; }
    QTreeView* GetDataView() const { return m_pDataView; }
    QPushButton* GetPreviewButton() const { return m_pPreview; }
    int GetPreviewRuns() const { return m_nPreviewRuns; }

    // Shows a table in a view: headed "#1", "#2", ... (csv) or with the field headings.
    static void FillView(QTreeView* view, std::unique_ptr<CCsvTable> table, bool fieldHeadings);

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;
    void OnChildClose(int templateId, int result) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct CFieldRow
    {
        QCheckBox* check = nullptr;
        QLineEdit* number = nullptr;
        CUpDown* spin = nullptr;
    };
    void SetRow(int field, int column);
    void CheckToggled(int field);
    void NumberEdited(int field);
    void SpinMoved(int field);
    void StretchLastColumns();

    bool m_bImporting;
    CDWConfig& m_config;
    std::string m_fileName;
    CFieldRow m_rows[kCsvFieldCount];
    bool m_bGuard = false;

    bool m_bSucceeded = false;
    CErrorRecord m_errors;
    CWarningList m_warnings;
    CCsvColumnMap m_jobMap;
    std::unique_ptr<CCsvTable> m_pCsvTable;
    std::unique_ptr<CCsvTable> m_pDataTable;
    bool m_bFixedSideMade = false;
    int m_nPreviewRuns = 0;

    QTreeView* m_pCsvView;
    QTreeView* m_pDataView;
    QPushButton* m_pPreview;
};
