#include "ModelTestUtil.h"

#include "common/LibxmlDump.h"

namespace {

using dwtest::LibxmlDump;

TEST(XmlWriter, SavedFilesAreWhatLibxmlWouldWrite)
{
    CTestCcf ccf;
    CLibrary library;
    auto* list = new CLibList(&library);
    list->GetName().SetPlain("Rock & <Roll> \"1\"");
    list->SetJumpPanel(MakePanelPath("CD", "Done").release());
    list->GetLinkButtons().Add(nullptr, MakeButtonPath("CD", "Keys", "A").release());
    list->GetHardButtons().GetAt(0)->GetAliasedButtons().Add(nullptr,
                                                             MakeButtonPath("CD", nullptr, "Mute").release());
    ASSERT_TRUE(library.GetLists().Add(nullptr, list));
    auto* artist = new CArtist(list);
    artist->GetName().SetPlain("A\tB\xff");
    ASSERT_TRUE(list->GetArtists().Add(nullptr, artist));
    auto* disc = new CDisc(artist);
    disc->GetName().SetPlain("D");
    ASSERT_TRUE(artist->GetDiscs().Add(nullptr, disc));
    disc->GetTracks().Add(nullptr, new CTrack(disc));
    std::string text = WriteLibraryText(library);
    EXPECT_EQ(LibxmlDump(text), text);

    CPlayers players;
    auto player = MakePlayer("P&Q");
    player->SetJumpPanel(MakePanelPath("CD", "Done").get());
    player->SetButton(EPlayerButton::AfterDisc, MakeButtonPath("CD", nullptr, "Vol+").get());
    ASSERT_TRUE(players.Add(nullptr, player.release()));
    std::string playersText = WritePlayersText(players);
    EXPECT_EQ(LibxmlDump(playersText), playersText);
}

} // namespace
