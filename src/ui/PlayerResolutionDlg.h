#pragma once

// Player Resolution: the discs an execution found without a player, to be linked to a
// player or deleted. When none is left the library (and the players, when they changed)
// are saved by job 10, the owner's proceed flag is set and the dialog closes, so the
// execution goes on; Cancel closes without the flag and the execution ends quietly.

#include "generate/ExecutionPipeline.h"
#include "ui/TidemarkDialog.h"

#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class CDisc;
class CPlayer;

class CPlayerResolutionDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // unlinked: the discs to resolve (resolved ones are taken out of it); proceed: the
    // owner's flag, set only when every disc was resolved and saved. Neither owned.
    CPlayerResolutionDlg(const CExecutionContext& context, std::vector<CDisc*>* unlinked, bool* proceed,
                         QWidget* parent);

    QTreeWidget* GetDiscList() const { return m_pDiscs; }
    QListWidget* GetPlayerList() const { return m_pPlayers; }
    QRadioButton* GetSetPlayerRadio() const { return m_pSetPlayer; }
    QRadioButton* GetDeleteRadio() const { return m_pDelete; }
    QPushButton* GetApplyButton() const { return m_pApply; }
    QPushButton* GetNewPlayerButton() const { return m_pNewPlayer; }
    QString GetIntroText() const;

    void SelectAll();
    void SelectNone();
    // Applies the chosen action to the selected discs.
    void Apply();
    // Cancel: closes without the proceed flag.
    void reject() override;

    // The "Player" column of a disc: its player's name; for a disc without a player the
    // name it keeps, with " (Non-existent)" when no player has that name.
    static QString PlayerColumnText(const CDisc& disc, const CExecutionContext& context);

protected:
    bool OnInitDialog() override;
    void OnChildClose(int templateId, int result) override;

private:
    void FillDiscs();
    void FillPlayers();
    void UpdateControls();
    std::vector<CDisc*> SelectedDiscs() const;
    void StartSaveJob();

    CExecutionContext m_context;
    std::vector<CDisc*>* m_pUnlinked;
    bool* m_pProceed;
    // The players when "New Player" was pressed.
    std::vector<void*> m_playersBefore;

    QLabel* m_pIntro;
    QTreeWidget* m_pDiscs;
    QRadioButton* m_pSetPlayer;
    QListWidget* m_pPlayers;
    QPushButton* m_pNewPlayer;
    QRadioButton* m_pDelete;
    QPushButton* m_pApply;

    // Written by job 10, read when its progress dialog has closed.
    bool m_bSaved = false;
    CErrorRecord m_errors;
};
