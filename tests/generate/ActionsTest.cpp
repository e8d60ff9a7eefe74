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

TEST(CJumpTest, PanelJumpAndPairWriteTheirStatementsInTurn)
{
    CCSFSection root;
    CCSFSection* action = root.AddChildText("Action()");
    CPanelJump first("Dev", "P1");
    CPanelJump second("Dev\\x2e", "P2");
    CJumpPair pair(&first, &second);
    CJumpPair halfEmpty(nullptr, &first);
    pair.WriteAction(action);
    halfEmpty.WriteAction(action);
    CPanelJump(nullptr, nullptr).WriteAction(action);
    CPanelJump(nullptr, nullptr).WriteAction(nullptr);

    std::vector<std::string> texts;
    for (const CCSFSection* s = action->GetFirstChild(); s; s = s->GetNextSibling())
        texts.push_back(s->GetText());
    EXPECT_EQ(texts, (Texts_t{"JumpDevicePanel(\"Dev\", \"P1\");", "JumpDevicePanel(\"Dev\\x2e\", \"P2\");",
                              "JumpDevicePanel(\"Dev\", \"P1\");", "JumpDevicePanel(\"\", \"\");"}));
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
    ASSERT_TRUE(t1) << "12 tracks continue on a second page";
    EXPECT_EQ(Action(Item(t1, LowerButton(34))), TrackKeys("11"));
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

TEST_F(CActionsTest, PlayerJumpPanelServesWhenTheListHasNone)
{
    CCSFPanelPath back;
    back.SetDeviceNamePlain("Home");
    back.SetPanelNamePlain("Back");
    m_pPlayer->SetJumpPanel(&back);
    ResolvePlayer();
    CLibList* list = AddList("Music");
    SetModes(list, 7, 1);
    AddDisc(AddArtist(list, "Abba"), "Gold", 12);
    ASSERT_TRUE(Generate(list));
    ASSERT_TRUE(m_pPlayer->GetJumpPanel()->GetFirstMatch());
    const std::string jump = m_pPlayer->GetJumpPanel()->GetFirstMatch()->GetJumpStatement();
    EXPECT_EQ(Action(Item(Panel("Music", "D0"), UpperButton(34))), Join(DiscKeys("12"), {jump}));

    // A list jump panel wins over the player's.
    CLibList* other = AddList("Other");
    SetModes(other, 7, 1);
    auto* playing = new CCSFPanelPath();
    playing->SetDeviceNamePlain("Jukebox");
    playing->SetPanelNamePlain("Playing");
    other->SetJumpPanel(playing);
    AddDisc(AddArtist(other, "Blur"), "Parklife", 2);
    ASSERT_TRUE(Generate(other));
    EXPECT_EQ(Action(Item(Panel("Other", "D0"), UpperButton(34))),
              Join(DiscKeys("2"), {playing->GetFirstMatch()->GetJumpStatement()}));
}

TEST_F(CActionsTest, DelayDiscUntilTrackLeavesTheDiscToTheTracks)
{
    m_pPlayer->SetDiscToTrackDelay(3);
    CLibList* list = AddList("Music");
    list->SetDelayDiscUntilTrack(true);
    AddDisc(AddArtist(list, "Abba"), "Gold", 8, 2);
    ASSERT_TRUE(Generate(list));

    EXPECT_EQ(Action(Item(Panel("Music", "D0"), UpperButton(34))), Texts_t{Jump("Music", "T0")});
    EXPECT_EQ(Action(Item(Panel("Music", "T0"), LowerButton(34))),
              Join(Join(DiscKeys("8"), {"Delay(300);"}), TrackKeys("2")));
}

TEST_F(CActionsTest, ADiscWithoutPlayerGetsAnEmptyAction)
{
    CLibList* list = AddList("Music");
    SetModes(list, 4, 1);
    CDisc* disc = AddDisc(AddArtist(list, "Abba"), "Gold", 8);
    disc->SetPlayer(nullptr);
    list->SetShowNumbers(true);
    ASSERT_TRUE(Generate(list));
    CCSFSection* button = Item(Panel("Music", "D0"), "Button(\"\",0,34,36,34,");
    ASSERT_TRUE(button) << "no slot label without a player";
    EXPECT_EQ(Action(button), Texts_t{});
    EXPECT_EQ(m_pGenerator->GetEntry(), m_pGenerator->GetPanelsInOrder().front()->GetJump())
        << "without letters the entry is the root group's first page";
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

TEST_F(CLinkButtonTest, AnEmptyListLeavesItsLinkButtonsAlone)
{
    CLibList* list = AddList("Nothing");
    AddArtist(list, "Nobody");
    Link(list, "Music");
    EXPECT_FALSE(Generate(list));
    EXPECT_EQ(Action(HomeButton("Music")),
              (Texts_t{"IRCode(\"0000 0067 0000 0015\")", "JumpDevicePanel(\"Home\", \"Other\");"}));
}

TEST_F(CLinkButtonTest, EveryButtonAPathMatchesBecomesALink)
{
    // A second "Music" button on the same panel: the path matches both.
    CCSFSection* main = Panel("Home", "Main");
    CCSFSection* extra = main->AddButton("Music", 0, 120, 80, 40, 0, 0, "", nullptr);
    ASSERT_TRUE(extra);
    m_tree.RemoveAll();
    CErrorRecord errors;
    ASSERT_TRUE(m_tree.Build(&errors, m_pRoot.get())) << GetText(&errors);
    ResolvePlayer();

    CLibList* list = AddList("Music");
    SetModes(list, 4, 1);
    AddDisc(AddArtist(list, "Abba"), "Gold", 1);
    Link(list, "Music");
    ASSERT_TRUE(Generate(list));
    EXPECT_EQ(Action(extra), Texts_t{Jump("Music", "D0")});
    EXPECT_EQ(Action(HomeButton("Music")).back(), Jump("Music", "D0"));
}

} // namespace
