#include "generate/ListGenerator.h"

#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "generate/GenPanel.h"
#include "generate/LayoutNode.h"
#include "model/Library.h"

#include <map>

CListGenerator::CListGenerator(const CLibList* list, int panelCap, const char* versionText)
    : m_pList(list), m_listName(list->GetName().GetEscaped()), m_versionText(versionText ? versionText : ""),
      m_nPanelCap(panelCap > 0 ? panelCap : 0)
{
}

CListGenerator::~CListGenerator()
{
    // Rows and groups point at the panels' jumps; drop the layout tree first.
    m_pRoot.reset();
}

CJump* CListGenerator::Build()
{
    if (m_bBuilt)
        return m_pEntry;
    m_bBuilt = true;
    if (m_pList->GetShowLetters())
        m_pRoot = std::make_unique<CLettersGroup>(this);
    else if (m_pList->GetShowArtists())
        m_pRoot = std::make_unique<CArtistsGroup>(this, '\0');
    else if (m_pList->GetShowDiscs())
        m_pRoot = std::make_unique<CDiscsGroup>(this, '\0');
    else if (m_pList->GetShowTracks())
        m_pRoot = std::make_unique<CTracksGroup>(this, '\0');
    else
        m_pRoot = std::make_unique<CLettersGroup>(this);
    m_pEntry = m_pRoot->Layout(nullptr);
    return m_pEntry;
}

std::size_t CListGenerator::CountPanels() const
{
    return (m_pAlphabetPanel ? 1 : 0) + (m_pCreditsPanel ? 1 : 0) + m_artistPages.size() +
           m_discPages.size() + m_trackPages.size();
}

int CListGenerator::NextDeviceIndex() const
{
    if (m_nPanelCap < 1)
        return 0;
    return static_cast<int>(CountPanels() / static_cast<std::size_t>(m_nPanelCap));
}

CListPanel* CListGenerator::NewListPanel(char levelLetter, unsigned pageNumber)
{
    std::vector<std::unique_ptr<CListPanel>>& pages =
        levelLetter == 'A' ? m_artistPages : (levelLetter == 'D' ? m_discPages : m_trackPages);
    unsigned index = static_cast<unsigned>(NextDeviceIndex());
    pages.push_back(
        std::make_unique<CListPanel>(m_pList, m_listName.c_str(), index, levelLetter, pageNumber));
    return pages.back().get();
}

CAlphabetPanel* CListGenerator::NewAlphabetPanel()
{
    unsigned index = static_cast<unsigned>(NextDeviceIndex());
    m_pAlphabetPanel = std::make_unique<CAlphabetPanel>(m_pList, m_listName.c_str(), index);
    return m_pAlphabetPanel.get();
}

CCreditsPanel* CListGenerator::NewCreditsPanel()
{
    unsigned index = static_cast<unsigned>(NextDeviceIndex());
    m_pCreditsPanel = std::make_unique<CCreditsPanel>(m_pList, m_listName.c_str(), index);
    return m_pCreditsPanel.get();
}

std::vector<CGenPanel*> CListGenerator::GetPanelsInOrder() const
{
    std::vector<CGenPanel*> panels;
    panels.reserve(CountPanels());
    if (m_pAlphabetPanel)
        panels.push_back(m_pAlphabetPanel.get());
    if (m_pCreditsPanel)
        panels.push_back(m_pCreditsPanel.get());
    for (const auto* level : {&m_artistPages, &m_discPages, &m_trackPages})
        for (const auto& page : *level)
            panels.push_back(page.get());
    return panels;
}

int CListGenerator::GetDeviceCount() const
{
    int count = 0;
    for (const CGenPanel* panel : GetPanelsInOrder())
        count = std::max(count, static_cast<int>(panel->GetDeviceIndex()) + 1);
    return count;
}

void CListGenerator::Insert(CCSFSection* root)
{
    if (!root || !m_pEntry)
        return;
    const std::vector<CGenPanel*> panels = GetPanelsInOrder();
    // The first panel of an index names its device; indices run 0.. without gaps,
    // because each panel's index is the count of panels before it divided by the cap.
    std::map<unsigned, const CGenPanel*> firstOfDevice;
    for (const CGenPanel* panel : panels)
        firstOfDevice.emplace(panel->GetDeviceIndex(), panel);

    std::map<unsigned, CCSFSection*> deviceNodes;
    for (const auto& [index, panel] : firstOfDevice) {
        CCSFSection* device = root->AddChildFormat("Device(\"%s\")", panel->GetDeviceName().c_str());
        for (const CHardButton* hardButton : m_pList->GetHardButtons())
            if (hardButton->IsDefined())
                hardButton->WriteToDevice(device);
        deviceNodes[index] = device;
    }
    for (const CGenPanel* panel : panels)
        panel->WritePanel(deviceNodes[panel->GetDeviceIndex()]);
}

void CListGenerator::RewriteLinkButtons() const
{
    if (!m_pEntry)
        return;
    for (const CCSFButtonPath* path : m_pList->GetLinkButtons()) {
        for (const CCSFButton* button : path->GetMatches()) {
            CCSFSection* node = button->GetNode();
            if (!node)
                continue;
            CCSFSection* action = node->FindChild("Action()");
            if (!action)
                action = node->AddChildText("Action()");
            if (CCSFSection* jump = action->FindChildByPrefix("JumpDevicePanel("))
                action->RemoveChild(jump);
            m_pEntry->WriteAction(action);
        }
    }
}
