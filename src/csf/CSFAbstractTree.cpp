#include "csf/CSFAbstractTree.h"

#include "csf/CSFPath.h"
#include "csf/CSFSection.h"

#include <memory>

namespace {

// The context each level puts in front of a failure below it.
void AddElementContext(CErrorRecord* errors, const CCSFElement& element)
{
    if (element.GetName().HasText())
        AddContext(errors, "%s \"%s\"", element.GetKindName(), element.GetName().GetDisplay());
    else
        AddContext(errors, "%s <unnamed>", element.GetKindName());
}

} // namespace

// ---- CCSFButton ---------------------------------------------------------------------

bool CCSFButton::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetKindName());
        return false;
    }
    if (m_pPanel == nullptr && m_pDevice == nullptr) {
        SetMessage(errors, "%s \"%s\" has no parent", GetKindName(), m_name.GetDisplay());
        return false;
    }
    if (m_pPanel != nullptr && m_pDevice != nullptr) {
        SetMessage(errors, "%s \"%s\" built incorrectly due to internal error", GetKindName(),
                   m_name.GetDisplay());
        return false;
    }
    if (m_pPanel != nullptr && m_nNumber == 0) {
        SetMessage(errors, "%s \"%s\" has invalid number (%d)", GetKindName(), m_name.GetDisplay(),
                   static_cast<int>(m_nNumber));
        return false;
    }
    return true;
}

void CCSFButton::Assign(const CCSFButton& other)
{
    m_name = other.m_name;
    m_pNode = other.m_pNode;
    m_pPanel = other.m_pPanel;
    m_pDevice = other.m_pDevice;
    m_nNumber = other.m_nNumber;
    m_bHasAction = other.m_bHasAction;
    m_bHasAlias = other.m_bHasAlias;
    m_aliasStatement.clear();
}

bool CCSFButton::Build(CErrorRecord*, std::uint32_t number, CCSFSection* node)
{
    m_aliasStatement.clear();
    m_nNumber = number;
    CCSFSection* action = node->FindChildByPrefix("Action(");
    m_bHasAction = action != nullptr;
    m_bHasAlias = action != nullptr && (action->FindChildByPrefix("AliasDeviceButton(") != nullptr ||
                                        action->FindChildByPrefix("AliasDeviceKey(") != nullptr);
    m_pNode = node;
    return true;
}

bool CCSFButton::Build(CErrorRecord*, CCSFSection* node)
{
    m_aliasStatement.clear();
    m_nNumber = 0;
    m_bHasAction = true;
    m_bHasAlias = node->FindChildByPrefix("AliasDeviceButton(") != nullptr ||
                  node->FindChildByPrefix("AliasDeviceKey(") != nullptr;
    m_pNode = node;
    return true;
}

CCSFDevice* CCSFButton::GetOwningDevice() const
{
    if (m_pPanel != nullptr)
        return m_pPanel->GetDevice();
    return m_pDevice;
}

const std::string& CCSFButton::GetAliasStatement() const
{
    if (!m_aliasStatement.empty())
        return m_aliasStatement;
    if (m_pPanel != nullptr) {
        const CCSFDevice* device = m_pPanel->GetDevice();
        std::string number = std::to_string(m_nNumber);
        m_aliasStatement = "AliasDeviceButton(\"";
        m_aliasStatement += device != nullptr ? device->GetName().GetEscaped() : "";
        m_aliasStatement += "\",\"";
        m_aliasStatement += m_pPanel->GetName().GetEscaped();
        m_aliasStatement += "\",\"";
        m_aliasStatement += m_name.GetEscaped();
        m_aliasStatement += "\",";
        m_aliasStatement += number;
        m_aliasStatement += "); /* Reference to Button ";
        m_aliasStatement += number;
        m_aliasStatement += " */";
    } else if (m_pDevice != nullptr) {
        m_aliasStatement = "AliasDeviceKey(\"";
        m_aliasStatement += m_pDevice->GetName().GetEscaped();
        m_aliasStatement += "\",\"";
        m_aliasStatement += m_name.GetEscaped();
        m_aliasStatement += "\");";
    }
    return m_aliasStatement;
}

