#include "ModelTestUtil.h"

#include "core/DWConfig.h"
#include "model/DWModel.h"

#include <gmock/gmock.h>

#include <sys/stat.h>

namespace {

using ::testing::HasSubstr;

class DWModelTest : public CModelTempDirTest
{
protected:
    void SetUp() override
    {
        CModelTempDirTest::SetUp();
        config.SetConfigArea(m_dir.c_str());
    }

    CDWConfig config;
};

TEST_F(DWModelTest, ReloadingThePlayersRelinksTheDiscsToTheNewObjects)
{
    // The players editor's Cancel reloads the players while discs point at the old ones.
    AttachModel(config);
    CPlayers& players = GetPlayers(config);
    CLibrary& library = GetLibrary(config);
    ASSERT_TRUE(players.Add(nullptr, MakePlayer("Changer").release()));
    ASSERT_TRUE(players.Add(nullptr, MakePlayer("Other").release()));
    auto* list = new CLibList(&library);
    list->GetName().SetPlain("Rock");
    ASSERT_TRUE(library.GetLists().Add(nullptr, list));
    auto* artist = new CArtist(list);
    artist->GetName().SetPlain("Queen");
    ASSERT_TRUE(list->GetArtists().Add(nullptr, artist));
    auto* disc = new CDisc(artist);
    disc->GetName().SetPlain("Jazz");
    disc->SetPlayer(players.FindByName("Changer"));
    ASSERT_TRUE(artist->GetDiscs().Add(nullptr, disc));
    CErrorRecord errors;
    ASSERT_TRUE(config.SavePlayers(&errors)) << GetText(&errors);

    // The player is edited away: deleted from the collection, the disc told.
    CPlayer* changer = players.FindByName("Changer");
    library.PlayerRemoved(changer);
    players.Remove(changer);
    EXPECT_EQ(disc->GetPlayer(), nullptr);

    CWarningList warnings;
    ASSERT_TRUE(config.LoadPlayers(&errors, &warnings)) << GetText(&errors);
    ASSERT_EQ(players.GetCount(), 2u);
    EXPECT_EQ(disc->GetPlayer(), players.FindByName("Changer"));

    // A disc still linked when the reload happens follows its player to the new object.
    ASSERT_TRUE(config.LoadPlayers(&errors, &warnings)) << GetText(&errors);
    EXPECT_NE(disc->GetPlayer(), nullptr);
    EXPECT_EQ(disc->GetPlayer(), players.FindByName("Changer"));
}

TEST_F(DWModelTest, LoadModelFilesTriesBothFiles)
{
    CDWModel& model = AttachModel(config);
    ASSERT_EQ(mkdir(Path("DW_Config").c_str(), 0777), 0);
    WriteFile(Path("DW_Config/DW_Devices.xml"),
              "<DiscweaverDevices Version=\"2\"><Devices/></DiscweaverDevices>");
    WriteFile(Path("DW_Config/DW_Library.xml"), "<Wrong/>");
    CErrorRecord errors;
    CWarningList warnings;
    EXPECT_FALSE(model.LoadModelFiles(config, nullptr, &errors, &warnings));
    EXPECT_THAT(GetText(&errors), HasSubstr("Expected root node \"DiscweaverLibrary\""));
    EXPECT_EQ(warnings.size(), 4u);
}

} // namespace
