#pragma once

// An artist ("Artist / Category") of a list, holding its discs.

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"
#include "model/Disc.h"
#include "model/SortableElement.h"
#include "model/TreePresentation.h"

#include "core/XmlWriter.h"

#include <libxml/tree.h>

#include <string>

class CLibList;
class CPlayer;

class CArtist : public CSortableElement
{
public:
    CArtist() = default;
    explicit CArtist(CLibList* list) : m_pList(list) {}
    // A copy keeps the list and takes the names only (as Assign), no discs.
    CArtist(const CArtist& other) : CSortableElement(other), m_pList(other.m_pList) {}
    CArtist& operator=(const CArtist& other)
    {
        Assign(other);
        return *this;
    }
    ~CArtist() override = default;

    // ---- collection element ----
    const char* GetTypeName() const override { return "artist"; }
    // Needs a name ("%s has no name") and a list ("%s not associated with a list").
    bool IsValid(CErrorRecord* errors) const override;
    // By sort key: keys not starting with an ASCII letter first, then ignoring case.
    int Compare(const CArtist& other) const;
    // Takes the name, short name and sort-as name; discs, list and keep-sorted stay.
    void Assign(const CArtist& other);

    CLibList* GetList() const { return m_pList; }
    void SetList(CLibList* list) { m_pList = list; }
    CNamedCollection<CDisc>& GetDiscs() { return m_discs; }
    const CNamedCollection<CDisc>& GetDiscs() const { return m_discs; }

    // The highest number of the discs that use `player`; 0 when none does.
    int GetHighestDiscNumber(const CPlayer* player) const;

    bool IsModified() const;
    void ClearModified();

    // ---- tree presentation ----
    // The name, then " (short name)" and " (Sort As: sort-as name)" when set.
    std::string GetDisplayText() const;
    static const CTreeLabels& GetTreeLabels();
    // "Delete artist \"%s\" containing %u disc%s?", or empty for an artist without discs.
    std::string GetDeleteQuestion() const;

    void WriteXml(CXmlWriter& writer) const;
    // Stops at the first disc that cannot be read or added (the reason is recorded);
    // what was read before stays.
    bool ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element);

private:
    CNamedCollection<CDisc> m_discs; // keep-sorted off when created
    CLibList* m_pList = nullptr;
};
