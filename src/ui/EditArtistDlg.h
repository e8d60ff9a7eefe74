#pragma once

// "Edit Artist / Category": the artist's name, short name and sort-as name. Works on a
// copy; OK adds a new artist to its list or updates the edited one through the list's
// collection, and a refusal keeps the editor open with the reason.

#include "model/Library.h"
#include "ui/TidemarkDialog.h"

#include <functional>

class QLineEdit;

class CEditArtistDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // artist null: a new artist for list.
    CEditArtistDlg(CLibList* list, CArtist* artist, QWidget* parent = nullptr);

    // Called on a successful OK with the added or updated artist, before closing.
    void SetOnDone(std::function<void(CArtist*)> done) { m_done = std::move(done); }

    QLineEdit* GetNameEdit() const { return m_pName; }
    QLineEdit* GetShortEdit() const { return m_pShort; }
    QLineEdit* GetSortAsEdit() const { return m_pSortAs; }

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;

private:
    CLibList* m_pList;
    CArtist* m_pArtist;
    CArtist m_copy;
    std::function<void(CArtist*)> m_done;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pShort = nullptr;
    QLineEdit* m_pSortAs = nullptr;
};
