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

TEST_F(DWModelTest, OnlyFilesAnotherRunChangedAreReadAgain)
{
    AttachModel(config);
    CLibrary& library = GetLibrary(config);
    ASSERT_TRUE(GetPlayers(config).Add(nullptr, MakePlayer("Changer").release()));
    CErrorRecord errors;
    CWarningList warnings;
    ASSERT_TRUE(config.SavePlayers(&errors) && config.SaveLibrary(&errors)) << GetText(&errors);
    auto addList = [](CLibrary& to, const char* name) {
        auto* list = new CLibList(&to);
        list->GetName().SetPlain(name);
        ASSERT_TRUE(to.GetLists().Add(nullptr, list));
    };
    // Not saved: a reload would lose it, and nothing changed on disk.
    addList(library, "Unsaved");
    ASSERT_TRUE(config.ReloadChangedModelFiles(&errors, &warnings)) << GetText(&errors);
    EXPECT_TRUE(library.GetLists().FindByName("Unsaved"));

    CDWConfig other;
    other.SetConfigArea(m_dir.c_str());
    AttachModel(other);
    ASSERT_TRUE(other.LoadPlayers(&errors, &warnings) && other.LoadLibrary(&errors, &warnings));
    addList(GetLibrary(other), "Saved Elsewhere");
    ASSERT_TRUE(other.SaveLibrary(&errors)) << GetText(&errors);
    ASSERT_TRUE(config.ReloadChangedModelFiles(&errors, &warnings)) << GetText(&errors);
    EXPECT_TRUE(library.GetLists().FindByName("Saved Elsewhere"));
    EXPECT_FALSE(library.GetLists().FindByName("Unsaved"));
    EXPECT_TRUE(GetPlayers(config).FindByName("Changer"));
}

} // namespace
