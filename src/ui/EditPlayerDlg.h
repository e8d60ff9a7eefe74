#pragma once

// Edit Player: every field of one player, with the sixteen button roles in a list whose
// rows are mapped with "Set..." (a button chosen from the input configuration) and
// emptied with "Clear". The dialog works on a copy; OK adds the copy to the players
// collection (a new player) or updates the edited one through the collection, so that
// discs linked to it stay linked. A refused add or update is shown and the dialog stays.

#include "model/Player.h"
#include "ui/TidemarkDialog.h"

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class CCSFAbstractTree;
class CDWConfig;

class CEditPlayerDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    static constexpr int kRowCount = CPlayer::kNumberButtons + static_cast<int>(EPlayerButton::Count);

    // original: the player being edited (null for a new one); start: what the controls
    // show first (a copy of original, or a guess). savedName, when given, receives the
    // name of the player that OK stored.
    CEditPlayerDlg(CDWConfig& config, const CCSFAbstractTree* tree, CPlayer* original, const CPlayer& start,
                   std::string* savedName, QWidget* parent);

    // The row's role: digits 0 to 9, then the other roles in their order.
    static QString GetRowLabel(int row);
    const CCSFButtonPath* GetRowPath(int row) const;
    // What the selection tree chose for a row, or null to clear it.
    void SetRowPath(int row, const CCSFButtonPath* path);
    void SetJumpPanel(const CCSFPanelPath* path);
    const CPlayer& GetWorkingCopy() const { return m_player; }

    QTreeWidget* GetMappings() const { return m_pMappings; }
    QPushButton* GetSetButton() const { return m_pSet; }
    QPushButton* GetClearButton() const { return m_pClear; }
    QSpinBox* GetPadSpin() const { return m_pPad; }
    QLabel* GetPadLabel() const { return m_pPadUnit; }
    QLineEdit* GetNameEdit() const { return m_pName; }

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;

private:
    void FillRow(int row);
    void UpdateButtons();
    void UpdatePadLabel();
    void SetClicked();
    // The selection tree for a row's button or for the jump panel; its choice comes back
    // through OnChildClose.
    void OpenButtonSelection();
    void ClearClicked();
    void JumpBrowse();
    void EditName(QLineEdit* field, const char* title);
    void ReadControls();

    CDWConfig& m_config;
    const CCSFAbstractTree* m_pTree;
    CPlayer* m_pOriginal;
    CPlayer m_player;
    std::string* m_pSavedName;
    int m_nSelectingRow = -1;

    QLineEdit* m_pName;
    QLineEdit* m_pShortName;
    QSpinBox* m_pPad;
    QLabel* m_pPadUnit;
    QSpinBox* m_pDelay;
    QCheckBox* m_pOnlyIdentical;
    QCheckBox* m_pJump;
    QLineEdit* m_pJumpPath;
    QPushButton* m_pJumpBrowse;
    QSpinBox* m_pTrackDelay;
    QTreeWidget* m_pMappings;
    QPushButton* m_pSet;
    QPushButton* m_pClear;
};
