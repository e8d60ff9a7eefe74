#include "model/HardButton.h"

#include "core/XmlDocument.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "model/PathElements.h"

#include <string>

CHardButton::CHardButton() : m_pAliases(std::make_unique<CNamedCollection<CCSFButtonPath>>())
{
    m_pAliases->SetUniqueNames(false);
}

CHardButton::CHardButton(const char* name, bool hasLabel) : CHardButton()
{
    m_name.SetPlain(name);
    if (hasLabel)
        m_label.emplace().SetPlain("");
}

CHardButton::CHardButton(const CHardButton& other)
    : CNamedElement(other), m_pAliases(std::make_unique<CNamedCollection<CCSFButtonPath>>())
{
    Assign(other);
}

CHardButton& CHardButton::operator=(const CHardButton& other)
{
    Assign(other);
    return *this;
}

CHardButton::~CHardButton() = default;

bool CHardButton::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetTypeName());
        return false;
    }
    return true;
}

int CHardButton::Compare(const CHardButton& other) const
{
    return m_name.CompareNames(other.m_name, false);
}

void CHardButton::Assign(const CHardButton& other)
{
    if (this == &other)
        return;
    m_name = other.m_name;
    m_label = other.m_label;
    SetJumpPanel(other.m_pJumpPanel.get());
    *m_pAliases = *other.m_pAliases;
}

bool CHardButton::IsDefined() const
{
    return m_pJumpPanel != nullptr || m_pAliases->GetCount() > 0;
}

void CHardButton::SetJumpPanel(const CCSFPanelPath* path)
{
    m_pJumpPanel = CopyPath(path);
}

bool CHardButton::ResolvePaths(CErrorRecord* errors, const CCSFAbstractTree* tree, const char* ownerKind,
                               const char* ownerName)
{
    bool wasEmpty = IsEmpty(errors);
    bool ok = true;
    if (m_pJumpPanel)
        ok = m_pJumpPanel->Resolve(errors, true, tree, GetTypeName(), m_name.GetDisplay(), "jump panel");
    for (CCSFButtonPath* alias : *m_pAliases) {
        if (!ok)
            break;
        ok = alias->Resolve(errors, true, tree, GetTypeName(), m_name.GetDisplay(), "aliased button");
    }
    if (!ok && wasEmpty)
        AddContext(errors, "In %s \"%s\"", ownerKind, ownerName);
    return ok;
}

void CHardButton::WriteToDevice(CCSFSection* deviceNode) const
{
    if (!deviceNode)
        return;
    CCSFSection* statement =
        m_label ? deviceNode->AddChildFormat("%s(\"%s\")", m_name.GetEscaped(), m_label->GetEscaped())
                : deviceNode->AddChildFormat("%s()", m_name.GetEscaped());
    for (const CCSFButtonPath* alias : *m_pAliases) {
        if (!alias->GetMatches().empty())
            statement->AddChildText(alias->GetMatches().front()->GetAliasStatement().c_str());
    }
    if (m_pJumpPanel && !m_pJumpPanel->GetMatches().empty())
        statement->AddChildText(m_pJumpPanel->GetMatches().front()->GetJumpStatement().c_str());
}

void CHardButton::WriteXml(CXmlWriter& writer) const
{
    writer.StartElement("HardButtonDefinition");
    writer.Attribute("Name", m_name.GetEscaped());
    if (m_label)
        writer.Attribute("Label", m_label->GetEscaped());
    if (m_pJumpPanel)
        WritePathElement(writer, *m_pJumpPanel, "JumpPanel");
    for (const CCSFButtonPath* alias : *m_pAliases)
        WritePathElement(writer, *alias, "ButtonAlias");
    writer.EndElement();
}

bool CHardButton::ReadXml(CErrorRecord* errors, CWarningList* /*warnings*/, const xmlNode* element,
                          bool keepLabelShape)
{
    std::string text;
    if (GetXmlAttribute(element, "Name", text))
        m_name.SetEscaped(text);
    if (GetXmlAttribute(element, "Label", text)) {
        if (!m_label && !keepLabelShape)
            m_label.emplace();
        if (m_label)
            m_label->SetEscaped(text);
    }
    auto takePanel = [this](const std::string& role, std::unique_ptr<CCSFPanelPath> path) {
        if (role == "JumpPanel")
            m_pJumpPanel = std::move(path);
        return true;
    };
    auto takeButton = [this, errors](const std::string& role, const xmlNode*,
                                     std::unique_ptr<CCSFButtonPath> path) {
        if (role != "ButtonAlias")
            return true;
        if (!m_pAliases->Add(errors, path.get()))
            return false;
        path.release();
        return true;
    };
    return ReadPathElements(errors, element, takePanel, takeButton);
}