CCSFButtonPath* CCSFButton::MakePath() const
{
    auto* path = new CCSFButtonPath();
    const CCSFDevice* device = GetOwningDevice();
    path->SetDeviceNamePlain(device != nullptr ? device->GetName().GetPlain() : "");
    if (m_pPanel != nullptr)
        path->SetPanelNamePlain(m_pPanel->GetName().GetPlain());
    path->SetButtonNamePlain(m_name.GetPlain());
    return path;
}

// ---- CCSFPanel ----------------------------------------------------------------------

bool CCSFPanel::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetKindName());
        return false;
    }
    if (m_pDevice == nullptr) {
        SetMessage(errors, "%s \"%s\" has no parent", GetKindName(), m_name.GetDisplay());
        return false;
    }
    return true;
}

void CCSFPanel::Assign(const CCSFPanel& other)
{
    m_name = other.m_name;
    m_pNode = other.m_pNode;
    m_pDevice = other.m_pDevice;
    m_jumpStatement.clear();
    // The buttons stay with their own panel: they point at it as their parent.
}

bool CCSFPanel::Build(CErrorRecord* errors, CCSFSection* node)
{
    m_jumpStatement.clear();
    bool wasEmpty = IsEmpty(errors);
    bool ok = true;
    bool innerFailed = false;
    std::string name;
    for (CCSFSection* child = node->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        std::uint32_t number = 0;
        if (child->IsButtonStatement(&name, &number)) {
            // Unlabelled buttons cannot be named by any path; leaving them out keeps
            // configurations that have them usable.
            if (name.empty())
                continue;
            auto button = std::make_unique<CCSFButton>(this);
            button->SetEscapedName(name.c_str());
            if (button->Build(errors, number, child) && m_buttons.Add(errors, button.get()) != nullptr)
                button.release();
            else
                ok = false;
        } else if (child->IsFrameStatement()) {
            if (!Build(errors, child)) {
                ok = false;
                innerFailed = true;
            }
        }
    }
    if (!ok) {
        // A failure inside a frame already carries this panel's context.
        if (wasEmpty && !innerFailed)
            AddElementContext(errors, *this);
        return false;
    }
    m_pNode = node;
    return true;
}

const std::string& CCSFPanel::GetJumpStatement() const
{
    if (m_jumpStatement.empty()) {
        m_jumpStatement = "JumpDevicePanel(\"";
        m_jumpStatement += m_pDevice != nullptr ? m_pDevice->GetName().GetEscaped() : "";
        m_jumpStatement += "\",\"";
        m_jumpStatement += m_name.GetEscaped();
        m_jumpStatement += "\");";
    }
    return m_jumpStatement;
}

CCSFPanelPath* CCSFPanel::MakePath() const
{
    auto* path = new CCSFPanelPath();
    path->SetDeviceNamePlain(m_pDevice != nullptr ? m_pDevice->GetName().GetPlain() : "");
    path->SetPanelNamePlain(m_name.GetPlain());
    return path;
}

// ---- CCSFDevice ---------------------------------------------------------------------

CCSFDevice::CCSFDevice()
{
    m_panels.SetUniqueNames(false);
    m_hardButtons.SetUniqueNames(false);
}

bool CCSFDevice::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetKindName());
        return false;
    }
    return true;
}

void CCSFDevice::Assign(const CCSFDevice& other)
{
    m_name = other.m_name;
    m_pNode = other.m_pNode;
}

bool CCSFDevice::Build(CErrorRecord* errors, CCSFSection* node)
{
    bool wasEmpty = IsEmpty(errors);
    bool ok = true;
    std::string name;
    for (CCSFSection* child = node->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
        if (child->IsPanelStatement(&name)) {
            auto panel = std::make_unique<CCSFPanel>(this);
            panel->SetEscapedName(name.c_str());
            if (panel->Build(errors, child) && m_panels.Add(errors, panel.get()) != nullptr)
                panel.release();
            else
                ok = false;
        } else if (child->IsHardButtonStatement(&name)) {
            auto button = std::make_unique<CCSFButton>(this);
            button->SetEscapedName(name.c_str());
            if (button->Build(errors, child) && m_hardButtons.Add(errors, button.get()) != nullptr)
                button.release();
            else
                ok = false;
        }
    }
    if (!ok) {
        if (wasEmpty)
            AddElementContext(errors, *this);
        return false;
    }
    m_pNode = node;
    return true;
}

