#pragma once

// The library: the root of lists -> artists -> discs -> tracks that the user edits and
// that list generation turns into devices. Including this header gives the whole
// library model.

#include "core/ErrorRecord.h"
#include "core/NamedCollection.h"
#include "model/Artist.h"
#include "model/Disc.h"
#include "model/HardButton.h"
#include "model/LibList.h"
#include "model/Player.h"
#include "model/Track.h"
#include "model/TreePresentation.h"

#include "core/XmlWriter.h"

#include <libxml/tree.h>

#include <set>
#include <string>

class CCSFAbstractTree;

class CLibrary
{
public:
    CLibrary() = default;
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;
    virtual ~CLibrary() = default;

    // Keep-sorted off when created; the file's "KeepChildrenSorted" sets it.
    CNamedCollection<CLibList>& GetLists() { return m_lists; }
    const CNamedCollection<CLibList>& GetLists() const { return m_lists; }

    // True when the list collection or anything below it changed.
    virtual bool IsModified() const;
    // Clears the flags of every collection down to the tracks.
    virtual void ClearModified();

    // Links every disc to its player by device name; discs left unlinked are collected
    // in `unlinked` when given.
    void LinkPlayers(const CPlayers& players, std::set<CDisc*>* unlinked);
    // Tells every disc that `player` is being deleted (its discs become unresolved).
    void PlayerRemoved(const CPlayer* player);
    // The highest disc number of `player` over the whole library; 0 when none.
    int GetHighestDiscNumber(const CPlayer* player) const;
    // Resolves the CSF paths of every list in order, stopping at the first failure.
    bool ResolvePaths(CErrorRecord* errors, const CCSFAbstractTree* tree);

    // Totals over the whole library.
    std::uint32_t GetArtistCount() const;
    std::uint32_t GetDiscCount() const;
    std::uint32_t GetTrackCount() const;

    // ---- tree presentation ----
    std::string GetDisplayText() const { return "Lists"; }
    static const CTreeLabels& GetTreeLabels();
    std::string GetDeleteQuestion() const { return std::string(); }

    // The "Library" element with one "Volume" per list.
    void WriteXml(CXmlWriter& writer) const;
    // Adds the lists of a "Library" element to this library (its "KeepChildrenSorted",
    // when present, replaces the setting); stops at the first list that cannot be read
    // or added (for instance a duplicate name), keeping the lists added before.
    bool ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element);

private:
    CNamedCollection<CLibList> m_lists;
};
