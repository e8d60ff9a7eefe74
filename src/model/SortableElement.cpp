#include "model/SortableElement.h"

#include "core/XmlDocument.h"
#include "model/InitialLetter.h"

int CSortableElement::CompareSortKey(const CSortableElement& other) const
{
    return CompareSortKeys(GetSortKey(), other.GetSortKey());
}

void CSortableElement::AssignNames(const CSortableElement& other)
{
    m_name = other.m_name;
    m_shortName = other.m_shortName;
    m_sortAsName = other.m_sortAsName;
}

void CSortableElement::AppendNameNotes(std::string& text) const
{
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
}

void CSortableElement::WriteNameAttributes(CXmlWriter& writer) const
{
    writer.Attribute("Name", m_name.GetEscaped());
    if (m_shortName.HasText())
        writer.Attribute("ShortName", m_shortName.GetEscaped());
    if (m_sortAsName.HasText())
        writer.Attribute("SortAsName", m_sortAsName.GetEscaped());
}

void CSortableElement::ReadNameAttributes(const xmlNode* element)
{
    std::string text;
    if (GetXmlAttribute(element, "Name", text))
        m_name.SetEscaped(text);
    if (GetXmlAttribute(element, "ShortName", text))
        m_shortName.SetEscaped(text);
    if (GetXmlAttribute(element, "SortAsName", text))
        m_sortAsName.SetEscaped(text);
}
