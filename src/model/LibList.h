#pragma once

// A list of the library: its artists, and the settings that decide how list generation
// turns it into a device (the fourteen options, an optional jump panel, the link
// buttons and the seven hard button definitions).

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"
#include "model/Artist.h"
#include "model/HardButton.h"
#include "model/ListSettings.h"
#include "model/TreePresentation.h"

#include "core/XmlWriter.h"

#include <libxml/tree.h>

#include <memory>
#include <string>

class CCSFAbstractTree;
class CCSFButtonPath;
class CCSFPanelPath;
class CLibrary;
class CPlayer;

class CLibList : public CNamedElement
{
public:
    CLibList();
    explicit CLibList(CLibrary* library);
    // A copy keeps the library and takes what Assign takes (no artists).
    CLibList(const CLibList& other);
    CLibList& operator=(const CLibList& other);
    ~CLibList() override;

    // ---- collection element ----
    const CNameText& GetName() const override { return m_name; }
    const char* GetTypeName() const override { return "list"; }
    // Needs a name ("%s has no name") and a library ("%s not associated with root library").
    bool IsValid(CErrorRecord* errors) const override;
    // By name, letter case ignored.
    int Compare(const CLibList& other) const;
    // Takes the name, a copy of the jump panel, of the link buttons and of the seven
    // hard buttons, and the fourteen options; artists, library and the artists'
    // keep-sorted flag stay.
    void Assign(const CLibList& other);

    CNameText& GetName() { return m_name; }
    CLibrary* GetLibrary() const { return m_pLibrary; }
    void SetLibrary(CLibrary* library) { m_pLibrary = library; }
    CNamedCollection<CArtist>& GetArtists() { return m_artists; }
    const CNamedCollection<CArtist>& GetArtists() const { return m_artists; }

    // ---- options ----
    bool GetOption(EListOption option) const { return m_options[static_cast<int>(option)]; }
    void SetOption(EListOption option, bool value) { m_options[static_cast<int>(option)] = value; }
#define DW_LIST_OPTION(Name)                                                                                 \
    bool Get##Name() const                                                                                   \
    {                                                                                                        \
        return GetOption(EListOption::Name);                                                                 \
    }                                                                                                        \
    void Set##Name(bool value)                                                                               \
    {                                                                                                        \
        SetOption(EListOption::Name, value);                                                                 \
    }
    DW_LIST_OPTION(ShowNumbers)
    DW_LIST_OPTION(GapBreakAlways)
    DW_LIST_OPTION(GapSpace)
    DW_LIST_OPTION(GapFit)
    DW_LIST_OPTION(ShowLetters)
    DW_LIST_OPTION(ShowArtists)
    DW_LIST_OPTION(ShowDiscs)
    DW_LIST_OPTION(ShowTracks)
    DW_LIST_OPTION(HidePanels)
    DW_LIST_OPTION(LargerFont)
    DW_LIST_OPTION(Truncate)
    DW_LIST_OPTION(Links)
    DW_LIST_OPTION(DelayDiscUntilTrack)
    DW_LIST_OPTION(JumpAfterTrack)
#undef DW_LIST_OPTION

    // The "Levels:" mask of the four Show flags, and setting them from a mask.
    unsigned GetLevelsMask() const;
    void SetLevelsMask(unsigned mask);
    // The "Breaks:" value the editor selects: 1 when GapBreakAlways is set, else 2 for
    // GapSpace plus 4 for GapFit. Setting it sets each flag from its bit.
    unsigned GetBreaksValue() const;
    void SetBreaksValue(unsigned value);

    const CCSFPanelPath* GetJumpPanel() const
    {
        return m_pJumpPanel.get();
    }
    // Takes ownership; the former path is deleted; null removes it.
    void SetJumpPanel(CCSFPanelPath* path);
    // Always sorted.
    CNamedCollection<CCSFButtonPath>& GetLinkButtons()
    {
        return *m_pLinkButtons;
    }
    const CNamedCollection<CCSFButtonPath>& GetLinkButtons() const
    {
        return *m_pLinkButtons;
    }
    // The seven keys in the order of kHardButtonNames.
    CNamedCollection<CHardButton>& GetHardButtons()
    {
        return m_hardButtons;
    }
    const CNamedCollection<CHardButton>& GetHardButtons() const
    {
        return m_hardButtons;
    }

    // The highest disc number of `player` over all artists; 0 when none.
    int GetHighestDiscNumber(const CPlayer* player) const;
    // The number of discs over all artists.
    std::uint32_t GetDiscCount() const;

    bool IsModified() const;
    void ClearModified();

    // Resolves the jump panel (unique), each link button (several matches allowed) and
    // the seven hard buttons, stopping at the first failure.
    bool ResolveCsfPaths(CErrorRecord* errors, const CCSFAbstractTree* tree);

    // ---- tree presentation ----
    std::string GetDisplayText() const
    {
        return m_name.GetPlain();
    }
    static const CTreeLabels& GetTreeLabels();
    std::string GetDeleteQuestion() const;

    // "Volume" with its options, paths, defined hard buttons and artists.
    void WriteXml(CXmlWriter& writer) const;
    // Stops at the first artist, hard button or path that fails (recorded); what was
    // read before stays.
    bool ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element);

private:
    bool ReadHardButton(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element);

    CNameText m_name;
    CNamedCollection<CArtist> m_artists; // keep-sorted on when created
    CLibrary* m_pLibrary = nullptr;
    bool m_options[kListOptionCount];
    std::unique_ptr<CCSFPanelPath> m_pJumpPanel;
    std::unique_ptr<CNamedCollection<CCSFButtonPath>> m_pLinkButtons;
    CNamedCollection<CHardButton> m_hardButtons;
};
