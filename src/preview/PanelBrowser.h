#pragma once

// Walking through the panels of a configuration as the remote does: one device and one
// of its panels are shown; pressing a button sends what its actions say (aliases
// followed by CActionExpander) and a jump among them changes the panel shown; the page
// keys step through the device's panels. Free of any front end: the preview window only
// draws GetPanel() and shows GetLastPress().
//
// The browser only reads the tree, which must outlive it and stay unchanged.

#include "preview/ActionExpansion.h"

#include <cstddef>
#include <string>
#include <vector>

class CCSFSection;

constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

class CPanelBrowser
{
public:
    // root as for CActionExpander. Shows the first panel of the first device that has one.
    explicit CPanelBrowser(const CCSFSection* root);

    // Every device of the configuration, plain names in file order.
    const std::vector<std::string>& GetDevices() const { return m_deviceNames; }
    // Shows the device's first panel that is not hidden (its first when all are; none
    // when it has no panel). False for a bad index.
    bool SelectDevice(std::size_t index);
    std::size_t GetDeviceIndex() const { return m_nDevice; }

    // The current device's panels, plain names in file order.
    const std::vector<std::string>& GetPanels() const { return m_panelNames; }
    bool SelectPanel(std::size_t index);
    std::size_t GetPanelIndex() const { return m_nPanel; }
    // The panel statement shown; null when there is none.
    const CCSFSection* GetPanel() const;

    // Whether a panel of the device is hidden ("IsHidden()"): the remote skips it when
    // the user scrolls through the panels, but jumps still reach it.
    bool IsPanelHidden(std::size_t index) const;

    // Page Down (+1) and Page Up (-1): the next or previous panel of the device that is
    // not hidden, staying where it is when there is none that way. False when nothing
    // changed.
    bool StepPanel(int delta);
    // Whether StepPanel(delta) would change the panel shown.
    bool CanStep(int delta) const;

    // Presses a button of the panel shown: expands its actions and, when they end with a
    // jump to a panel the configuration has, shows that panel (of whatever device). The
    // outcome, written out for a person, is in GetLastPress(); false when the press could
    // not be followed to its end (an alias loop, a missing alias target) or the jump
    // leads nowhere, in which case the panel shown stays.
    bool Press(const CCSFSection* button);
    const std::string& GetLastPress() const { return m_lastPress; }

private:
    void LoadPanels();
    std::size_t FindStep(int delta) const;

    CActionExpander m_expander;
    std::vector<const CCSFSection*> m_devices;
    std::vector<std::string> m_deviceNames;
    std::vector<const CCSFSection*> m_panels;
    std::vector<std::string> m_panelNames;
    std::vector<bool> m_panelHidden;
    std::size_t m_nDevice = kNoPosition;
    std::size_t m_nPanel = kNoPosition;
    std::string m_lastPress;
};
