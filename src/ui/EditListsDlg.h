#pragma once

// "Edit Lists": the library as a tree (lists, artists, discs; a level is filled when it
// is first expanded), with the buttons of the selected node: Add, Edit (also a double
// click), Delete (after the node's question, when it has one), Move Up, Move Down, Sort
// and Keep Sorted; discs are dragged between the artists of one list. OK saves the
// library file when anything changed (job 8); Cancel with changes asks, then reloads
// it (job 7). "Import", "Export" and "Report" belong to the exchange dialogs and
// "Manage" has no function yet: they stay disabled here. Every button is reachable by
// its object name: "add", "edit", "delete", "moveUp", "moveDown", "sort", "keepSorted"
// (the check box), "import", "export", "report", "manage".

#include "ui/TidemarkDialog.h"

#include "core/ErrorRecord.h"
#include "exchange/SlotReport.h"

#include "ui/LibraryTree.h"

#include <string>
#include <unordered_map>

class CArtist;
class CCFWrapper;
class CCSFAbstractTree;
class CDisc;
class CDWConfig;
class CLibList;
class CLibrary;
class CEditListsDlg;
class QCheckBox;
class QPushButton;

class CEditListsDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    using ENodeKind = ELibraryNode;

    // The configuration holds the library, the players and the library file; the
    // wrapper the configuration read by the last preparation (may be null).
    CEditListsDlg(CDWConfig* config, CCFWrapper* wrapper, QWidget* parent = nullptr);

    CLibraryTree* GetTree() const { return m_pTree; }
    // The item of a library object (the library itself for the root), filling the
    // levels above it as needed; null when it is not in the tree.
    QTreeWidgetItem* ItemFor(const void* object);
    // Selects the item of object; false when there is none.
    bool SelectObject(const void* object);
    static ENodeKind KindOf(const QTreeWidgetItem* item);

    // A disc dropped on an artist or on one of its discs.
    void DropDisc(QTreeWidgetItem* discItem, QTreeWidgetItem* target);
    // The disc carried by a drag started in this dialog's tree; null for any other data.
    CDisc* DiscFromDragData(const QMimeData* data) const;

    // Cancel: asks "Discard your changes?" when the library changed.
    void reject() override;

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;
    void OnChildClose(int templateId, int result) override;

private:
    void Fill();
    QTreeWidgetItem* MakeItem(ENodeKind kind, const void* object, bool hasChildren);
    static void SetItemText(QTreeWidgetItem* item);
    void FillChildren(QTreeWidgetItem* item);
    // Makes item's children follow its collection: order, new and removed elements.
    void Sync(QTreeWidgetItem* item);
    void ForgetItem(QTreeWidgetItem* item);

    void UpdateButtons();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnMove(bool up);
    // Applies f to the selected node's collection and shows its new order.
    template <class F> void ChangeSiblings(F f);
    void OpenListEditor(CLibList* list);
    void OpenArtistEditor(CArtist* artist);
    void OpenDiscEditor(CDisc* disc, CLibList* list, CArtist* artist, QTreeWidgetItem* from);
    void DiscChanged(CDisc* disc);
    void RunLibraryJob(int jobId);
    // "Import" and "Export": the exchange dialog; the tree is rebuilt when it closes.
    void OpenExchange(bool importing);
    // "Report": job 13 collects the slot report, then the report dialog shows it.
    void OnReport();
    void ReportTreeError(const char* what, bool notInMap);

    CDWConfig* m_pConfig;
    CLibrary* m_pLibrary;
    CCFWrapper* m_pWrapper;
    CLibraryTree* m_pTree = nullptr;
    std::unordered_map<const void*, QTreeWidgetItem*> m_items;

    QPushButton* m_pAdd = nullptr;
    QPushButton* m_pEdit = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pMoveUp = nullptr;
    QPushButton* m_pMoveDown = nullptr;
    QPushButton* m_pSort = nullptr;
    QCheckBox* m_pKeepSorted = nullptr;

    // What the job reports, read once its progress dialog has closed.
    CErrorRecord m_jobErrors;
    CWarningList m_jobWarnings;
    bool m_bJobOk = false;
    int m_nJob = 0;
    bool m_bCloseAfterListing = false;
    // The slot report's data, filled by job 13 and kept while the report is open.
    CSlotReportData m_slotReport;
    // Discs whose artist changed while the disc editor was open, to re-place them.
    const CArtist* m_pEditedDiscArtist = nullptr;
};

// Registers "Edit Lists" as the editor the main window's "Lists..." opens.
void RegisterLibraryEditors();
void UnregisterLibraryEditors();
