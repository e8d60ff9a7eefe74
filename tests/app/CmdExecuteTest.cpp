// discweaver-cli execute: refusals on the command line, and the demo run end to end
// with the real codec (its exit status, summary and output file).

#include "CliTestUtil.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const fs::path kDemoDir = fs::path(DW_TEST_DATA_DIR) / ".." / ".." / "demo";

class CmdExecuteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_tmp.Path().empty());
        setenv("DISCWEAVER_SETTINGS", (m_root / "settings").c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", (m_root / "machine").c_str(), 1);
        fs::create_directories(m_root / "area" / "DW_Config");
        fs::copy_file(kDemoDir / "DW_Devices.xml", m_root / "area" / "DW_Config" / "DW_Devices.xml");
        fs::copy_file(kDemoDir / "DW_Library.xml", m_root / "area" / "DW_Config" / "DW_Library.xml");
    }
    CliRun Execute(const std::string& input, const std::string& output, std::vector<std::string> more = {})
    {
        std::vector<std::string> args{
            "execute", "--input", input, "--output", output, "--config-area", (m_root / "area").string()};
        args.insert(args.end(), more.begin(), more.end());
        return RunCliCaptured(args);
    }

    dwtest::CTempDir m_tmp{"dw-cli-execute"};
    fs::path m_root = m_tmp.Path();
};

TEST_F(CmdExecuteTest, RefusesTheSameFileWithoutConfirmation)
{
    fs::path ccf = m_root / "remote.ccf";
    std::ofstream(ccf) << "x";
    CliRun run = Execute(ccf.string(), ccf.string());
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("--yes-same-file"), std::string::npos) << run.err;
    // Different spelling, same file.
    fs::create_symlink(ccf, m_root / "link.ccf");
    EXPECT_EQ(Execute(ccf.string(), (m_root / "link.ccf").string()).status, kExitUsage);
    EXPECT_EQ(std::ifstream(ccf).get(), 'x');
}

TEST_F(CmdExecuteTest, RejectsUnknownChoicesAndMissingInput)
{
    fs::path out = m_root / "out.ccf";
    EXPECT_EQ(Execute("in.ccf", out.string(), {"--replace-devices", "maybe"}).status, kExitUsage);
    EXPECT_EQ(Execute("in.ccf", out.string(), {"--unlinked", "assign="}).status, kExitUsage);
    EXPECT_EQ(Execute("in.ccf", out.string(), {"--unlinked", "later"}).status, kExitUsage);
    EXPECT_EQ(Execute("in.ccf", out.string(), {"--panel-cap", "40000"}).status, kExitUsage);
    CliRun missing = Execute((m_root / "nothing.ccf").string(), out.string());
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("Cannot access"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CmdExecuteTest, RunsTheDemo)
{
    if (!fs::exists(DW_BIN_DIR "/libCCFDll.so") || !fs::exists(DW_BIN_DIR "/../demo/demo.ccf"))
        GTEST_SKIP() << "the codec or the demo CCF has not been built";
    fs::path out = m_root / "out.ccf";
    CliRun run =
        Execute(DW_BIN_DIR "/../demo/demo.ccf", out.string(), {"--panel-cap", "50", "--unlinked", "stop"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("Output CCF: " + out.string()), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("List \"Rock & Pop\": 4 devices"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("Saving and compiling"), std::string::npos);
    EXPECT_TRUE(fs::exists(out));

    // Running on its own output without --replace-devices answers "no" (no terminal).
    fs::path again = m_root / "again.ccf";
    CliRun second = Execute(out.string(), again.string(), {"--unlinked", "assign=Nobody"});
    EXPECT_EQ(second.status, kExitFailure);
    EXPECT_NE(second.err.find("no player is named \"Nobody\""), std::string::npos) << second.err;
    EXPECT_FALSE(fs::exists(again));
}

} // namespace