CCSFButton* CCSFDevice::FindButtonForPlayer(const char* buttonName) const
{
    if (buttonName == nullptr)
        return nullptr;
    CNameText name = CNameText::FromPlain(buttonName);
    CCSFButton* fallback = nullptr;
    for (const CCSFPanel* panel : m_panels) {
        const CNamedCollection<CCSFButton>& buttons = panel->GetButtons();
        for (CCSFButton* b = buttons.FindByName(name); b != nullptr; b = buttons.FindByName(name, b)) {
            if (!b->HasAction() || !b->IsUnique())
                continue;
            if (!b->HasAlias())
                return b;
            if (fallback == nullptr)
                fallback = b;
        }
    }
    return fallback;
}

// ---- CCSFAbstractTree ---------------------------------------------------------------

bool CCSFAbstractTree::Build(CErrorRecord* errors, CCSFSection* root)
{
    bool wasEmpty = IsEmpty(errors);
    bool ok = true;
    std::string name;
    for (CCSFSection* child = root != nullptr ? root->GetFirstChild() : nullptr; child != nullptr;
         child = child->GetNextSibling()) {
        if (!child->IsDeviceStatement(&name))
            continue;
        auto device = std::make_unique<CCSFDevice>();
        device->SetEscapedName(name.c_str());
        if (!device->Build(errors, child) || Add(errors, device.get()) == nullptr) {
            ok = false;
            break;
        }
        device.release();
    }
    if (!ok && wasEmpty)
        AddContext(errors, "Error parsing CCF file");
    return ok;
}

void CCSFAbstractTree::FindDevices(std::vector<CCSFDevice*>& result, const char* deviceName) const
{
    result.clear();
    if (deviceName == nullptr)
        return;
    CNameText name = CNameText::FromPlain(deviceName);
    for (CCSFDevice* d = FindByName(name); d != nullptr; d = FindByName(name, d))
        result.push_back(d);
}

void CCSFAbstractTree::FindPanels(std::vector<CCSFPanel*>& result, const char* deviceName,
                                  const char* panelName) const
{
    result.clear();
    if (deviceName == nullptr || panelName == nullptr)
        return;
    CNameText device = CNameText::FromPlain(deviceName);
    CNameText panel = CNameText::FromPlain(panelName);
    for (CCSFDevice* d = FindByName(device); d != nullptr; d = FindByName(device, d)) {
        const CNamedCollection<CCSFPanel>& panels = d->GetPanels();
        for (CCSFPanel* p = panels.FindByName(panel); p != nullptr; p = panels.FindByName(panel, p))
            result.push_back(p);
    }
}

void CCSFAbstractTree::FindButtons(std::vector<CCSFButton*>& result, const char* deviceName,
                                   const char* panelName, const char* buttonName) const
{
    result.clear();
    if (deviceName == nullptr || buttonName == nullptr)
        return;
    CNameText device = CNameText::FromPlain(deviceName);
    CNameText button = CNameText::FromPlain(buttonName);
    auto collect = [&](const CNamedCollection<CCSFButton>& buttons) {
        for (CCSFButton* b = buttons.FindByName(button); b != nullptr; b = buttons.FindByName(button, b))
            result.push_back(b);
    };
    if (panelName == nullptr) {
        for (CCSFDevice* d = FindByName(device); d != nullptr; d = FindByName(device, d))
            collect(d->GetHardButtons());
        return;
    }
    std::vector<CCSFPanel*> panels;
    FindPanels(panels, deviceName, panelName);
    for (CCSFPanel* p : panels)
        collect(p->GetButtons());
}

void CCSFAbstractTree::RemoveDevice(CCSFDevice* device)
{
    if (Contains(device) == nullptr)
        return;
    CCSFSection* node = device->GetNode();
    if (node != nullptr && node->GetParent() != nullptr)
        node->GetParent()->RemoveChild(node);
    Remove(device);
}
