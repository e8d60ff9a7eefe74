#pragma once

// The vocabulary of a list's generation settings: the fourteen boolean options (their
// XML attributes, defaults and editor controls) and the two mode boxes of the list
// editor, "Levels:" (which levels of the hierarchy appear) and "Breaks:" (how pages
// break between groups), as data the editor fills its controls from.

#include <cstddef>

enum class EListOption : int {
    ShowNumbers = 0,
    GapBreakAlways,
    GapSpace,
    GapFit,
    ShowLetters,
    ShowArtists,
    ShowDiscs,
    ShowTracks,
    HidePanels,
    LargerFont,
    Truncate,
    Links,
    DelayDiscUntilTrack,
    JumpAfterTrack,
    Count
};

constexpr int kListOptionCount = static_cast<int>(EListOption::Count);

struct CListOptionInfo
{
    const char* attribute; // the "Volume" attribute, also the option's name
    bool defaultValue;
    const char* control; // the editor's control for it
};

// Indexed by EListOption, in the order the attributes are written.
extern const CListOptionInfo kListOptions[kListOptionCount];

// One entry of a mode box: its text and the value it stands for.
struct CListMode
{
    const char* text;
    unsigned value;
};

// "Levels:": masks of 1 letters, 2 artists, 4 discs, 8 tracks.
constexpr unsigned kLevelLetters = 1, kLevelArtists = 2, kLevelDiscs = 4, kLevelTracks = 8;
constexpr std::size_t kLevelModeCount = 12;
extern const CListMode kLevelModes[kLevelModeCount];

// "Breaks:": 1 GapBreakAlways, 2 GapSpace, 4 GapFit.
constexpr unsigned kBreakAlways = 1, kBreakSpace = 2, kBreakFit = 4;
constexpr std::size_t kBreakModeCount = 5;
extern const CListMode kBreakModes[kBreakModeCount];

// The index of the entry whose value is `value`; 0 (the first entry) when none has it,
// as the editor selects the first entry before looking for a match.
std::size_t FindListMode(const CListMode* modes, std::size_t count, unsigned value);
