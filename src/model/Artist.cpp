#include "model/Artist.h"

#include "core/XmlDocument.h"
#include "model/InitialLetter.h"

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
    return CompareSortKeys(GetSortKey(), other.GetSortKey());
}

void CArtist::Assign(const CArtist& other)
{
    if (this == &other)
        return;
    m_name = other.m_name;
    m_shortName = other.m_shortName;
    m_sortAsName = other.m_sortAsName;
}

const CNameText& CArtist::GetSortKey() const
{
    return m_sortAsName.HasText() ? m_sortAsName : m_name;
}

const CNameText& CArtist::GetDisplayShortName() const
{
    return m_shortName.HasText() ? m_shortName : m_name;
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
    if (m_shortName.HasText()) {
        text += " (";
        text += m_shortName.GetPlain();
        text += ")";
    }
    if (m_sortAsName.HasText()) {
        text += " (Sort As: ";
        text += m_sortAsName.GetPlain();
        text += ")";
    }
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
    writer.Attribute("Name", m_name.GetEscaped());
    if (m_shortName.HasText())
        writer.Attribute("ShortName", m_shortName.GetEscaped());
    if (m_sortAsName.HasText())
        writer.Attribute("SortAsName", m_sortAsName.GetEscaped());
    writer.BoolAttribute("KeepChildrenSorted", m_discs.IsKeepSorted());
    for (const CDisc* disc : m_discs)
        disc->WriteXml(writer);
    writer.EndElement();
}

bool CArtist::ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element)
{
    std::string text;
    if (GetXmlAttribute(element, "Name", text))
        m_name.SetEscaped(text);
    if (GetXmlAttribute(element, "ShortName", text))
        m_shortName.SetEscaped(text);
    if (GetXmlAttribute(element, "SortAsName", text))
        m_sortAsName.SetEscaped(text);
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
