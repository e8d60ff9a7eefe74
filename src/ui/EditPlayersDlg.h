#pragma once

// Edit Players: the players collection with Add, Edit (or a double click) and Delete.
// Changes go straight into the collection; OK saves the players file and the library
// (job 6) when anything changed, Cancel after "Discard your changes?" reloads the
// players file (job 5). Deleting a player unlinks its discs, which keep its name and so
// show as unresolved until the player comes back or they are given another.

#include "core/ErrorRecord.h"
#include "ui/TidemarkDialog.h"

#include <string>

class QListWidget;
class QPushButton;
class CCSFAbstractTree;
class CDWConfig;
class CPlayer;

class CEditPlayersDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // tree: the input configuration's devices for guessing and picking buttons (may be
    // null).
    CEditPlayersDlg(CDWConfig& config, const CCSFAbstractTree* tree, QWidget* parent);

    QListWidget* GetList() const { return m_pList; }
    // Fills the list from the collection and selects the named player (or the first).
    void Refresh(const std::string& select = std::string());
    CPlayer* GetSelectedPlayer() const;
    void AddPlayer();
    void EditPlayer();
    void DeletePlayer();

    void reject() override;

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;
    void OnChildClose(int templateId, int result) override;

private:
    void UpdateButtons();
    void RunJob(bool save);

    CDWConfig& m_config;
    const CCSFAbstractTree* m_pTree;
    std::string m_childName; // the player Add Player or Edit Player stored
    bool m_bSucceeded = false;
    bool m_bCloseAfterListing = false;
    CErrorRecord m_errors;
    CWarningList m_warnings;

    QListWidget* m_pList;
    QPushButton* m_pEdit;
    QPushButton* m_pDelete;
};
