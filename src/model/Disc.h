#pragma once

// A disc ("Disc / Item"): one thing a player can play, in a numbered slot of that
// player. It belongs to an artist and holds its tracks. In memory it points at its
// player; while it is not linked, the player's name is kept as its device name
// (exactly one of the two carries the player's identity).

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"
#include "model/SortableElement.h"
#include "model/Track.h"
#include "model/TreePresentation.h"

#include "core/XmlWriter.h"

#include <libxml/tree.h>

#include <set>
#include <string>

class CArtist;
class CCSFSection;
class CLibList;
class CPlayer;
using CPlayers = CNamedCollection<CPlayer>;

class CDisc : public CSortableElement
{
public:
    static constexpr int kMaxNumber = 32767;

    CDisc();
    explicit CDisc(CArtist* artist);
    // A copy keeps the artist (so that it passes IsValid as an edited copy).
    CDisc(const CDisc& other);
    CDisc& operator=(const CDisc& other)
    {
        Assign(other);
        return *this;
    }
    ~CDisc() override = default;

    // ---- collection element ----
    const char* GetTypeName() const override { return "disc"; }
    // Needs a name ("%s has no name") and an artist ("%s not associated with an artist").
    bool IsValid(CErrorRecord* errors) const override;
    // As artists: by sort key, '#' keys first, then ignoring case.
    int Compare(const CDisc& other) const;
    // Takes names, number, player link (or device name), a deep copy of the tracks
    // (re-parented to this disc) and ignore tracks; the artist stays.
    void Assign(const CDisc& other);

    // ---- fields ----
    int GetNumber() const { return m_nNumber; }
    // Limited to 0..32767.
    void SetNumber(int number);
    bool GetIgnoreTracks() const { return m_bIgnoreTracks; }
    void SetIgnoreTracks(bool ignore) { m_bIgnoreTracks = ignore; }

    CPlayer* GetPlayer() const { return m_pPlayer; }
    // Links the disc to player (null: no player at all) and empties the device name.
    void SetPlayer(CPlayer* player);
    // The player's name kept while the disc is not linked.
    const CNameText& GetDeviceName() const { return m_deviceName; }
    void SetDeviceName(const CNameText& name) { m_deviceName = name; }
    // Unless already linked: links to the player named by the device name (case
    // ignored); a disc still unlinked goes into `unlinked` when given.
    void LinkPlayer(const CPlayers& players, std::set<CDisc*>* unlinked);
    // If linked to `player`: unlinks and keeps the player's plain name as device name.
    void PlayerRemoved(const CPlayer* player);

    CArtist* GetArtist() const { return m_pArtist; }
    void SetArtist(CArtist* artist) { m_pArtist = artist; }
    CLibList* GetList() const;

    CNamedCollection<CTrack>& GetTracks() { return m_tracks; }
    const CNamedCollection<CTrack>& GetTracks() const { return m_tracks; }

    // Appends the player's disc sequence for this disc's number, with the list's jump
    // panel preferred as jump target. Nothing without a player.
    void AddPlaySequence(CCSFSection* actions, bool jump) const;

    // For a linked disc: the player's escaped short name followed by the number.
    std::string GetSlotLabel() const;
    // "list: artist: disc" (plain names; parts that are missing are empty).
    std::string GetFullName() const;

    // ---- tree presentation ----
    std::string GetDisplayText() const;
    static const CTreeLabels& GetTreeLabels();
    // "Delete disc \"%s\" containing %u track%s?" for a disc with tracks, else empty.
    std::string GetDeleteQuestion() const;

    // "Disc" with its tracks in number order.
    void WriteXml(CXmlWriter& writer) const;
    // False when a track cannot be added (a duplicate number); the reason is recorded.
    bool ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element);

private:
    int m_nNumber = 0;
    CPlayer* m_pPlayer = nullptr;
    CNameText m_deviceName;
    bool m_bIgnoreTracks = false;
    CNamedCollection<CTrack> m_tracks;
    CArtist* m_pArtist = nullptr;
};
