#include "app/CliTestUtil.h"
#include "common/TempDir.h"
#include "core/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const std::string kArea = DW_TEST_DATA_DIR "/model/area";

const char* const kTree = "Lists\n"
                          "  Rock\n"
                          "    10cc (10)\n"
                          "      Bloody Tourists (NO PLAYER, 3)\n"
                          "      Sheet Music (UNRESOLVED PLAYER: Lost Player, 114)\n"
                          "    The Who (Sort As: Who)\n"
                          "      Tommy (Changer, 007)\n"
                          "  Empty\n";

TEST(CmdLibrary, ShowPrintsTheTreeOfTheGivenArea)
{
    CliRun run = RunCliCaptured({"show", "--config-area", kArea});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, kTree);
    EXPECT_EQ(run.err, "");
}

TEST(CmdLibrary, PlayersPrintsTheMappedButtons)
{
    CliRun run = RunCliCaptured({"players", "--config-area", kArea});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    std::string expected = "Changer\n"
                           "  Short name: C\n"
                           "  Pad disc numbers to: 3\n"
                           "  Delay: 2 tenths of a second (only between identical digits)\n"
                           "  Pre-track delay: 0 tenths of a second\n"
                           "  Jump: CD, Done\n";
    for (int d = 0; d < 10; ++d)
        expected += "  Number " + std::to_string(d) + ": CD, Keys, " + std::to_string(d) + "\n";
    expected += "  Before Disc: CD, Keys, Disc\n"
                "  After Track (2 digits): CD, Hard Buttons, Mute\n";
    EXPECT_EQ(run.out, expected);
}

TEST(CmdLibrary, UsesTheConfiguredAreaAndReportsBrokenFiles)
{
    dwtest::CTempDir pattern("dw-cli-model");
    ASSERT_FALSE(pattern.Path().empty());
    setenv("DISCWEAVER_SETTINGS", (pattern / "settings").c_str(), 1);
    setenv("DISCWEAVER_MACHINE_SETTINGS", (pattern / "machine").c_str(), 1);
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "ConfigAndTempArea", kArea.c_str()));

    CliRun configured = RunCliCaptured({"show"});
    EXPECT_EQ(configured.status, kExitOk) << configured.err;
    EXPECT_EQ(configured.out, kTree);

    // An empty area: no files is no error.
    CliRun empty = RunCliCaptured({"players", "--config-area", pattern.Path()});
    EXPECT_EQ(empty.status, kExitOk) << empty.err;
    EXPECT_EQ(empty.out, "No players.\n");

    std::string broken = DW_TEST_DATA_DIR "/model/broken";
    CliRun bad = RunCliCaptured({"show", "--config-area", broken});
    EXPECT_EQ(bad.status, kExitFailure);
    EXPECT_EQ(bad.out, "");
    std::string file = broken + "/DW_Config/DW_Library.xml";
    EXPECT_NE(bad.err.find("discweaver-cli: " + file + ":4: parser error : "), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("discweaver-cli: Error reading and parsing " + file + "\n"), std::string::npos)
        << bad.err;

    unsetenv("DISCWEAVER_SETTINGS");
    unsetenv("DISCWEAVER_MACHINE_SETTINGS");
}

} // namespace
