#pragma once

// What a generated button does when it is pressed. Every button that list generation
// creates gets an "Action()" block, and a CJump fills it: a jump to another generated
// page, the key sequence that makes a player play a disc or a track, or both in turn.
//
// Ownership: a CJump never owns the jumps it refers to. Panels own the CPanelJump to
// themselves, groups own the CJumpPair and extra disc selections they make, and rows
// only point at jumps; everything lives until the list's generator is destroyed.

#include <string>

class CCSFSection;

class CJump
{
public:
    virtual ~CJump() = default;
    // Appends this action's statements at the end of the block of `action` (normally
    // the "Action()" node of a button). A null node does nothing. Never fails.
    virtual void WriteAction(CCSFSection* action) const = 0;
};

// A jump to a panel of a device: one statement "JumpDevicePanel(\"%s\", \"%s\");".
// Both names are in CSF-escaped form and copied; a null name counts as "".
class CPanelJump final : public CJump
{
public:
    CPanelJump(const char* deviceName, const char* panelName);
    void WriteAction(CCSFSection* action) const override;

    const std::string& GetDeviceName() const { return m_deviceName; }
    const std::string& GetPanelName() const { return m_panelName; }

private:
    std::string m_deviceName;
    std::string m_panelName;
};

// Two actions in turn: the first's statements, then the second's; an absent one is
// skipped. Neither is owned.
class CJumpPair final : public CJump
{
public:
    CJumpPair(CJump* first, CJump* second) : m_pFirst(first), m_pSecond(second) {}
    void WriteAction(CCSFSection* action) const override;

    CJump* GetFirst() const { return m_pFirst; }
    CJump* GetSecond() const { return m_pSecond; }

private:
    CJump* m_pFirst;
    CJump* m_pSecond;
};
