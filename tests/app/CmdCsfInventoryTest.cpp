#include "app/CliTestUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CmdInspect, ListsDevicesPanelsAndButtons)
{
    CliRun run = RunCliCaptured({"inspect", DW_TEST_DATA_DIR "/csf/inspect.csf"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Device \"TV\"\n"
                       "  Hard button \"Left\" [alias]\n"
                       "  Panel \"Main\"\n"
                       "    Button 3 \"Play\" [action]\n"
                       "    Button 4 \"Vol*\" [action, alias]\n"
                       "    Button 5 \"Stop\"\n"
                       "  Panel \"Sub\"\n"
                       "Device \"Amp\"\n"
                       "Statements: 16\n"
                       "Highest button number: 90\n");
    EXPECT_EQ(run.err, "");
}

TEST(CmdInspect, MalformedFileGivesTheParserMessage)
{
    CliRun run = RunCliCaptured({"inspect", DW_TEST_DATA_DIR "/csf/unclosed.csf"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "discweaver-cli: End of input CSF file reached unexpectedly\n");
}

TEST(CmdInspect, MissingFileAndMissingArgument)
{
    CliRun missing = RunCliCaptured({"inspect", "/nonexistent/x.csf"});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_EQ(missing.err.rfind("discweaver-cli: Unable to read /nonexistent/x.csf: ", 0), 0u) << missing.err;
    CliRun usage = RunCliCaptured({"inspect"});
    EXPECT_EQ(usage.status, kExitUsage);
}

} // namespace
