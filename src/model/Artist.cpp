#include "model/Artist.h"

#include "core/XmlDocument.h"

#include <cstdio>

bool CArtist::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetTypeName());
        return false;
    }
    if (!m_pList) {
        SetMessage(errors, "%s not associated with a list", GetTypeName());
        return false;
    }
    return true;
}

int CArtist::Compare(const CArtist& other) const
{
    return CompareSortKey(other);
}

void CArtist::Assign(const CArtist& other)
{
    if (this != &other)
        AssignNames(other);
}

int CArtist::GetHighestDiscNumber(const CPlayer* player) const
{
    int highest = 0;
    for (const CDisc* disc : m_discs) {
        if (disc->GetPlayer() == player && disc->GetNumber() > highest)
            highest = disc->GetNumber();
    }
    return highest;
}

bool CArtist::IsModified() const
{
    if (m_discs.IsModified())
        return true;
    for (const CDisc* disc : m_discs) {
        if (disc->GetTracks().IsModified())
            return true;
    }
    return false;
}

void CArtist::ClearModified()
{
    m_discs.ClearModified();
    for (CDisc* disc : m_discs)
        disc->GetTracks().ClearModified();
}

std::string CArtist::GetDisplayText() const
{
    std::string text = m_name.GetPlain();
    AppendNameNotes(text);
    return text;
}

const CTreeLabels& CArtist::GetTreeLabels()
{
    static const CTreeLabels labels{"Add Disc", "Edit Artist", "Delete Artist", "Sort Artists"};
    return labels;
}

std::string CArtist::GetDeleteQuestion() const
{
    std::uint32_t discs = m_discs.GetCount();
    if (discs == 0)
        return std::string();
    char buffer[kErrorTextSize];
    std::snprintf(buffer, sizeof buffer, "Delete artist \"%s\" containing %u disc%s?", m_name.GetDisplay(),
                  discs, PluralS(discs));
    return buffer;
}

void CArtist::WriteXml(CXmlWriter& writer) const
{
    writer.StartElement("Artist");
    WriteNameAttributes(writer);
    writer.BoolAttribute("KeepChildrenSorted", m_discs.IsKeepSorted());
    for (const CDisc* disc : m_discs)
        disc->WriteXml(writer);
    writer.EndElement();
}

bool CArtist::ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element)
{
    ReadNameAttributes(element);
    int value = 0;
    if (GetXmlIntAttribute(element, "KeepChildrenSorted", value))
        m_discs.SetKeepSorted(value != 0);
    for (const xmlNode* child = FirstXmlChildElement(element); child; child = NextXmlSiblingElement(child)) {
        if (!IsXmlElement(child, "Disc"))
            continue;
        CDisc* disc = new CDisc(this);
        if (!disc->ReadXml(errors, warnings, child) || !m_discs.Add(errors, disc)) {
            delete disc;
            return false;
        }
    }
    return true;
}
