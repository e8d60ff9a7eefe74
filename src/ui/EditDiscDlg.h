#pragma once

// "Edit Disc / Item": the disc's player and number, its artist (with "New..." for a new
// artist), its three names and its tracks. Works on a copy. OK on a new disc adds it
// and keeps the editor open for the next disc of the same player, numbered one higher;
// OK on an existing disc updates it (moving it when the artist changed) and closes.

#include "model/Library.h"
#include "ui/TidemarkDialog.h"

#include <functional>

class CClampSpinBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class CEditDiscDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // disc null: a new disc of list, under artist when given; its player is player when
    // given (then numbered one above the library's highest disc of that player).
    CEditDiscDlg(CLibrary* library, CPlayers* players, CLibList* list, CArtist* artist, CDisc* disc,
                 CPlayer* player, QWidget* parent = nullptr);

    // Called for every disc added or updated (a new disc editor adds several), and for
    // an artist added through "New...".
    void SetOnDiscDone(std::function<void(CDisc*)> done) { m_discDone = std::move(done); }
    void SetOnArtistAdded(std::function<void(CArtist*)> added) { m_artistAdded = std::move(added); }

    QComboBox* GetPlayerBox() const { return m_pPlayers; }
    CClampSpinBox* GetNumberBox() const { return m_pNumber; }
    QComboBox* GetArtistBox() const { return m_pArtists; }
    QLineEdit* GetNameEdit() const { return m_pName; }
    QLineEdit* GetShortEdit() const { return m_pShort; }
    QLineEdit* GetSortAsEdit() const { return m_pSortAs; }
    QTreeWidget* GetTrackList() const { return m_pTracks; }
    QCheckBox* GetIgnoreAll() const { return m_pIgnoreAll; }
    // The copy being edited (its tracks are what the track list shows).
    CDisc& GetCopy() { return m_copy; }

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;

private:
    bool FillPlayers();
    bool FillArtists(const CArtist* select);
    void FillTracks(const CTrack* select);
    void FillFields();
    CPlayer* SelectedPlayer() const;
    CArtist* SelectedArtist() const;
    void PlayerChosen();
    void NewArtist();
    void AddTrack();
    void EditTrack();
    void DeleteTrack();
    void UpdateTrackButtons();
    CTrack* SelectedTrack() const;
    bool StoreAndAdd();

    CLibrary* m_pLibrary;
    CPlayers* m_pPlayerList;
    CLibList* m_pList;
    CDisc* m_pDisc;
    CDisc m_copy;
    CArtist* m_pInitialArtist;
    CNameText m_unresolvedName; // the device name of a disc whose player is unknown
    std::function<void(CDisc*)> m_discDone;
    std::function<void(CArtist*)> m_artistAdded;

    QComboBox* m_pPlayers = nullptr;
    CClampSpinBox* m_pNumber = nullptr;
    QComboBox* m_pArtists = nullptr;
    QPushButton* m_pNewArtist = nullptr;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pShort = nullptr;
    QLineEdit* m_pSortAs = nullptr;
    QTreeWidget* m_pTracks = nullptr;
    QPushButton* m_pAddTrack = nullptr;
    QPushButton* m_pEditTrack = nullptr;
    QPushButton* m_pDeleteTrack = nullptr;
    QCheckBox* m_pIgnoreAll = nullptr;
};
