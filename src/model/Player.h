#pragma once

// A player: one CD or DVD jukebox as the remote control sees it. It names, by CSF path,
// the buttons that enter the digits 0 to 9 and those pressed before and after disc and
// track numbers, and it knows the delays and the disc-number padding. From this it
// appends the actions that make the jukebox play a disc or a track to the action
// block of a generated button.
//
// Paths are owned: every setter stores its own copy, and setting null deletes the
// held path. A player in the players collection always has all ten number buttons,
// because the collection accepts only valid players.

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"

#include "core/XmlWriter.h"

#include <libxml/tree.h>

#include <cstdint>
#include <memory>

class CCSFAbstractTree;
class CCSFButtonPath;
class CCSFPanelPath;
class CCSFSection;

class CPlayer;
// The players collection (owned by the configuration, kept sorted by name).
using CPlayers = CNamedCollection<CPlayer>;

// The player's button roles other than the number buttons, in the order they are
// resolved and shown.
enum class EPlayerButton : int {
    BeforeDisc = 0,
    AfterDisc,
    BeforeTrack1Digit,
    BeforeTrack2Digits,
    AfterTrack1Digit,
    AfterTrack2Digits,
    Count
};

class CPlayer : public CNamedElement
{
public:
    static constexpr int kNumberButtons = 10;
    static constexpr int kMinPad = 1, kMaxPad = 5;
    static constexpr int kMaxDelay = 999;

    CPlayer();
    CPlayer(const CPlayer& other);
    CPlayer& operator=(const CPlayer& other);
    ~CPlayer() override;

    // ---- collection element ----
    const CNameText& GetName() const override { return m_name; }
    const char* GetTypeName() const override { return "player"; }
    // The name must not be empty ("%s has no name"); every digit needs a valid number
    // button ("%s \"%s\" has no #%d button", "%s \"%s\" has invalid #%d button").
    bool IsValid(CErrorRecord* errors) const override;
    // By name, letter case ignored.
    int Compare(const CPlayer& other) const;
    // Takes every field, copying every path.
    void Assign(const CPlayer& other);

    // ---- fields ----
    CNameText& GetName() { return m_name; }
    const CNameText& GetShortName() const { return m_shortName; }
    CNameText& GetShortName() { return m_shortName; }
    int GetDigitsToPadTo() const { return m_nDigitsToPadTo; }
    void SetDigitsToPadTo(int digits);        // limited to 1..5
    int GetDelay() const { return m_nDelay; } // tenths of a second
    void SetDelay(int tenths);                // limited to 0..999
    bool GetDelayOnlyIdentical() const { return m_bDelayOnlyIdentical; }
    void SetDelayOnlyIdentical(bool only) { m_bDelayOnlyIdentical = only; }
    int GetDiscToTrackDelay() const { return m_nDiscToTrackDelay; }
    void SetDiscToTrackDelay(int tenths); // limited to 0..999

    const CCSFPanelPath* GetJumpPanel() const { return m_pJumpPanel.get(); }
    void SetJumpPanel(const CCSFPanelPath* path);
    const CCSFButtonPath* GetButton(EPlayerButton role) const;
    void SetButton(EPlayerButton role, const CCSFButtonPath* path);
    // Null for a digit without a button or an index of 10 or more.
    const CCSFButtonPath* GetNumberButton(int digit) const;
    // Indexes of 10 or more are ignored.
    void SetNumberButton(int digit, const CCSFButtonPath* path);

    // Short and XML names of the roles.
    static const char* GetRoleName(EPlayerButton role);    // "before disc button", ...
    static const char* GetRoleXmlName(EPlayerButton role); // "BeforeButton", ...
    static const char* GetRoleLabel(EPlayerButton role);   // "Before Disc", ... (editor rows)

    // ---- play sequences ----
    // Appends the presses (and pauses) that select disc slot `number`; with jump set,
    // then the jump to jumpPanel, or to the player's own jump panel when none is given.
    void AddDiscSequence(CCSFSection* actions, std::uint32_t number, bool jump,
                         const CCSFPanelPath* jumpPanel) const;
    // The same for track `number` (0..99), with the one- or two-digit before and after
    // buttons; discToTrackDelay puts the disc-to-track pause in front.
    void AddTrackSequence(CCSFSection* actions, std::uint32_t number, bool jump,
                          const CCSFPanelPath* jumpPanel, bool discToTrackDelay) const;

    // Resolves every path that is set against the tree (number buttons, jump panel,
    // then the six other buttons), stopping at the first failure; button paths must
    // match a unique button.
    bool ResolvePaths(CErrorRecord* errors, const CCSFAbstractTree* tree);

    // The "Device" element of the players file.
    void WriteXml(CXmlWriter& writer) const;
    // False when a path element could not be read (the other children are still read).
    bool ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element);

private:
    void PressButton(CCSFSection* actions, const CCSFButtonPath* path) const;
    void Pause(CCSFSection* actions, int tenths) const;
    void AddDigits(CCSFSection* actions, std::uint32_t number, int minWidth) const;
    void AddJump(CCSFSection* actions, bool jump, const CCSFPanelPath* jumpPanel) const;

    CNameText m_name;
    CNameText m_shortName;
    std::unique_ptr<CCSFPanelPath> m_pJumpPanel;
    int m_nDigitsToPadTo = 1;
    int m_nDelay = 2;
    bool m_bDelayOnlyIdentical = true;
    int m_nDiscToTrackDelay = 0;
    std::unique_ptr<CCSFButtonPath> m_buttons[static_cast<int>(EPlayerButton::Count)];
    std::unique_ptr<CCSFButtonPath> m_numberButtons[kNumberButtons];
};

// Resolves the paths of every player in collection order, stopping at the first failure.
bool ResolvePlayerPaths(CErrorRecord* errors, CPlayers& players, const CCSFAbstractTree* tree);
// The "Devices" element with one "Device" per player.
void WritePlayersXml(const CPlayers& players, CXmlWriter& writer);
// Reads the "Device" children of a "Devices" element into players; stops at the first
// player that cannot be read or added (what was added before stays).
bool ReadPlayersXml(CErrorRecord* errors, CWarningList* warnings, CPlayers& players, const xmlNode* element);
