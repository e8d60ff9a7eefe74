// The command line and its configuration area: a mistyped --config-area is a wrong
// command line for every command; commands that change an area take it for
// themselves, so two of them at once never lose or mix up each other's results; a
// run's options stay in that run unless --save is given.

#include "DemoAreaCli.h"
#include "core/AreaLock.h"
#include "core/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using dwtest::HaveCodecAndDemo;
using dwtest::kDemoCcf;
using dwtest::ReadText;
using dwtest::WriteText;

class AreaCli : public dwtest::CDemoAreaCli
{
protected:
    // Runs discweaver-cli in a child process (so that two can run at once); returns its pid.
    static pid_t StartChild(const std::vector<std::string>& args)
    {
        pid_t pid = ::fork();
        if (pid == 0) {
            CliRun run = RunCliCaptured(args);
            ::_exit(run.status);
        }
        return pid;
    }
    static int WaitChild(pid_t pid)
    {
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    }
};

// ---- A mistyped area -------------------------------------------------------------------

struct SAreaCommand
{
    const char* name;
    std::vector<std::string> args; // --config-area and the area follow
    const char* area = "aera";     // in the test directory; in.ccf is a file
    const char* problem = "does not exist";
};

class MistypedArea : public AreaCli, public ::testing::WithParamInterface<SAreaCommand>
{
};

TEST_P(MistypedArea, IsAWrongCommandLineAndNothingIsCreated)
{
    WriteText(m_root / "in.csv", "Rock,Queen,Jazz\n");
    WriteText(m_root / "in.ccf", "x");
    const fs::path typo = m_root / GetParam().area;
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(arg[0] == '@' ? (m_root / arg.substr(1)).string() : arg);
    args.push_back("--config-area");
    args.push_back(typo.string());

    CliRun run = RunCliCaptured(args);
    EXPECT_EQ(run.status, kExitUsage) << run.err;
    EXPECT_TRUE(Contains(run.err, "The configuration area " + typo.string() + " " + GetParam().problem))
        << run.err;
    EXPECT_FALSE(fs::is_directory(typo));
    EXPECT_FALSE(fs::exists(m_root / "out.ccf"));
}

INSTANTIATE_TEST_SUITE_P(
    AreaCli, MistypedArea,
    ::testing::Values(SAreaCommand{"Execute", {"execute", "--input", "@in.ccf", "--output", "@out.ccf"}},
                      SAreaCommand{"Show", {"show"}}, SAreaCommand{"Players", {"players"}},
                      SAreaCommand{"ReportSlots", {"report", "slots"}},
                      SAreaCommand{"ImportCsv", {"import", "csv", "@in.csv", "--columns", "ListName=1"}},
                      SAreaCommand{"ImportLegacy", {"import", "legacy", "@in.csv"}},
                      SAreaCommand{"ImportXml", {"import", "xml", "@in.csv"}},
                      SAreaCommand{"ExportCsv", {"export", "csv", "@out.csv", "--columns", "ListName=1"}},
                      SAreaCommand{"ExportXml", {"export", "xml", "@out.xml"}},
                      SAreaCommand{"AFileAsArea", {"show"}, "in.ccf", "is not a directory"}),
    [](const ::testing::TestParamInfo<SAreaCommand>& info) { return std::string(info.param.name); });

// ---- One run at a time ------------------------------------------------------------------

TEST_F(AreaCli, ASecondRunWaitsThenFailsNamingTheLock)
{
    unsigned oldWait = SetAreaLockWait(100);
    CAreaLock holder;
    ASSERT_TRUE(holder.Acquire(m_area.c_str(), nullptr));
    const std::string library = LibraryFile();

    WriteText(m_root / "in.csv", "Rock,Queen,Jazz\n");
    CliRun import = RunCliCaptured({"import", "csv", Path("in.csv"), "--columns",
                                    "ListName=1,ArtistName=2,DiscName=3", "--config-area", m_area});
    EXPECT_EQ(import.status, kExitFailure);
    EXPECT_TRUE(Contains(import.err, "discweaver-cli: " + m_area + "/DW_Lock is locked")) << import.err;
    EXPECT_EQ(LibraryFile(), library);

    // Reading commands do not need the area to themselves.
    EXPECT_EQ(RunCliCaptured({"show", "--config-area", m_area}).status, kExitOk);
    SetAreaLockWait(oldWait);
}

TEST_F(AreaCli, TwoImportsAtOnceKeepBoth)
{
    for (int round = 0; round < 5; ++round) {
        const std::string a = "Artist A" + std::to_string(round), b = "Artist B" + std::to_string(round);
        WriteText(m_root / "a.csv", "Race," + a + ",First\n");
        WriteText(m_root / "b.csv", "Race," + b + ",Second\n");
        auto import = [&](const char* file) {
            return StartChild({"import", "csv", Path(file), "--columns", "ListName=1,ArtistName=2,DiscName=3",
                               "--config-area", m_area});
        };
        pid_t first = import("a.csv");
        pid_t second = import("b.csv");
        const int firstStatus = WaitChild(first), secondStatus = WaitChild(second);
        const std::string library = LibraryFile();
        // A run that exits 0 has its rows in the library: none is lost to the other.
        EXPECT_TRUE(firstStatus != kExitOk || Contains(library, a)) << "round " << round;
        EXPECT_TRUE(secondStatus != kExitOk || Contains(library, b)) << "round " << round;
        EXPECT_TRUE(firstStatus == kExitOk || firstStatus == kExitFailure) << firstStatus;
        EXPECT_TRUE(secondStatus == kExitOk || secondStatus == kExitFailure) << secondStatus;
    }
}

