#include "csf/CSFPath.h"

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <cstring>

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

void SetAttributeIfNamed(xmlNodePtr element, const char* attribute, const CNameText& name)
{
    if (name.HasText())
        xmlSetProp(element, X(attribute), X(name.GetEscaped()));
}

xmlNodePtr NewPathElement(xmlNodePtr parent, const char* type)
{
    if (parent == nullptr)
        return nullptr;
    xmlNodePtr element = xmlNewChild(parent, nullptr, X("CSFPath"), nullptr);
    if (element != nullptr)
        xmlSetProp(element, X(kTypeAttribute), X(type));
    return element;
}

bool CheckType(CErrorRecord* errors, xmlNodePtr element, const char* expected)
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
    return true;
}

void ReadName(xmlNodePtr element, const char* attribute, CNameText& name)
{
    std::string value;
    if (GetAttribute(element, attribute, value))
        name.SetEscaped(value.c_str());
    else
        name.Clear();
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

const char* Display(const char* text)
{
    return text != nullptr ? text : "";
}

} // namespace

// ---- CCSFPanelPath ------------------------------------------------------------------

void CCSFPanelPath::SetDeviceNameEscaped(const char* name)
{
    m_deviceName.SetEscaped(name);
    m_description.Clear();
}
void CCSFPanelPath::SetDeviceNamePlain(const char* name)
{
    m_deviceName.SetPlain(name);
    m_description.Clear();
}
void CCSFPanelPath::SetPanelNameEscaped(const char* name)
{
    m_panelName.SetEscaped(name);
    m_description.Clear();
}
void CCSFPanelPath::SetPanelNamePlain(const char* name)
{
    m_panelName.SetPlain(name);
    m_description.Clear();
}

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
    xmlNodePtr element = NewPathElement(parent, "Panel");
    if (element != nullptr) {
        SetAttributeIfNamed(element, kDeviceAttribute, m_deviceName);
        SetAttributeIfNamed(element, kPanelAttribute, m_panelName);
    }
    return element;
}

bool CCSFPanelPath::ReadXml(CErrorRecord* errors, xmlNodePtr element)
{
    if (!CheckType(errors, element, "Panel"))
        return false;
    ReadName(element, kDeviceAttribute, m_deviceName);
    ReadName(element, kPanelAttribute, m_panelName);
    m_description.Clear();
    return Validate(errors);
}

bool CCSFPanelPath::Resolve(CErrorRecord* errors, bool requireUnique, const CCSFAbstractTree* tree,
                            const char* ownerKind, const char* ownerName, const char* what)
{
    m_matches.clear();
    if (tree != nullptr)
        tree->FindPanels(m_matches, m_deviceName.GetPlain(), m_panelName.GetPlain());
    if (m_matches.empty()) {
        SetMessage(errors, "%s \"%s\" has non-existent %s", Display(ownerKind), Display(ownerName),
                   Display(what));
        return false;
    }
    if (requireUnique && m_matches.size() > 1) {
        SetMessage(errors, "%s \"%s\" has %s which is not unique", Display(ownerKind), Display(ownerName),
                   Display(what));
        return false;
    }
    for (const CCSFPanel* panel : m_matches) {
        if (Exact(panel->GetName(), m_panelName) && panel->GetDevice() != nullptr &&
            Exact(panel->GetDevice()->GetName(), m_deviceName))
            return true;
    }
    SetMessage(errors, "%s \"%s\" has %s which does not exist by that exact, case-sensitive name",
               Display(ownerKind), Display(ownerName), Display(what));
    return false;
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

void CCSFButtonPath::SetDeviceNameEscaped(const char* name)
{
    m_deviceName.SetEscaped(name);
    m_description.Clear();
}
void CCSFButtonPath::SetDeviceNamePlain(const char* name)
{
    m_deviceName.SetPlain(name);
    m_description.Clear();
}
void CCSFButtonPath::SetPanelNameEscaped(const char* name)
{
    m_panelName.SetEscaped(name);
    m_description.Clear();
}
void CCSFButtonPath::SetPanelNamePlain(const char* name)
{
    m_panelName.SetPlain(name);
    m_description.Clear();
}
void CCSFButtonPath::SetButtonNameEscaped(const char* name)
{
    m_buttonName.SetEscaped(name);
    m_description.Clear();
}
void CCSFButtonPath::SetButtonNamePlain(const char* name)
{
    m_buttonName.SetPlain(name);
    m_description.Clear();
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
    xmlNodePtr element = NewPathElement(parent, "Button");
    if (element != nullptr) {
        SetAttributeIfNamed(element, kDeviceAttribute, m_deviceName);
        SetAttributeIfNamed(element, kPanelAttribute, m_panelName);
        SetAttributeIfNamed(element, kButtonAttribute, m_buttonName);
    }
    return element;
}

bool CCSFButtonPath::ReadXml(CErrorRecord* errors, xmlNodePtr element)
{
    if (!CheckType(errors, element, "Button"))
        return false;
    ReadName(element, kDeviceAttribute, m_deviceName);
    ReadName(element, kPanelAttribute, m_panelName);
    ReadName(element, kButtonAttribute, m_buttonName);
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
    if (m_matches.empty()) {
        SetMessage(errors, "%s \"%s\" has non-existent %s", Display(ownerKind), Display(ownerName),
                   Display(what));
        return false;
    }
    if (requireUnique && m_matches.size() > 1) {
        SetMessage(errors, "%s \"%s\" has %s which is not unique", Display(ownerKind), Display(ownerName),
                   Display(what));
        return false;
    }
    for (const CCSFButton* button : m_matches) {
        if (!Exact(button->GetName(), m_buttonName))
            continue;
        if (const CCSFPanel* panel = button->GetPanel()) {
            if (Exact(panel->GetName(), m_panelName) && panel->GetDevice() != nullptr &&
                Exact(panel->GetDevice()->GetName(), m_deviceName))
                return true;
        } else if (button->GetDevice() != nullptr && Exact(button->GetDevice()->GetName(), m_deviceName)) {
            return true;
        }
    }
    SetMessage(errors, "%s \"%s\" has %s which does not exist by that exact, case-sensitive name",
               Display(ownerKind), Display(ownerName), Display(what));
    return false;
}
