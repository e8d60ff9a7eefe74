#pragma once

// The Slot Report: five tabs ("Lowest", "Highest", "Gaps", "Duplicates", "All Discs")
// over one list of the report's rows. A click on a column heading sorts by it; a second
// click on the same column, while the rows are unchanged, reverses the order.
//
// The data is collected beforehand by job 13 (StartSlotReport); the dialog only reads it,
// so the library must not change while the dialog is open (its owner is busy then).

#include "exchange/SlotReport.h"
#include "ui/TidemarkDialog.h"

class QTabBar;
class QTreeWidget;
class CLibrary;
class CProgressJob;

class CSlotReportDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    CSlotReportDlg(const CSlotReportData& data, QWidget* parent);

    QTabBar* GetTabs() const { return m_pTabs; }
    QTreeWidget* GetList() const { return m_pList; }
    void ShowTab(int tab);
    // As a click on the heading of column does.
    void SortByColumn(int column);
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsSortAscending() const { return m_bAscending; }

protected:
    bool OnInitDialog() override;

private:
    void Fill();

    const CSlotReportData& m_data;
    CSlotReportRows m_rows;
    int m_nSortColumn = 0;
    bool m_bAscending = true;
    int m_nSortedRowCount = -1;
    QTabBar* m_pTabs;
    QTreeWidget* m_pList;
};

// Job 13: fills data from the library ("Generating Slot Report...", "Please wait").
CProgressJob* NewSlotReportJob(CSlotReportData& data, const CLibrary& library);
