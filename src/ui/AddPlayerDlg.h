#pragma once

// Add Player: the user picks a device of the input configuration (or none) to start a
// new player from; the guess for every device, and whether it is already a usable
// player, is shown next to its name. OK (or a double click) opens Edit Player with the
// guess; when Edit Player closes, this dialog closes too, with Edit Player's result.

#include "model/Player.h"
#include "ui/TidemarkDialog.h"

#include <memory>
#include <string>
#include <vector>

class QListWidget;
class CCSFAbstractTree;
class CDWConfig;

class CAddPlayerDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // tree: the input configuration's devices (may be null: only "<None>" is offered).
    // addedName, when given, receives the name of the player Edit Player added.
    CAddPlayerDlg(CDWConfig& config, const CCSFAbstractTree* tree, std::string* addedName, QWidget* parent);

    QListWidget* GetList() const { return m_pList; }
    // The entry's player: an empty one for the first entry, else the device's guess.
    const CPlayer* GetGuess(int row) const;

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;
    void OnChildClose(int templateId, int result) override;

private:
    CDWConfig& m_config;
    const CCSFAbstractTree* m_pTree;
    std::string* m_pAddedName;
    std::vector<std::unique_ptr<CPlayer>> m_guesses; // one per row, the first empty
    QListWidget* m_pList;
};
