#include "ModelTestUtil.h"

#include "core/XmlDocument.h"

#include <gmock/gmock.h>

#include <set>
#include <sstream>

namespace {

// One case of a player's key sequence, on a fresh player: number keys "0".."9", disc keys
// "B" and "A", track keys "T1"/"T2" before and "U1" after (and "U2" with the word u2), pad
// 3, delay 2 between identical digits, discs to track delay 7, jump panel CD/Done. The
// words of `setup` change that; in `expected` every alias is the key's name, "J" the jump.
struct SSequenceCase
{
    const char* name;
    const char* setup; // "disc N" or "track N", then: padN delayN every jump listpanel
                       // noplayerpanel nodisckeys u2 pretrack
    const char* expected;
};

class PlayerSequence : public ::testing::TestWithParam<SSequenceCase>
{
protected:
    std::string Abbreviate(const std::string& statement) const
    {
        for (const char* n :
             {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "B", "A", "T1", "T2", "U1", "U2"})
            if (statement == Press(m_ccf, n))
                return n;
        return statement == "JumpDevicePanel(\"CD\",\"Done\");" ? "J" : statement;
    }

    CTestCcf m_ccf;
};

TEST_P(PlayerSequence, PressesTheKeysWithTheirDelays)
{
    std::istringstream words(GetParam().setup);
    std::string kind, word;
    std::uint32_t number = 0;
    words >> kind >> number;
    std::set<std::string> flags;
    int pad = 3, delay = 2;
    while (words >> word) {
        if (word.rfind("pad", 0) == 0)
            pad = std::stoi(word.substr(3));
        else if (word.rfind("delay", 0) == 0)
            delay = std::stoi(word.substr(5));
        else
            flags.insert(word);
    }
    auto player = MakePlayer("Jukebox");
    if (!flags.count("nodisckeys")) {
        player->SetButton(EPlayerButton::BeforeDisc, MakeButtonPath("CD", "Keys", "B").get());
        player->SetButton(EPlayerButton::AfterDisc, MakeButtonPath("CD", "Keys", "A").get());
    }
    player->SetButton(EPlayerButton::BeforeTrack1Digit, MakeButtonPath("CD", "Keys", "T1").get());
    player->SetButton(EPlayerButton::BeforeTrack2Digits, MakeButtonPath("CD", "Keys", "T2").get());
    player->SetButton(EPlayerButton::AfterTrack1Digit, MakeButtonPath("CD", "Keys", "U1").get());
    if (flags.count("u2"))
        player->SetButton(EPlayerButton::AfterTrack2Digits, MakeButtonPath("CD", "Keys", "U2").get());
    player->SetDigitsToPadTo(pad);
    player->SetDelay(delay);
    player->SetDelayOnlyIdentical(!flags.count("every"));
    player->SetDiscToTrackDelay(7);
    if (!flags.count("noplayerpanel"))
        player->SetJumpPanel(MakePanelPath("CD", "Done").get());
    auto listPanel = MakePanelPath("CD", "Done");
    CErrorRecord errors;
    ASSERT_TRUE(listPanel->Resolve(&errors, true, &m_ccf.tree, "list", "L", "jump panel"));
    ASSERT_TRUE(player->ResolvePaths(&errors, &m_ccf.tree)) << GetText(&errors);

    CCSFSection root;
    CCSFSection* actions = root.AddChildText("Action()");
    const CCSFPanelPath* panel = flags.count("listpanel") ? listPanel.get() : nullptr;
    if (kind == "track")
        player->AddTrackSequence(actions, number, flags.count("jump"), panel, flags.count("pretrack"));
    else
        player->AddDiscSequence(actions, number, flags.count("jump"), panel);
    std::string got;
    for (const CCSFSection* s = actions->GetFirstChild(); s; s = s->GetNextSibling())
        got += Abbreviate(s->GetText()) + ";";
    EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    All, PlayerSequence,
    ::testing::Values(SSequenceCase{"WorkedExampleDisc114", "disc 114", "B;1;Delay(200);;1;4;A;"},
                      SSequenceCase{"DelayBetweenEveryKey", "disc 114 every",
                                    "B;Delay(200);;1;Delay(200);;1;Delay(200);;4;Delay(200);;A;"},
                      SSequenceCase{"PaddedWithZeros", "disc 7", "B;0;Delay(200);;0;7;A;"},
                      SSequenceCase{"ZeroDelayNeverPauses", "disc 7 delay0", "B;0;0;7;A;"},
                      SSequenceCase{"ZeroDelayEveryKey", "disc 7 delay0 every", "B;0;0;7;A;"},
                      SSequenceCase{"PaddingNeverCuts", "disc 1234 pad2", "B;1;2;3;4;A;"},
                      SSequenceCase{"ZeroWithoutDiscKeys", "disc 0 pad1 nodisckeys", "0;"},
                      SSequenceCase{"JumpToThePlayersPanel", "disc 5 delay0 jump", "B;0;0;5;A;J;"},
                      SSequenceCase{"ListPanelOnlyWhenJumping", "disc 5 delay0 listpanel", "B;0;0;5;A;"},
                      SSequenceCase{"NoPanelNoJump", "disc 5 delay0 jump noplayerpanel", "B;0;0;5;A;"},
                      SSequenceCase{"ListPanelWithoutPlayersPanel",
                                    "disc 5 delay0 jump noplayerpanel listpanel", "B;0;0;5;A;J;"},
                      SSequenceCase{"OneDigitTrack", "track 5", "T1;5;U1;"},
                      SSequenceCase{"TwoDigitsWithoutAfterKey", "track 10", "T2;1;0;"},
                      SSequenceCase{"TwoDigitsWithAfterKey", "track 10 u2", "T2;1;0;U2;"},
                      SSequenceCase{"DiscToTrackDelayAndJump", "track 11 u2 jump pretrack",
                                    "Delay(700);;T2;1;Delay(200);;1;U2;J;"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlayerResolve, MessagesNameThePlayerAndRole)
{
    CTestCcf ccf;
    auto player = MakePlayer("Box");
    player->SetButton(EPlayerButton::BeforeTrack2Digits, MakeButtonPath("CD", "Keys", "Nope").get());
    CErrorRecord errors;
    EXPECT_FALSE(player->ResolvePaths(&errors, &ccf.tree));
    EXPECT_STREQ(GetText(&errors), "player \"Box\" has non-existent before track button (2 digits)");

    player->SetButton(EPlayerButton::BeforeTrack2Digits, nullptr);
    player->SetNumberButton(3, MakeButtonPath("cd", "keys", "3").get());
    Clear(&errors);
    EXPECT_FALSE(player->ResolvePaths(&errors, &ccf.tree));
    EXPECT_STREQ(GetText(&errors),
                 "player \"Box\" has #3 button which does not exist by that exact, case-sensitive name");

    player->SetNumberButton(3, MakeButtonPath("CD", "Keys", "3").get());
    player->SetJumpPanel(MakePanelPath("CD", "Twice").get());
    Clear(&errors);
    CPlayers players;
    ASSERT_TRUE(players.Add(nullptr, player.release()));
    EXPECT_FALSE(ResolvePlayerPaths(&errors, players, &ccf.tree));
    EXPECT_STREQ(GetText(&errors), "player \"Box\" has jump panel which is not unique");
}

class PlayersFileTest : public CModelTempDirTest
{
protected:
    std::string Devices(const std::string& body, const char* version = "1")
    {
        return std::string("<?xml version=\"1.0\"?>\n<DiscweaverDevices Version=\"") + version +
               "\"><Devices>" + body + "</Devices></DiscweaverDevices>\n";
    }

    std::string NumberButtons(int count = 10)
    {
        std::string text;
        for (int d = 0; d < count; ++d)
            text += "<CSFPath Type=\"Button\" CSFDeviceName=\"CD\" CSFPanelName=\"Keys\" CSFButtonName=\"" +
                    std::to_string(d) + "\" Name=\"NumberButton\" Number=\"" + std::to_string(d) + "\"/>";
        return text;
    }

    bool Load(const std::string& text)
    {
        WriteFile(Path("DW_Devices.xml"), text);
        m_errors.Reset();
        m_warnings.clear();
        return LoadPlayersFile(&m_errors, &m_warnings, m_players, Path("DW_Devices.xml").c_str());
    }

    CPlayers m_players;
    CErrorRecord m_errors;
    CWarningList m_warnings;
};

TEST_F(PlayersFileTest, AttributesAreLimitedAndOldAfterTrackButtonIsSplit)
{
    ASSERT_TRUE(Load(Devices("<Device Name=\"Box\" ShortName=\"B\\x5f\" DigitsToPadTo=\"9\" "
                             "TenthsSecDelayTime=\"5000\" DelayOnlyIdentical=\"0\" "
                             "TenthsSecDiscToTrackDelayTime=\"-4\">" +
                             NumberButtons() +
                             "<CSFPath Type=\"Button\" CSFDeviceName=\"CD\" CSFPanelName=\"Keys\" "
                             "CSFButtonName=\"U1\" Name=\"AfterTrackButton\"/></Device>")))
        << GetText(&m_errors);
    EXPECT_TRUE(m_warnings.empty());
    ASSERT_EQ(m_players.GetCount(), 1u);
    const CCSFButtonPath* after2 = m_players.GetFirst()->GetButton(EPlayerButton::AfterTrack2Digits);
    ASSERT_NE(after2, nullptr);
    EXPECT_STREQ(after2->GetDescription(), "CD, Keys, U1");
    EXPECT_FALSE(m_players.IsModified());

    // Saving writes the limited values, the two new elements and no old one.
    ASSERT_TRUE(SavePlayersFile(&m_errors, m_players, Path("out.xml").c_str())) << GetText(&m_errors);
    std::string saved = ReadFile(Path("out.xml"));
    EXPECT_THAT(saved, ::testing::HasSubstr("Name=\"AfterTrackButton1Digit\""));
    EXPECT_THAT(saved, ::testing::HasSubstr("Name=\"AfterTrackButton2Digits\""));
    EXPECT_THAT(saved, ::testing::Not(::testing::HasSubstr("Name=\"AfterTrackButton\"")));
    EXPECT_THAT(saved, ::testing::HasSubstr("<Device Name=\"Box\" ShortName=\"B\\x5f\" DigitsToPadTo=\"5\" "
                                            "TenthsSecDelayTime=\"999\" DelayOnlyIdentical=\"0\" "
                                            "TenthsSecDiscToTrackDelayTime=\"0\">"));
}

TEST_F(PlayersFileTest, RoundTripKeepsEveryField)
{
    auto player = MakePlayer("Changer");
    player->GetShortName().SetPlain("C/");
    player->SetJumpPanel(MakePanelPath("CD", "Done").get());
    player->SetButton(EPlayerButton::BeforeDisc, MakeButtonPath("CD", "Keys", "B").get());
    player->SetButton(EPlayerButton::AfterTrack2Digits, MakeButtonPath("CD", nullptr, "Mute").get());
    player->SetDelayOnlyIdentical(false);
    player->SetDiscToTrackDelay(12);
    ASSERT_TRUE(m_players.Add(&m_errors, player.release()));
    ASSERT_TRUE(SavePlayersFile(&m_errors, m_players, Path("a/b/DW_Devices.xml").c_str()))
        << GetText(&m_errors);
    std::string first = ReadFile(Path("a/b/DW_Devices.xml"));

    CPlayers again;
    ASSERT_TRUE(LoadPlayersFile(&m_errors, &m_warnings, again, Path("a/b/DW_Devices.xml").c_str()));
    ASSERT_TRUE(SavePlayersFile(&m_errors, again, Path("second.xml").c_str()));
    EXPECT_EQ(ReadFile(Path("second.xml")), first);
    EXPECT_THAT(first, ::testing::StartsWith("<?xml version=\"1.0\"?>\n<DiscweaverDevices Version=\"1\">\n  "
                                             "<Devices>\n"));
}

} // namespace
