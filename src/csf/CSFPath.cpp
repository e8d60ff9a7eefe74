#include "csf/CSFPath.h"

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

const char* const kTypeAttribute = "Type";
const char* const kDeviceAttribute = "CSFDeviceName";
const char* const kPanelAttribute = "CSFPanelName";
const char* const kButtonAttribute = "CSFButtonName";

const xmlChar* X(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

// The attribute's value, or false when it is absent.
bool GetAttribute(xmlNodePtr element, const char* name, std::string& value)
{
    xmlChar* raw = xmlGetProp(element, X(name));
    if (raw == nullptr)
        return false;
    value = reinterpret_cast<const char*>(raw);
    xmlFree(raw);
    return true;
}

// An attribute and the name it holds.
template <class TName> using NamedAttribute = std::pair<const char*, TName*>;

// Adds <CSFPath Type=".."> with an attribute for each name that is not empty.
xmlNodePtr WritePath(xmlNodePtr parent, const char* type,
                     std::initializer_list<NamedAttribute<const CNameText>> names)
{
    if (parent == nullptr)
        return nullptr;
    xmlNodePtr element = xmlNewChild(parent, nullptr, X("CSFPath"), nullptr);
    if (element == nullptr)
        return nullptr;
    xmlSetProp(element, X(kTypeAttribute), X(type));
    for (const auto& [attribute, name] : names) {
        if (name->HasText())
            xmlSetProp(element, X(attribute), X(name->GetEscaped()));
    }
    return element;
}

// Checks the Type and reads every name; an absent attribute leaves its name empty.
bool ReadPath(CErrorRecord* errors, xmlNodePtr element, const char* expected,
              std::initializer_list<NamedAttribute<CNameText>> names)
{
    std::string type;
    if (element == nullptr || !GetAttribute(element, kTypeAttribute, type)) {
        SetMessage(errors, "CSFPath has no type");
        return false;
    }
    if (type != expected) {
        SetMessage(errors, "CSFPath type mismatch: expected \"%s\", got \"%s\"", expected, type.c_str());
        return false;
    }
    std::string value;
    for (const auto& [attribute, name] : names) {
        if (GetAttribute(element, attribute, value))
            name->SetEscaped(value.c_str());
        else
            name->Clear();
    }
    return true;
}

void Describe(CNameText& description, const char* separator, const char* invalid,
              std::initializer_list<const CNameText*> names)
{
    std::string text;
    for (const CNameText* name : names) {
        if (!name->HasText())
            continue;
        if (!text.empty())
            text += separator;
        text += name->GetPlain();
    }
    description.SetPlain(text.empty() ? invalid : text.c_str());
}

bool Exact(const CNameText& a, const CNameText& b)
{
    return std::strcmp(a.GetPlain(), b.GetPlain()) == 0;
}

// A button on a panel must match the panel and its device too, a hard button its device.
bool IsExactButton(const CCSFButton* button, const CNameText& device, const CNameText& panelName,
                   const CNameText& buttonName)
{
    if (!Exact(button->GetName(), buttonName))
        return false;
    if (const CCSFPanel* panel = button->GetPanel())
        return Exact(panel->GetName(), panelName) && panel->GetDevice() != nullptr &&
               Exact(panel->GetDevice()->GetName(), device);
    return button->GetDevice() != nullptr && Exact(button->GetDevice()->GetName(), device);
}

const char* Display(const char* text)
{
    return text != nullptr ? text : "";
}

// The outcome of a lookup that found matchCount elements ignoring case, exact telling
// whether one of them carries the path's names byte for byte.
bool CheckResolved(CErrorRecord* errors, bool requireUnique, size_t matchCount, bool exact,
                   const char* ownerKind, const char* ownerName, const char* what)
{
    if (matchCount == 0)
        SetMessage(errors, "%s \"%s\" has non-existent %s", Display(ownerKind), Display(ownerName),
                   Display(what));
    else if (requireUnique && matchCount > 1)
        SetMessage(errors, "%s \"%s\" has %s which is not unique", Display(ownerKind), Display(ownerName),
                   Display(what));
    else if (!exact)
        SetMessage(errors, "%s \"%s\" has %s which does not exist by that exact, case-sensitive name",
                   Display(ownerKind), Display(ownerName), Display(what));
    else
        return true;
    return false;
}

} // namespace

// ---- CCSFPanelPath ------------------------------------------------------------------

