#pragma once

// What artists and discs have in common: a name, an optional short name that generated
// buttons show instead, and an optional sort-as name that orders the element instead
// of its name. The names are stored escaped in the attributes "Name", "ShortName" and
// "SortAsName".

#include "core/NameText.h"
#include "core/NamedCollection.h"
#include "core/XmlWriter.h"

#include <libxml/tree.h>

#include <string>

class CSortableElement : public CNamedElement
{
public:
    const CNameText& GetName() const override { return m_name; }
    CNameText& GetName() { return m_name; }
    const CNameText& GetShortName() const { return m_shortName; }
    CNameText& GetShortName() { return m_shortName; }
    const CNameText& GetSortAsName() const { return m_sortAsName; }
    CNameText& GetSortAsName() { return m_sortAsName; }
    // The sort-as name when it has text, else the name.
    const CNameText& GetSortKey() const { return m_sortAsName.HasText() ? m_sortAsName : m_name; }
    // The short name when it has text, else the name.
    const CNameText& GetDisplayShortName() const { return m_shortName.HasText() ? m_shortName : m_name; }

protected:
    CSortableElement() = default;
    // Copies the names; like every element copy it belongs to no collection.
    CSortableElement(const CSortableElement& other) = default;
    CSortableElement& operator=(const CSortableElement& other) = default;
    ~CSortableElement() override = default;

    // By sort key: keys not starting with an ASCII letter first, then ignoring case.
    int CompareSortKey(const CSortableElement& other) const;
    void AssignNames(const CSortableElement& other);
    // Appends " (short name)" and " (Sort As: sort-as name)" for the names that are set.
    void AppendNameNotes(std::string& text) const;
    // "Name" always, "ShortName" and "SortAsName" only when set.
    void WriteNameAttributes(CXmlWriter& writer) const;
    // Names whose attribute is absent keep their value.
    void ReadNameAttributes(const xmlNode* element);

    CNameText m_name;
    CNameText m_shortName;
    CNameText m_sortAsName;
};
