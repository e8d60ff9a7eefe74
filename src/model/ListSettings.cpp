#include "model/ListSettings.h"

const CListOptionInfo kListOptions[kListOptionCount] = {
    {"ShowNumbers", false, "Disc/Track numbers on buttons"},
    {"GapBreakAlways", true, "Breaks:"},
    {"GapSpace", true, "Breaks:"},
    {"GapFit", false, "Breaks:"},
    {"ShowLetters", true, "Levels:"},
    {"ShowArtists", true, "Levels:"},
    {"ShowDiscs", true, "Levels:"},
    {"ShowTracks", true, "Levels:"},
    {"HidePanels", false, "Hide panels"},
    {"LargerFont", false, "Larger font"},
    {"Truncate", true, "Truncate Names"},
    {"Links", true, "Bottom Links"},
    {"DelayDiscUntilTrack", false, "Delay discs until track selection"},
    {"JumpAfterTrack", false, "Jump after track selection"},
};

const CListMode kLevelModes[kLevelModeCount] = {
    {"Letters -> Artists -> Discs -> Tracks", 15},
    {"Letters -> Artists -> Discs", 7},
    {"Letters -> Artists -> Tracks", 11},
    {"Letters -> Discs -> Tracks", 13},
    {"Letters -> Discs", 5},
    {"Letters -> Tracks", 9},
    {"Artists -> Discs -> Tracks", 14},
    {"Artists -> Discs", 6},
    {"Artists -> Tracks", 10},
    {"Discs -> Tracks", 12},
    {"Discs", 4},
    {"Tracks", 8},
};

const CListMode kBreakModes[kBreakModeCount] = {
    {"New page for every item", 1},           {"Space between items", 2},
    {"Space; New page if doesn't fit", 6},    {"No space between items", 0},
    {"No space; New page if doesn't fit", 4},
};

std::size_t FindListMode(const CListMode* modes, std::size_t count, unsigned value)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (modes[i].value == value)
            return i;
    }
    return 0;
}