TEST_F(AreaCli, TwoExecutionsAtOnceEachWriteTheirOwnResult)
{
    if (!HaveCodecAndDemo())
        GTEST_SKIP() << "the codec or the demo CCF has not been built";
    // Two runs that write different outputs: the demo with earlier list devices
    // replaced, and the demo already executed once with the new devices added beside
    // the old ones. Their outputs when run alone are the references.
    const std::string inputB = Path("executed.ccf");
    ASSERT_EQ(Execute(kDemoCcf, inputB).status, kExitOk);
    auto runA = [&](const fs::path& out) { return ExecuteArgs(kDemoCcf, out, {"--replace-devices", "yes"}); };
    auto runB = [&](const fs::path& out) { return ExecuteArgs(inputB, out, {"--replace-devices", "no"}); };
    ASSERT_EQ(RunCliCaptured(runA(m_root / "ref-a.ccf")).status, kExitOk);
    ASSERT_EQ(RunCliCaptured(runB(m_root / "ref-b.ccf")).status, kExitOk);
    const std::string expectedA = ReadText(m_root / "ref-a.ccf"), expectedB = ReadText(m_root / "ref-b.ccf");
    ASSERT_FALSE(expectedA == expectedB);

    for (int round = 0; round < 4; ++round) {
        const fs::path outA = m_root / ("out-a-" + std::to_string(round) + ".ccf");
        const fs::path outB = m_root / ("out-b-" + std::to_string(round) + ".ccf");
        pid_t first = StartChild(runA(outA));
        pid_t second = StartChild(runB(outB));
        const int firstStatus = WaitChild(first), secondStatus = WaitChild(second);
        // Never the other run's remote configuration, never a half result.
        EXPECT_TRUE(firstStatus == kExitOk ? ReadText(outA) == expectedA : !fs::exists(outA))
            << "round " << round;
        EXPECT_TRUE(secondStatus == kExitOk ? ReadText(outB) == expectedB : !fs::exists(outB))
            << "round " << round;
    }
}

// ---- Options of one run ----------------------------------------------------------------

TEST_F(AreaCli, ExecuteOptionsStayInTheirRunUnlessSaved)
{
    if (!HaveCodecAndDemo())
        GTEST_SKIP() << "the codec or the demo CCF has not been built";
    std::uint32_t value = 0;
    CliRun once = Execute(kDemoCcf, Path("once.ccf"), {"--compress-images", "--panel-cap", "7"});
    ASSERT_EQ(once.status, kExitOk) << once.err;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "CompressImages", &value));
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "PanelCap", &value));
    std::string text;
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "OutputCCF", &text));

    CliRun saved = Execute(kDemoCcf, Path("saved.ccf"), {"--compress-images", "--save"});
    ASSERT_EQ(saved.status, kExitOk) << saved.err;
    ASSERT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "CompressImages", &value));
    EXPECT_EQ(value, 1u);
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "OutputCCF", &text));
    EXPECT_EQ(text, Path("saved.ccf"));

    // The stored setting is the default from then on, and can be undone for good.
    CliRun plain = Execute(kDemoCcf, Path("plain.ccf"));
    ASSERT_EQ(plain.status, kExitOk) << plain.err;
    EXPECT_EQ(ReadText(m_root / "plain.ccf"), ReadText(m_root / "saved.ccf"));
    CliRun undone = Execute(kDemoCcf, Path("undone.ccf"), {"--no-compress-images", "--save"});
    ASSERT_EQ(undone.status, kExitOk) << undone.err;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "CompressImages", &value));

    EXPECT_EQ(Execute(kDemoCcf, Path("x.ccf"), {"--compress-images", "--no-compress-images"}).status,
              kExitUsage);
    // The help says so, and that --unlinked delete or assign saves the library at once.
    CliRun help = RunCliCaptured({"execute", "--help"});
    EXPECT_TRUE(Contains(help.out, "Options apply to their own run only")) << help.out;
    EXPECT_TRUE(Contains(help.out, "change the library file at once, before the output is written"))
        << help.out;
}

// The lines themselves are the remote memory table's; here they reach the terminal, for
// the output's size.
TEST_F(AreaCli, ExecuteReportsTheShareOfTheModelsMemory)
{
    if (!HaveCodecAndDemo())
        GTEST_SKIP() << "the codec or the demo CCF has not been built";
    CliRun run = Execute(kDemoCcf, Path("out.ccf"));
    ASSERT_EQ(run.status, kExitOk) << run.err;
    char expected[128];
    std::snprintf(expected, sizeof expected, "Memory of TS-1000: 380 KB, file uses %.1f%%\n",
                  100.0 * double(fs::file_size(m_root / "out.ccf")) / (380.0 * 1024));
    EXPECT_TRUE(Contains(run.out, expected)) << run.out;
    EXPECT_FALSE(Contains(run.err, "is larger than the memory")) << run.err;
}

} // namespace
