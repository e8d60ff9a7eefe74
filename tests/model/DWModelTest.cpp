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

TEST_F(DWModelTest, ConfigurationOwnsTheModelRoots)
{
    CDWConfig bare;
    EXPECT_EQ(bare.GetPlayers(), nullptr);
    CErrorRecord errors;
    EXPECT_FALSE(bare.SavePlayers(&errors));
    EXPECT_STREQ(GetText(&errors), "No players and library model attached");

    CDWModel& model = AttachModel(config);
    EXPECT_EQ(&AttachModel(config), &model);
    EXPECT_EQ(config.GetPlayers(), &GetPlayers(config));
    EXPECT_EQ(config.GetLibrary(), &GetLibrary(config));
    EXPECT_TRUE(config.GetPlayers()->IsKeepSorted());
}

TEST_F(DWModelTest, SavesIntoTheAreaAndLoadsBack)
{
    AttachModel(config);
    CPlayers& players = GetPlayers(config);
    CLibrary& library = GetLibrary(config);
    ASSERT_TRUE(players.Add(nullptr, MakePlayer("Changer").release()));
    auto* list = new CLibList(&library);
    list->GetName().SetPlain("Rock");
    ASSERT_TRUE(library.GetLists().Add(nullptr, list));
    auto* artist = new CArtist(list);
    artist->GetName().SetPlain("Queen");
    ASSERT_TRUE(list->GetArtists().Add(nullptr, artist));
    auto* disc = new CDisc(artist);
    disc->GetName().SetPlain("Jazz");
    disc->SetPlayer(players.GetFirst());
    ASSERT_TRUE(artist->GetDiscs().Add(nullptr, disc));

    CErrorRecord errors;
    // DW_Config does not exist yet: the save creates it.
    ASSERT_TRUE(config.SavePlayers(&errors)) << GetText(&errors);
    ASSERT_TRUE(config.SaveLibrary(&errors)) << GetText(&errors);
    EXPECT_FALSE(players.IsModified());
    EXPECT_FALSE(library.IsModified());
    EXPECT_THAT(ReadFile(m_dir + "/DW_Config/DW_Library.xml"), HasSubstr("DeviceName=\"Changer\""));

    // An export leaves the flags; an import merges and marks the library changed.
    library.GetLists().SetModified();
    ASSERT_TRUE(config.SaveLibrary(&errors, Path("export.xml").c_str()));
    EXPECT_TRUE(library.IsModified());

    CDWConfig fresh;
    AttachModel(fresh);
    fresh.SetConfigArea(m_dir.c_str());
    CWarningList warnings;
    ASSERT_TRUE(fresh.LoadPlayers(&errors, &warnings)) << GetText(&errors);
    ASSERT_TRUE(fresh.LoadLibrary(&errors, &warnings)) << GetText(&errors);
    EXPECT_TRUE(warnings.empty());
    const CDisc* loaded =
        GetLibrary(fresh).GetLists().GetFirst()->GetArtists().GetFirst()->GetDiscs().GetFirst();
    EXPECT_EQ(loaded->GetPlayer(), GetPlayers(fresh).GetFirst());

    EXPECT_FALSE(fresh.LoadLibrary(&errors, &warnings, Path("export.xml").c_str()));
    EXPECT_STREQ(GetText(&errors), "Error with library file: Another list is already named \"Rock\"");
}

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

TEST_F(DWModelTest, NoAreaMeansNoFile)
{
    AttachModel(config);
    config.SetConfigArea(nullptr);
    CErrorRecord errors;
    CWarningList warnings;
    EXPECT_FALSE(config.LoadPlayers(&errors, &warnings));
    EXPECT_STREQ(GetText(&errors), "Config returns NULL players filename");
    Clear(&errors);
    EXPECT_FALSE(config.SaveLibrary(&errors));
    EXPECT_STREQ(GetText(&errors), "Config returns NULL library filenae");
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
