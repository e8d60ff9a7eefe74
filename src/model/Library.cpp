#include "model/Library.h"

#include "core/XmlDocument.h"

#include <memory>

bool CLibrary::IsModified() const
{
    if (m_lists.IsModified())
        return true;
    for (const CLibList* list : m_lists) {
        if (list->IsModified())
            return true;
    }
    return false;
}

void CLibrary::ClearModified()
{
    m_lists.ClearModified();
    for (CLibList* list : m_lists)
        list->ClearModified();
}

void CLibrary::LinkPlayers(const CPlayers& players, std::set<CDisc*>* unlinked)
{
    for (CLibList* list : m_lists)
        for (CArtist* artist : list->GetArtists())
            for (CDisc* disc : artist->GetDiscs())
                disc->LinkPlayer(players, unlinked);
}

void CLibrary::PlayerRemoved(const CPlayer* player)
{
    for (CLibList* list : m_lists)
        for (CArtist* artist : list->GetArtists())
            for (CDisc* disc : artist->GetDiscs())
                disc->PlayerRemoved(player);
}

int CLibrary::GetHighestDiscNumber(const CPlayer* player) const
{
    int highest = 0;
    for (const CLibList* list : m_lists) {
        int n = list->GetHighestDiscNumber(player);
        if (n > highest)
            highest = n;
    }
    return highest;
}

bool CLibrary::ResolvePaths(CErrorRecord* errors, const CCSFAbstractTree* tree)
{
    for (CLibList* list : m_lists) {
        if (!list->ResolveCsfPaths(errors, tree))
            return false;
    }
    return true;
}

std::uint32_t CLibrary::GetArtistCount() const
{
    std::uint32_t count = 0;
    for (const CLibList* list : m_lists)
        count += list->GetArtists().GetCount();
    return count;
}

std::uint32_t CLibrary::GetDiscCount() const
{
    std::uint32_t count = 0;
    for (const CLibList* list : m_lists)
        count += list->GetDiscCount();
    return count;
}

std::uint32_t CLibrary::GetTrackCount() const
{
    std::uint32_t count = 0;
    for (const CLibList* list : m_lists)
        for (const CArtist* artist : list->GetArtists())
            for (const CDisc* disc : artist->GetDiscs())
                count += disc->GetTracks().GetCount();
    return count;
}

const CTreeLabels& CLibrary::GetTreeLabels()
{
    static const CTreeLabels labels{"Add List", "Edit", "Delete", "Sort"};
    return labels;
}

void CLibrary::WriteXml(CXmlWriter& writer) const
{
    writer.StartElement("Library");
    writer.BoolAttribute("KeepChildrenSorted", m_lists.IsKeepSorted());
    for (const CLibList* list : m_lists)
        list->WriteXml(writer);
    writer.EndElement();
}

bool CLibrary::ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element)
{
    int value = 0;
    if (GetXmlIntAttribute(element, "KeepChildrenSorted", value))
        m_lists.SetKeepSorted(value != 0);
    for (const xmlNode* child = FirstXmlChildElement(element); child; child = NextXmlSiblingElement(child)) {
        if (!IsXmlElement(child, "Volume"))
            continue;
        auto list = std::make_unique<CLibList>(this);
        if (!list->ReadXml(errors, warnings, child) || !m_lists.Add(errors, list.get()))
            return false;
        list.release();
    }
    return true;
}
