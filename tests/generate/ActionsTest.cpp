// What generated buttons do: disc and track play sequences for each combination of
// levels, the disc selection on entering a track page, jumps after playing, and the
// rewriting of the user's link buttons.

#include "common/LayoutFixture.h"

#include "csf/CSFSection.h"
#include "generate/GenPanel.h"
#include "generate/Jump.h"

#include <gtest/gtest.h>

namespace {

using CActionsTest = CLayoutFixture;
using Texts_t = std::vector<std::string>;

// The item buttons of a page: upper at (0, y), lower at (204, y).
std::string UpperButton(unsigned y)
{
    return "Button(\"\",0," + std::to_string(y) + ",36,34,";
}
std::string LowerButton(unsigned y)
{
    return "Button(\"\",204," + std::to_string(y) + ",36,34,";
}

TEST_F(CActionsTest, DefaultSettingsSelectTheDiscOnEnteringItsTrackPage)
{
    CLibList* list = AddList("Music");
    AddDisc(AddArtist(list, "Abba"), "Gold", 114, 12);
    ASSERT_TRUE(Generate(list));

    // The disc button on the artist's disc page: disc selection (no jump), then its page.
    EXPECT_EQ(Action(Item(Panel("Music", "D0"), UpperButton(34))),
              Join(DiscKeys("114"), {Jump("Music", "T0")}));
    // Tracks then send only the track selection, one or two digits.
    CCSFSection* t0 = Panel("Music", "T0");
    EXPECT_EQ(Action(Item(t0, UpperButton(34))), TrackKeys("1"));
    CCSFSection* t1 = Panel("Music", "T1");
    EXPECT_EQ(Action(Item(t1, LowerButton(34))), TrackKeys("11")) << "12 tracks continue on a second page";
}

TEST_F(CActionsTest, JumpAfterTrackJumpsToTheListsJumpPanel)
{
    CLibList* list = AddList("Music");
    list->SetJumpAfterTrack(true);
    auto* panel = new CCSFPanelPath();
    panel->SetDeviceNamePlain("Jukebox");
    panel->SetPanelNamePlain("Playing");
    list->SetJumpPanel(panel);
    AddDisc(AddArtist(list, "Abba"), "Gold", 3, 1);
    ASSERT_TRUE(Generate(list));
    const std::string playing = panel->GetFirstMatch()->GetJumpStatement();
    EXPECT_EQ(Action(Item(Panel("Music", "T0"), UpperButton(34))), Join(TrackKeys("1"), {playing}));
    EXPECT_EQ(Action(Item(Panel("Music", "D0"), UpperButton(34))), Join(DiscKeys("3"), {Jump("Music", "T0")}))
        << "the disc selection on entry never jumps";
}

TEST_F(CActionsTest, ArtistsToTracksSendsDiscDelayAndTrackFromEveryTrack)
{
    m_pPlayer->SetDiscToTrackDelay(15);
    CLibList* list = AddList("Music");
    SetModes(list, 10, 1); // Artists -> Tracks
    CArtist* artist = AddArtist(list, "Abba");
    AddDisc(artist, "Gold", 5, 1);
    AddDisc(artist, "More Gold", 6, 1);
    ASSERT_TRUE(Generate(list));

    CCSFSection* t0 = Panel("Music", "T0");
    EXPECT_TRUE(Item(t0, "Button(\"Abba\",0,0,240,34,"));
    EXPECT_EQ(Action(Item(t0, UpperButton(34))), Join(Join(DiscKeys("5"), {"Delay(1500);"}), TrackKeys("1")));
    EXPECT_EQ(Action(Item(t0, LowerButton(34))), Join(Join(DiscKeys("6"), {"Delay(1500);"}), TrackKeys("1")));
}

TEST_F(CActionsTest, LettersArtistsDiscsPlaysTheDiscAndJumps)
{
    CLibList* list = AddList("Music");
    SetModes(list, 7, 1); // Letters -> Artists -> Discs
    CArtist* artist = AddArtist(list, "Abba");
    AddDisc(artist, "Gold", 12, 3); // tracks are not shown, so the disc is playable
    ASSERT_TRUE(Generate(list));

    // Neither the list nor the player has a jump panel: no jump.
    EXPECT_EQ(Action(Item(Panel("Music", "D0"), UpperButton(34))), DiscKeys("12"));
    EXPECT_TRUE(m_pGenerator->GetTrackPages().empty());
}

// Link buttons of the fixture's home device: "Music" has an IR code and one jump,
// "Two" two jumps, "Bare" no action block at all.
class CLinkButtonTest : public CLayoutFixture
{
protected:
    void Link(CLibList* list, const char* button)
    {
        CErrorRecord errors;
        ASSERT_TRUE(list->GetLinkButtons().Add(&errors, new CCSFButtonPath(KeyPath(button, "Home", "Main"))))
            << GetText(&errors);
    }
    CCSFSection* HomeButton(const char* name) const
    {
        return Item(Panel("Home", "Main"), "Button(\"" + std::string(name) + "\",");
    }
};

TEST_F(CLinkButtonTest, LinkButtonsJumpToTheEntryAndKeepTheirOtherStatements)
{
    CLibList* list = AddList("Music");
    AddDisc(AddArtist(list, "Abba"), "Gold", 1);
    Link(list, "Music");
    Link(list, "Two");
    Link(list, "Bare");
    ASSERT_TRUE(Generate(list));

    const std::string entry = Jump("Music", "Alphabet");
    EXPECT_EQ(Action(HomeButton("Music")), (Texts_t{"IRCode(\"0000 0067 0000 0015\")", entry}));
    EXPECT_EQ(Action(HomeButton("Two")), (Texts_t{"JumpDevicePanel(\"Home\", \"B\");", entry}))
        << "only the first jump is removed";
    EXPECT_EQ(Action(HomeButton("Bare")), Texts_t{entry});
    EXPECT_EQ(Count(HomeButton("Bare"), "Action()"), 1);
}

} // namespace
