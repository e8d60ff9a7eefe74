#pragma once

// CListGenerator turns one list of the library into one generated device, or a run of
// devices when the list has more pages than the panel cap allows, and adds them to the
// CSF statement tree of the input CCF.
//
//     CListGenerator generator(list, panelCap, versionText);
//     if (CJump* entry = generator.Build()) {
//         generator.Insert(root);
//         generator.RewriteLinkButtons();  // the list's link buttons must be resolved
//     }
//
// Build lays out every page once (nothing is re-flowed) and returns the entry action:
// the jump to the alphabet panel when letters are shown, else to the first page of the
// root group; null when the list has nothing to show. Insert writes the devices at the
// end of the root's block: "Device(\"%s\")" with the list name for device index 0 and
// "%s.%d" for the others, the list's defined hard buttons, then the panels.
//
// The generator owns its layout tree, panels and jumps; the entry and every jump stay
// valid until it is destroyed. The list must outlive it and not change meanwhile.

#include "generate/Jump.h"

#include <memory>
#include <string>
#include <vector>

class CAlphabetPanel;
class CCreditsPanel;
class CCSFSection;
class CGenPanel;
class CGroupNode;
class CLibList;
class CListPanel;

class CListGenerator
{
public:
    // panelCap 0 (or below) means no cap. versionText (may be null) labels the
    // alphabet panel's right bar.
    CListGenerator(const CLibList* list, int panelCap, const char* versionText);
    CListGenerator(const CListGenerator&) = delete;
    CListGenerator& operator=(const CListGenerator&) = delete;
    virtual ~CListGenerator();

    // Builds the layout once; later calls return the same entry.
    CJump* Build();
    CJump* GetEntry() const { return m_pEntry; }

    // Appends the generated devices to root's block (only after a non-null Build).
    void Insert(CCSFSection* root);

    // Rewrites every button matched by the list's resolved link-button paths to jump
    // to the entry: the first "JumpDevicePanel(" statement of its "Action()" block (made
    // when missing) is removed and the entry's statements are appended. Does nothing
    // when the entry is null.
    void RewriteLinkButtons() const;

    // ---- for the layout nodes ----------------------------------------------------
    const CLibList* GetList() const { return m_pList; }
    const std::string& GetListName() const { return m_listName; } // escaped
    const std::string& GetVersionText() const { return m_versionText; }

    // The device index the next panel gets: panels created so far divided by the cap.
    int NextDeviceIndex() const;

    // A new page of a level ('A', 'D' or 'T') appended to that level's page list.
    CListPanel* NewListPanel(char levelLetter, unsigned pageNumber);
    CAlphabetPanel* NewAlphabetPanel();
    CCreditsPanel* NewCreditsPanel();

    std::vector<std::unique_ptr<CListPanel>>& GetArtistPages() { return m_artistPages; }
    std::vector<std::unique_ptr<CListPanel>>& GetDiscPages() { return m_discPages; }
    std::vector<std::unique_ptr<CListPanel>>& GetTrackPages() { return m_trackPages; }
    CAlphabetPanel* GetAlphabetPanel() const { return m_pAlphabetPanel.get(); }
    CCreditsPanel* GetCreditsPanel() const { return m_pCreditsPanel.get(); }

    // Every panel in insertion order: alphabet, credits, artist, disc, track pages.
    std::vector<CGenPanel*> GetPanelsInOrder() const;
    // Number of generated devices (0 before a successful Build).
    int GetDeviceCount() const;

private:
    std::size_t CountPanels() const;

    const CLibList* m_pList;
    std::string m_listName;
    std::string m_versionText;
    int m_nPanelCap;

    std::unique_ptr<CGroupNode> m_pRoot;
    std::unique_ptr<CAlphabetPanel> m_pAlphabetPanel;
    std::unique_ptr<CCreditsPanel> m_pCreditsPanel;
    std::vector<std::unique_ptr<CListPanel>> m_artistPages;
    std::vector<std::unique_ptr<CListPanel>> m_discPages;
    std::vector<std::unique_ptr<CListPanel>> m_trackPages;
    CJump* m_pEntry = nullptr;
    bool m_bBuilt = false;
};
