// Layout of lists into pages: which pages exist, what rows they hold, how the bottom
// bars link them, and how devices are named and split. Checked on the statements the
// generator inserts into the CSF tree.

#include "common/LayoutFixture.h"

#include "generate/GenPanel.h"

#include <gtest/gtest.h>

namespace {

using CListLayoutTest = CLayoutFixture;

// Header rows are written with font 10 and the header icon; item strips as frames at
// x 36 (upper item at y, lower at y + 17).
std::string HeaderButton(const char* name, unsigned y)
{
    return "Button(\"" + std::string(name) + "\",0," + std::to_string(y) + ",240,34,";
}
std::string UpperStrip(const char* name, unsigned y)
{
    return "Frame(\"" + std::string(name) + "\",36," + std::to_string(y) + ",168,17)";
}
std::string LowerStrip(const char* name, unsigned y)
{
    return "Frame(\"" + std::string(name) + "\",36," + std::to_string(y + 17) + ",168,17)";
}
std::string LeftBar(const char* label, bool button)
{
    return std::string(button ? "Button(\"" : "Frame(\"") + label + "\",0,204,120,15" + (button ? "," : ")");
}
std::string RightBar(const char* label, bool button)
{
    return std::string(button ? "Button(\"" : "Frame(\"") + label + "\",120,204,120,15" +
           (button ? "," : ")");
}

TEST_F(CListLayoutTest, DefaultSettingsPutEveryArtistAndDiscOnItsOwnPage)
{
    CLibList* list = AddList("Music");
    AddDisc(AddArtist(list, "Abba"), "Arrival", 1, 2);
    AddDisc(AddArtist(list, "Adele"), "Twenty-one", 2, 2);
    AddDisc(AddArtist(list, "Aha"), "Hunting", 3, 2);
    CDisc* solo = AddDisc(AddArtist(list, "Beck"), "Odelay", 4, 1);
    AddDisc(solo->GetArtist(), "Sea Change", 5, 1);
    ASSERT_TRUE(Generate(list));

    // One artist page per letter with content; the three A artists share "A0".
    ASSERT_EQ(m_pGenerator->GetArtistPages().size(), 2u);
    CCSFSection* a0 = Panel("Music", "A0");
    EXPECT_TRUE(Item(a0, UpperStrip("Abba", 34)));
    EXPECT_TRUE(Item(a0, LowerStrip("Adele", 34)));
    EXPECT_TRUE(Item(a0, UpperStrip("Aha", 68)));
    EXPECT_EQ(Count(a0, "Frame(\"\",36,85,"), 0) << "no lower item beside the third artist";
    EXPECT_EQ(Action(Item(a0, HeaderButton("A", 0))), std::vector<std::string>{Jump("Music", "Alphabet")})
        << "the header jumps back to the alphabet";

    // Each artist's discs start a page of their own, each disc's tracks too.
    ASSERT_EQ(m_pGenerator->GetDiscPages().size(), 4u);
    ASSERT_EQ(m_pGenerator->GetTrackPages().size(), 5u);
    EXPECT_TRUE(Item(Panel("Music", "D0"), HeaderButton("Abba", 0)));
    EXPECT_TRUE(Item(Panel("Music", "D1"), HeaderButton("Adele", 0)));
    EXPECT_TRUE(Item(Panel("Music", "D3"), UpperStrip("Odelay", 34)));
    EXPECT_TRUE(Item(Panel("Music", "D3"), LowerStrip("Sea Change", 34)));
    EXPECT_TRUE(Item(Panel("Music", "T4"), HeaderButton("Sea Change", 0)));

    // Bottom bars: "[start]" on the first page of a level, "[end]" on the last, and the
    // neighbours' short names between.
    CCSFSection* d0 = Panel("Music", "D0");
    CCSFSection* d1 = Panel("Music", "D1");
    CCSFSection* d3 = Panel("Music", "D3");
    EXPECT_TRUE(Item(d0, LeftBar("[start]", false)));
    EXPECT_EQ(Action(Item(d0, RightBar("Adele", true))), std::vector<std::string>{Jump("Music", "D1")});
    EXPECT_EQ(Action(Item(d1, LeftBar("Abba", true))), std::vector<std::string>{Jump("Music", "D0")});
    EXPECT_TRUE(Item(d3, RightBar("[end]", false)));

    // The alphabet: letters with content are buttons, the others "." frames.
    CCSFSection* alphabet = Panel("Music", "Alphabet");
    EXPECT_EQ(Action(Item(alphabet, "Button(\"A\",40,0,38,35,")),
              std::vector<std::string>{Jump("Music", "A0")});
    EXPECT_EQ(Action(Item(alphabet, "Button(\"B\",80,0,38,35,")),
              std::vector<std::string>{Jump("Music", "A1")});
    EXPECT_TRUE(Item(alphabet, RightBar("1.0.0.0", true)));
    EXPECT_TRUE(Item(Panel("Music", "Credits"), LeftBar("Alphabet", true)));
}

// One group of eleven discs at the top of a page ("Discs" only: the list's own group).
TEST_F(CListLayoutTest, ElevenItemsContinueOnASecondPageWithCounts)
{
    CLibList* list = AddList("Shelf");
    SetModes(list, 4, 1);
    CArtist* artist = AddArtist(list, "Various");
    for (int i = 1; i <= 11; ++i)
        AddDisc(artist, ("Disc " + std::to_string(i)).c_str(), i);
    ASSERT_TRUE(Generate(list));
    ASSERT_EQ(m_pGenerator->GetDiscPages().size(), 2u);
    CCSFSection* d0 = Panel("Shelf", "D0");
    CCSFSection* d1 = Panel("Shelf", "D1");
    EXPECT_TRUE(Item(d0, "Frame(\"Shelf\",0,0,240,34)")) << "the root group has no page to go back to";
    for (int row = 0; row < 4; ++row) {
        unsigned y = 34u * (row + 1);
        EXPECT_TRUE(Item(d0, UpperStrip(("Disc " + std::to_string(2 * row + 1)).c_str(), y)));
        EXPECT_TRUE(Item(d0, LowerStrip(("Disc " + std::to_string(2 * row + 2)).c_str(), y)));
    }
    EXPECT_TRUE(Item(d0, UpperStrip("Disc 9", 170)));
    EXPECT_EQ(Action(Item(d0, "Button(\">>\",204,170,36,34,")),
              std::vector<std::string>{Jump("Shelf", "D1")});
    EXPECT_TRUE(Item(d0, RightBar("Shelf [2]", true)));

    EXPECT_EQ(Action(Item(d1, HeaderButton("Shelf", 0))), std::vector<std::string>{Jump("Shelf", "D0")});
    EXPECT_TRUE(Item(d1, UpperStrip("Disc 10", 34)));
    EXPECT_TRUE(Item(d1, LowerStrip("Disc 11", 34)));
    EXPECT_TRUE(Item(d1, LeftBar("Shelf [9]", true)));
    EXPECT_TRUE(Item(d1, RightBar("[end]", false)));
}

// The page-break rules on Artists -> Discs: artists Alpha, Beta, Gamma, ... with the given
// numbers of discs (named by the artist's initial and a count: "A1", "B1", ...), and the
// statements that must stand on each page.
struct SBreakCase
{
    const char* name;
    unsigned breaks; // 0 no space, 2 space between items, 4 no space but new page if it does not fit
    std::vector<int> discs;
    std::vector<std::pair<const char*, std::string>> items; // panel, statement prefix
    std::size_t pages;
};

class CPageBreaks : public CLayoutFixture, public ::testing::WithParamInterface<SBreakCase>
{
};

TEST_P(CPageBreaks, PlaceGroupsOnTheirPages)
{
    CLibList* list = AddList("L");
    SetModes(list, 6, GetParam().breaks);
    const char* const names[] = {"Alpha", "Beta", "Gamma", "Delta"};
    int number = 1;
    for (std::size_t a = 0; a < GetParam().discs.size(); ++a) {
        CArtist* artist = AddArtist(list, names[a]);
        for (int d = 1; d <= GetParam().discs[a]; ++d)
            AddDisc(artist, (std::string(1, names[a][0]) + std::to_string(d)).c_str(), number++);
    }
    ASSERT_TRUE(Generate(list));
    EXPECT_EQ(m_pGenerator->GetDiscPages().size(), GetParam().pages);
    for (const auto& [panel, prefix] : GetParam().items)
        EXPECT_TRUE(Item(Panel("L", panel), prefix)) << panel << ": " << prefix;
}

INSTANTIATE_TEST_SUITE_P(
    All, CPageBreaks,
    ::testing::Values(
        // Alpha: header y 0, pair y 34; an empty row; Beta: header y 102, item y 136.
        // Gamma needs 3 rows and only one is left: a new page, without a spacer; the
        // bars name the last group of the neighbouring page.
        SBreakCase{"SpaceBetweenItems",
                   2,
                   {2, 1, 1},
                   {{"D0", HeaderButton("Alpha", 0)},
                    {"D0", HeaderButton("Beta", 102)},
                    {"D0", UpperStrip("B1", 136)},
                    {"D0", RightBar("Gamma", true)},
                    {"D1", HeaderButton("Gamma", 0)},
                    {"D1", LeftBar("Beta", true)}},
                   2},
        // Beta needs 2 + 1 rows and fits the three free ones; Gamma needs 2 + 2.
        SBreakCase{"NewPageIfItDoesNotFit",
                   4,
                   {3, 3, 5},
                   {{"D0", HeaderButton("Beta", 102)},
                    {"D1", HeaderButton("Gamma", 0)},
                    {"D1", UpperStrip("G5", 102)}},
                   2},
        // Three items need a header and two rows: not on the two rows left after five items.
        SBreakCase{"NewPageForThreeItems",
                   4,
                   {5, 3},
                   {{"D1", HeaderButton("Beta", 0)}, {"D1", UpperStrip("B1", 34)}},
                   2},
        // Without fit a group starts a new page only when two rows are not free.
        SBreakCase{"NoSpace", 0, {7, 1}, {{"D1", HeaderButton("Beta", 0)}}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CListLayoutTest, PanelCapTwoSplitsTheListIntoNumberedDevices)
{
    CLibList* list = AddList("Music");
    AddDisc(AddArtist(list, "Abba"), "Arrival", 1);
    AddDisc(AddArtist(list, "Beck"), "Odelay", 2);
    ASSERT_TRUE(Generate(list, 2));

    // Creation order: Alphabet 0, Credits 1, A0 2, D0 3, A1 4, D1 5. The devices follow
    // the input's, in index order, panels in insertion order.
    using V = std::vector<std::string>;
    EXPECT_EQ(Texts(m_pRoot.get()), (V{"Device(\"Jukebox\")", "Device(\"Home\")", "Device(\"Music\")",
                                       "Device(\"Music.1\")", "Device(\"Music.2\")"}));
    EXPECT_EQ(Texts(Device("Music")), (V{"Panel(\"Alphabet\")", "Panel(\"Credits\")"}));
    EXPECT_EQ(Texts(Device("Music.1")), (V{"Panel(\"A0\")", "Panel(\"D0\")"}));
    EXPECT_EQ(Texts(Device("Music.2")), (V{"Panel(\"A1\")", "Panel(\"D1\")"}));

    // Jumps cross devices by name.
    EXPECT_EQ(Action(Item(Panel("Music", "Alphabet"), "Button(\"A\",")),
              std::vector<std::string>{Jump("Music.1", "A0")});
    EXPECT_EQ(Action(Item(Panel("Music.1", "A0"), HeaderButton("A", 0))),
              std::vector<std::string>{Jump("Music", "Alphabet")});
}

TEST_F(CListLayoutTest, LettersSortArtistsBySortKeyAndFileDigitsAndAccentsUnderHash)
{
    CLibList* list = AddList("Music");
    list->GetArtists().SetKeepSorted(false);
    AddDisc(AddArtist(list, "zappa"), "Hot Rats", 1);
    AddDisc(AddArtist(list, "\xC9lodie"), "Premier", 2);
    AddDisc(AddArtist(list, "10cc"), "Sheet Music", 3);
    CArtist* beatles = AddArtist(list, "The Beatles");
    beatles->GetSortAsName().SetPlain("Beatles");
    AddDisc(beatles, "Abbey Road", 4);
    AddDisc(AddArtist(list, "Bach"), "Cantatas", 5);
    ASSERT_TRUE(Generate(list));

    ASSERT_EQ(m_pGenerator->GetArtistPages().size(), 3u);
    CCSFSection* hash = Panel("Music", "A0");
    EXPECT_TRUE(Item(hash, HeaderButton("#", 0)));
    EXPECT_TRUE(Item(hash, UpperStrip("10cc", 34)));
    EXPECT_TRUE(Item(hash, LowerStrip("\\xc9lodie", 34))) << "names are written escaped";
    CCSFSection* b = Panel("Music", "A1");
    EXPECT_TRUE(Item(b, UpperStrip("Bach", 34)));
    EXPECT_TRUE(Item(b, LowerStrip("The Beatles", 34)));
    EXPECT_TRUE(Item(Panel("Music", "A2"), UpperStrip("zappa", 34)));
    EXPECT_TRUE(Item(Panel("Music", "Alphabet"), "Button(\"#\",0,0,38,35,"));
}

TEST_F(CListLayoutTest, LettersWithTracksOnlyGroupTracksByTitle)
{
    CLibList* list = AddList("Songs");
    SetModes(list, 9, 1); // Letters -> Tracks
    CDisc* disc = AddDisc(AddArtist(list, "Queen"), "Jazz", 12);
    AddTrack(disc, 1, "mustapha");
    AddTrack(disc, 2, "Fat Bottomed Girls");
    AddTrack(disc, 3, "Jealousy");
    AddTrack(disc, 4, "More of That Jazz");
    ASSERT_TRUE(Generate(list));

    ASSERT_EQ(m_pGenerator->GetTrackPages().size(), 3u); // F, J, M
    CCSFSection* m = Panel("Songs", "T2");
    EXPECT_TRUE(Item(m, UpperStrip("More of That Jazz", 34)));
    EXPECT_TRUE(Item(m, LowerStrip("mustapha", 34))) << "sorted ignoring case";
}

} // namespace
