// The read-only commands on fixed inputs: exact output and exit status. The rules behind
// the texts are tested where they are decided; here each command's wiring is.

#include "common/CliRun.h"
#include "core/Registry.h"
#include "core/Version.h"

#include <gtest/gtest.h>

namespace {

const std::string kArea = DW_TEST_DATA_DIR "/model/area";
const std::string kBroken = DW_TEST_DATA_DIR "/model/broken";

// Expected outputs of the commands on the fixtures above.
std::string Expected(const char* name)
{
    return dwtest::ReadText(std::string(DW_TEST_DATA_DIR "/app/") + name);
}

struct SCommandCase
{
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string errPart; // part of the error output; "" when nothing may be printed there
};

// Each run holds a settings guard: no command reads the user's own settings.
class CliCommands : public CCliTest, public ::testing::WithParamInterface<SCommandCase>
{
};

TEST_P(CliCommands, PrintExactlyAndExitWithTheirStatus)
{
    const SCommandCase& c = GetParam();
    CliRun run = RunCliCaptured(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, c.out);
    if (c.errPart.empty())
        EXPECT_EQ(run.err, "");
    else
        EXPECT_TRUE(Contains(run.err, c.errPart)) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    All, CliCommands,
    ::testing::Values(
        SCommandCase{
            "Version", {"--version"}, kExitOk, std::string("discweaver-cli ") + DwVersionText() + "\n", ""},
        SCommandCase{"UnknownOption", {"--no-such-option"}, kExitUsage, "", "--help"},
        SCommandCase{"Inspect",
                     {"inspect", DW_TEST_DATA_DIR "/csf/inspect.csf"},
                     kExitOk,
                     Expected("inspect.txt"),
                     ""},
        SCommandCase{"InspectMalformed",
                     {"inspect", DW_TEST_DATA_DIR "/csf/unclosed.csf"},
                     kExitFailure,
                     "",
                     "discweaver-cli: End of input CSF file reached unexpectedly\n"},
        SCommandCase{"InspectNoFile", {"inspect"}, kExitUsage, "", "FILE is required"},
        SCommandCase{"Show", {"show", "--config-area", kArea}, kExitOk, Expected("show-area.txt"), ""},
        SCommandCase{
            "Players", {"players", "--config-area", kArea}, kExitOk, Expected("players-area.txt"), ""},
        SCommandCase{"ShowBroken",
                     {"show", "--config-area", kBroken},
                     kExitFailure,
                     "",
                     "discweaver-cli: Error reading and parsing " + kBroken + "/DW_Config/DW_Library.xml\n"},
        SCommandCase{"SlotsAllAsText",
                     {"report", "slots", "--config-area", kArea},
                     kExitOk,
                     "Player       Number  Disc\n"
                     "Changer           7  Rock: The Who: Tommy\n"
                     "Lost Player     114  Rock: 10cc: Sheet Music\n",
                     ""},
        SCommandCase{
            "SlotsHighestAsCsv",
            {"report", "slots", "--tab", "highest", "--format", "csv", "--config-area", kArea},
            kExitOk,
            "Player,Number,Disc\nChanger,7,Rock: The Who: Tommy\nLost Player,114,Rock: 10cc: Sheet Music\n",
            ""},
        SCommandCase{"SlotsGapsOfNone",
                     {"report", "slots", "--tab", "gaps", "--format", "csv", "--config-area", kArea},
                     kExitOk,
                     "Note\nNo gaps in any player.\n",
                     ""},
        SCommandCase{"SlotsUnknownTab", {"report", "slots", "--tab", "middle"}, kExitUsage, "", "--tab"}),
    [](const auto& info) { return std::string(info.param.name); });

using CliSettings = CCliTest;

TEST_F(CliSettings, CommandsUseTheConfiguredAreaAndAnEmptyAreaIsNoError)
{
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "ConfigAndTempArea", kArea.c_str()));
    CliRun configured = RunCliCaptured({"show"});
    EXPECT_EQ(configured.status, kExitOk) << configured.err;
    EXPECT_EQ(configured.out, Expected("show-area.txt"));

    CliRun empty = RunCliCaptured({"players", "--config-area", m_dir});
    EXPECT_EQ(empty.status, kExitOk) << empty.err;
    EXPECT_EQ(empty.out, "No players.\n");
}

} // namespace
