#include "generate/Jump.h"

#include "csf/CSFSection.h"

CPanelJump::CPanelJump(const char* deviceName, const char* panelName)
    : m_deviceName(deviceName ? deviceName : ""), m_panelName(panelName ? panelName : "")
{
}

void CPanelJump::WriteAction(CCSFSection* action) const
{
    if (action)
        action->AddChildFormat("JumpDevicePanel(\"%s\", \"%s\");", m_deviceName.c_str(), m_panelName.c_str());
}

void CJumpPair::WriteAction(CCSFSection* action) const
{
    if (m_pFirst)
        m_pFirst->WriteAction(action);
    if (m_pSecond)
        m_pSecond->WriteAction(action);
}