bool CCSFPanelPath::Validate(CErrorRecord* errors) const
{
    if (!m_deviceName.HasText()) {
        SetMessage(errors, "panel path has no device name");
        return false;
    }
    if (!m_panelName.HasText()) {
        SetMessage(errors, "panel path has no panel name");
        return false;
    }
    return true;
}

const char* CCSFPanelPath::GetDescription() const
{
    if (m_description.IsEmpty())
        Describe(m_description, m_pSeparator, "<invalid CSF panel path>", {&m_deviceName, &m_panelName});
    return m_description.GetPlain();
}

xmlNodePtr CCSFPanelPath::WriteXml(xmlNodePtr parent) const
{
    return WritePath(parent, "Panel", {{kDeviceAttribute, &m_deviceName}, {kPanelAttribute, &m_panelName}});
}

bool CCSFPanelPath::ReadXml(CErrorRecord* errors, xmlNodePtr element)
{
    if (!ReadPath(errors, element, "Panel",
                  {{kDeviceAttribute, &m_deviceName}, {kPanelAttribute, &m_panelName}}))
        return false;
    m_description.Clear();
    return Validate(errors);
}

bool CCSFPanelPath::Resolve(CErrorRecord* errors, bool requireUnique, const CCSFAbstractTree* tree,
                            const char* ownerKind, const char* ownerName, const char* what)
{
    m_matches.clear();
    if (tree != nullptr)
        tree->FindPanels(m_matches, m_deviceName.GetPlain(), m_panelName.GetPlain());
    bool exact = std::any_of(m_matches.begin(), m_matches.end(), [this](const CCSFPanel* panel) {
        return Exact(panel->GetName(), m_panelName) && panel->GetDevice() != nullptr &&
               Exact(panel->GetDevice()->GetName(), m_deviceName);
    });
    return CheckResolved(errors, requireUnique, m_matches.size(), exact, ownerKind, ownerName, what);
}

// ---- CCSFButtonPath -----------------------------------------------------------------

const CNameText& CCSFButtonPath::GetName() const
{
    GetDescription();
    return m_description;
}

int CCSFButtonPath::Compare(const CCSFButtonPath& other) const
{
    return CompareNoCase(GetDescription(), other.GetDescription());
}

bool CCSFButtonPath::Validate(CErrorRecord* errors) const
{
    if (!m_deviceName.HasText()) {
        SetMessage(errors, "button path has no device name");
        return false;
    }
    if (!m_buttonName.HasText()) {
        SetMessage(errors, "button path has no button name");
        return false;
    }
    if (!m_panelName.HasText() && !IsHardButtonName(m_buttonName.GetPlain())) {
        SetMessage(errors, "button path has no panel name and isn't a hard button");
        return false;
    }
    return true;
}

const char* CCSFButtonPath::GetDescription() const
{
    if (m_description.IsEmpty())
        Describe(m_description, m_pSeparator, "<invalid CSF button path>",
                 {&m_deviceName, &m_panelName, &m_buttonName});
    return m_description.GetPlain();
}

xmlNodePtr CCSFButtonPath::WriteXml(xmlNodePtr parent) const
{
    return WritePath(parent, "Button",
                     {{kDeviceAttribute, &m_deviceName},
                      {kPanelAttribute, &m_panelName},
                      {kButtonAttribute, &m_buttonName}});
}

bool CCSFButtonPath::ReadXml(CErrorRecord* errors, xmlNodePtr element)
{
    if (!ReadPath(errors, element, "Button",
                  {{kDeviceAttribute, &m_deviceName},
                   {kPanelAttribute, &m_panelName},
                   {kButtonAttribute, &m_buttonName}}))
        return false;
    m_description.Clear();
    return Validate(errors);
}

bool CCSFButtonPath::Resolve(CErrorRecord* errors, bool requireUnique, const CCSFAbstractTree* tree,
                             const char* ownerKind, const char* ownerName, const char* what)
{
    m_matches.clear();
    bool hard = !m_panelName.HasText();
    if (tree != nullptr)
        tree->FindButtons(m_matches, m_deviceName.GetPlain(), hard ? nullptr : m_panelName.GetPlain(),
                          m_buttonName.GetPlain());
    bool exact = std::any_of(m_matches.begin(), m_matches.end(), [this](const CCSFButton* button) {
        return IsExactButton(button, m_deviceName, m_panelName, m_buttonName);
    });
    return CheckResolved(errors, requireUnique, m_matches.size(), exact, ownerKind, ownerName, what);
}
