#pragma once

// The selection tree: the input configuration's devices, their panels with their
// buttons, and each device's "Hard Buttons", to choose a jump panel ("Select Jump
// Panel"), a link button ("Select Link Button") or a button to alias ("Select Button").
// Names shared among siblings are marked "  (non-unique name)": a path to them matches
// all of them.
//
// The caller gets the choice through the callback, called on OK before the dialog
// closes; the paths handed over are the caller's to copy (they die with the call).
//
//     auto* tree = new CSelectionTreeDlg(ESelectKind::JumpPanel, wrapper->GetAbstractTree(), this);
//     tree->SetOnChosen([this](const CCSFPanelPath* panel, const CCSFButtonPath*) { ... });
//     OpenChild(tree, kSelectionTreeDialog, false, true);

#include "ui/TidemarkDialog.h"

#include <functional>

class CCSFAbstractTree;
class CCSFButtonPath;
class CCSFPanelPath;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

enum class ESelectKind { JumpPanel, LinkButton, Button };

class CSelectionTreeDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    using ChosenFunction = std::function<void(const CCSFPanelPath* panel, const CCSFButtonPath* button)>;

    // tree may be null (no configuration read): the dialog then cannot open, with
    // "Error populating tree".
    CSelectionTreeDlg(ESelectKind kind, const CCSFAbstractTree* tree, QWidget* parent = nullptr);

    static QString Title(ESelectKind kind);
    void SetOnChosen(ChosenFunction chosen) { m_chosen = std::move(chosen); }
    // Selects the first node the names lead to (plain names, case ignored; an empty
    // panel name means a hard button), for editing an existing choice.
    void SelectPath(const char* device, const char* panel, const char* button);

    QTreeWidget* GetTree() const { return m_pTree; }
    QPushButton* GetOkButton() const { return m_pOk; }
    // The node of a device, panel or button reached by display texts; null when none.
    QTreeWidgetItem* FindItem(const QStringList& texts) const;

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;

private:
    bool Fill();
    void UpdateOk();
    bool IsChoosable(const QTreeWidgetItem* item) const;

    ESelectKind m_kind;
    const CCSFAbstractTree* m_pCsfTree;
    ChosenFunction m_chosen;
    QTreeWidget* m_pTree = nullptr;
    QPushButton* m_pOk = nullptr;
};
