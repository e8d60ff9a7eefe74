#include "preview/PanelBrowser.h"

#include "core/NameText.h"
#include "csf/CSFSection.h"

#include <algorithm>

namespace {

std::string PlainName(const std::string& escaped)
{
    return UnescapeCsf(escaped.c_str());
}

// The CCF() statement: the root itself or its first child, as the expander takes it.
const CCSFSection* TopBlock(const CCSFSection* root)
{
    if (root && !root->GetText() && root->GetFirstChild())
        return root->GetFirstChild();
    return root;
}

} // namespace

CPanelBrowser::CPanelBrowser(const CCSFSection* root) : m_expander(root)
{
    const CCSFSection* top = TopBlock(root);
    for (const CCSFSection* c = top ? top->GetFirstChild() : nullptr; c; c = c->GetNextSibling()) {
        std::string name;
        if (c->IsDeviceStatement(&name)) {
            m_devices.push_back(c);
            m_deviceNames.push_back(PlainName(name));
        }
    }
    for (std::size_t i = 0; i < m_devices.size(); ++i) {
        SelectDevice(i);
        if (!m_panels.empty())
            return;
    }
    if (!m_devices.empty())
        SelectDevice(0);
}

void CPanelBrowser::LoadPanels()
{
    m_panels.clear();
    m_panelNames.clear();
    m_panelHidden.clear();
    if (m_nDevice >= m_devices.size())
        return;
    for (const CCSFSection* c = m_devices[m_nDevice]->GetFirstChild(); c; c = c->GetNextSibling()) {
        std::string name;
        if (c->IsPanelStatement(&name)) {
            m_panels.push_back(c);
            m_panelNames.push_back(PlainName(name));
            m_panelHidden.push_back(c->FindChildByPrefix("IsHidden(") != nullptr);
        }
    }
}

bool CPanelBrowser::SelectDevice(std::size_t index)
{
    if (index >= m_devices.size())
        return false;
    m_nDevice = index;
    LoadPanels();
    // The first panel the remote shows when scrolling; a device of hidden panels only
    // shows its first.
    const auto shown = std::find(m_panelHidden.begin(), m_panelHidden.end(), false);
    m_nPanel = m_panels.empty()               ? kNoPosition
               : shown == m_panelHidden.end() ? 0
                                              : static_cast<std::size_t>(shown - m_panelHidden.begin());
    return true;
}

bool CPanelBrowser::SelectPanel(std::size_t index)
{
    if (index >= m_panels.size())
        return false;
    m_nPanel = index;
    return true;
}

const CCSFSection* CPanelBrowser::GetPanel() const
{
    return m_nPanel < m_panels.size() ? m_panels[m_nPanel] : nullptr;
}

bool CPanelBrowser::IsPanelHidden(std::size_t index) const
{
    return index < m_panelHidden.size() && m_panelHidden[index];
}

std::size_t CPanelBrowser::FindStep(int delta) const
{
    if (m_nPanel >= m_panels.size() || delta == 0)
        return m_nPanel;
    // Each step goes to the next panel shown in that direction; the steps stop at the
    // last one there is.
    std::size_t position = m_nPanel;
    const long long steps = delta > 0 ? delta : -static_cast<long long>(delta);
    for (long long step = 0; step < steps; ++step) {
        std::size_t candidate = position;
        do {
            if (delta > 0 ? candidate + 1 >= m_panels.size() : candidate == 0) {
                candidate = position; // none that way
                break;
            }
            candidate = delta > 0 ? candidate + 1 : candidate - 1;
        } while (m_panelHidden[candidate]);
        if (candidate == position)
            break;
        position = candidate;
    }
    return position;
}

bool CPanelBrowser::CanStep(int delta) const
{
    return FindStep(delta) != m_nPanel;
}

bool CPanelBrowser::StepPanel(int delta)
{
    const std::size_t position = FindStep(delta);
    if (position == m_nPanel)
        return false;
    m_nPanel = position;
    return true;
}

bool CPanelBrowser::Press(const CCSFSection* button)
{
    m_lastPress.clear();
    const CCSFSection* panel = GetPanel();
    if (!button || !panel)
        return false;
    std::string name;
    button->IsButtonStatement(&name);
    m_lastPress = "Pressing \"" + PlainName(name) + "\" on panel \"" + m_panelNames[m_nPanel] +
                  "\" of device \"" + m_deviceNames[m_nDevice] + "\":\n";
    SPressResult result;
    result.endDevice = m_deviceNames[m_nDevice];
    result.endPanel = m_panelNames[m_nPanel];
    CErrorRecord errors;
    const bool expanded = m_expander.ExpandButton(button, result, &errors);
    if (result.steps.empty() && expanded)
        m_lastPress += "  (no actions)\n";
    else
        m_lastPress += FormatPressResult(result);
    if (!expanded) {
        m_lastPress += GetText(&errors);
        return false;
    }

    const CCSFSection* device = m_expander.FindDevice(result.endDevice);
    const CCSFSection* target = m_expander.FindPanel(device, result.endPanel);
    if (!target) {
        m_lastPress += "There is no panel \"" + result.endPanel + "\" in device \"" + result.endDevice +
                       "\"; the panel shown stays.\n";
        return false;
    }
    const auto d = std::find(m_devices.begin(), m_devices.end(), device);
    if (static_cast<std::size_t>(d - m_devices.begin()) != m_nDevice) {
        m_nDevice = static_cast<std::size_t>(d - m_devices.begin());
        LoadPanels();
    }
    m_nPanel =
        static_cast<std::size_t>(std::find(m_panels.begin(), m_panels.end(), target) - m_panels.begin());
    return true;
}
