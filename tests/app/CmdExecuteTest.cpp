// discweaver-cli execute: refusals on the command line, and the demo run end to end
// with the real codec (its exit status, summary and output file).

#include "DemoAreaCli.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using CmdExecuteTest = dwtest::CDemoAreaCli;

TEST_F(CmdExecuteTest, RefusesTheSameFileWithoutConfirmation)
{
    const std::string ccf = Path("remote.ccf");
    WriteFile(ccf, "x");
    CliRun run = Execute(ccf, ccf);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_TRUE(Contains(run.err, "--yes-same-file")) << run.err;
    // Different spelling, same file.
    fs::create_symlink(ccf, Path("link.ccf"));
    EXPECT_EQ(Execute(ccf, Path("link.ccf")).status, kExitUsage);
    EXPECT_EQ(ReadFile(ccf), "x");
}

TEST_F(CmdExecuteTest, RejectsUnknownChoicesAndMissingInput)
{
    const std::string out = Path("out.ccf");
    for (std::vector<std::string> wrong : {std::vector<std::string>{"--replace-devices", "maybe"},
                                           {"--unlinked", "assign="},
                                           {"--unlinked", "later"},
                                           {"--panel-cap", "40000"}})
        EXPECT_EQ(Execute("in.ccf", out, wrong).status, kExitUsage) << wrong[0] << " " << wrong[1];
    CliRun missing = Execute(Path("nothing.ccf"), out);
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_TRUE(Contains(missing.err, "Cannot access")) << missing.err;
    EXPECT_FALSE(FileExists(out));
}

TEST_F(CmdExecuteTest, RunsTheDemo)
{
    if (!dwtest::HaveCodecAndDemo())
        GTEST_SKIP() << "the codec or the demo CCF has not been built";
    const std::string out = Path("out.ccf");
    CliRun run = Execute(dwtest::kDemoCcf, out, {"--panel-cap", "50", "--unlinked", "stop"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(Contains(run.out, "Output CCF: " + out)) << run.out;
    EXPECT_TRUE(Contains(run.out, "List \"Rock & Pop\": 4 devices")) << run.out;
    EXPECT_TRUE(Contains(run.err, "Saving and compiling"));
    EXPECT_TRUE(FileExists(out));

    // Running on its own output without --replace-devices answers "no" (no terminal).
    CliRun second = Execute(out, Path("again.ccf"), {"--unlinked", "assign=Nobody"});
    EXPECT_EQ(second.status, kExitFailure);
    EXPECT_TRUE(Contains(second.err, "no player is named \"Nobody\"")) << second.err;
    EXPECT_FALSE(FileExists(Path("again.ccf")));
}

} // namespace
