// discweaver-cli interrupted by SIGINT or SIGTERM at many moments of a run: it ends by
// the signal (or has finished), leaves no temporary file beside the output and no work
// folder in the temporary directory, and the output is the old file or the whole new
// one, never anything between.

#include "DemoAreaCli.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using dwtest::kDemoCcf;
using dwtest::ReadText;
using dwtest::WriteText;

const char kCli[] = DW_BIN_DIR "/discweaver-cli";

struct SOutcome
{
    bool signalled = false;
    int signal = 0;
    int exitStatus = -1;
};

// Runs the program with args and TMPDIR=tmp; sends `signal` once it has written
// `lines` lines to its error stream (never when it finishes first).
SOutcome RunAndInterrupt(const std::vector<std::string>& args, const fs::path& tmp, int signal, int lines)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 2);
        int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::setenv("TMPDIR", tmp.c_str(), 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(kCli));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(kCli, argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    int seen = 0;
    bool sent = false;
    char c;
    while (::read(pipeFds[0], &c, 1) == 1) {
        if (c == '\n' && ++seen == lines && !sent) {
            ::kill(pid, signal);
            sent = true;
        }
    }
    ::close(pipeFds[0]);
    int status = 0;
    SOutcome outcome;
    if (::waitpid(pid, &status, 0) != pid)
        return outcome;
    outcome.signalled = WIFSIGNALED(status);
    outcome.signal = outcome.signalled ? WTERMSIG(status) : 0;
    outcome.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

struct SMoment
{
    int signal;
    int lines;
};

class InterruptedRun : public dwtest::CDemoAreaCli, public ::testing::WithParamInterface<SMoment>
{
protected:
    void SetUp() override
    {
        if (!fs::exists(kCli) || !dwtest::HaveCodecAndDemo())
            GTEST_SKIP() << "the program, the codec or the demo CCF has not been built";
        dwtest::CDemoAreaCli::SetUp();
        fs::create_directories(m_root / "tmp");
        fs::create_directories(m_root / "out");
    }
};

TEST_P(InterruptedRun, ExecuteLeavesTheOldOutputOrTheWholeNewOne)
{
    const fs::path output = m_root / "out" / "remote.ccf";
    const std::vector<std::string> args = {"execute",  "--input",           kDemoCcf,
                                           "--output", output.string(),     "--config-area",
                                           m_area,     "--replace-devices", "yes"};
    // The whole new output, from a run left alone.
    ASSERT_EQ(RunAndInterrupt(args, m_root / "tmp", SIGINT, 1 << 30).exitStatus, 0);
    const std::string fresh = ReadText(output);
    WriteText(output, "the old output");
    const std::string library = LibraryFile();

    const SOutcome outcome = RunAndInterrupt(args, m_root / "tmp", GetParam().signal, GetParam().lines);
    if (outcome.signalled) {
        EXPECT_EQ(outcome.signal, GetParam().signal);
        const std::string now = ReadText(output);
        EXPECT_TRUE(now == "the old output" || now == fresh);
    } else {
        EXPECT_EQ(outcome.exitStatus, 0);
        EXPECT_EQ(ReadText(output), fresh);
    }
    EXPECT_EQ(Entries("out"), std::vector<std::string>{"remote.ccf"});
    EXPECT_EQ(Entries("tmp"), std::vector<std::string>{});
    EXPECT_EQ(LibraryFile(), library);
}

TEST_P(InterruptedRun, DecompileRemovesItsWorkFolder)
{
    const fs::path output = m_root / "out" / "remote.csf";
    const std::vector<std::string> args = {"decompile", kDemoCcf, output.string()};
    const SOutcome outcome = RunAndInterrupt(args, m_root / "tmp", GetParam().signal, GetParam().lines);
    if (outcome.signalled)
        EXPECT_EQ(outcome.signal, GetParam().signal);
    else
        EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(Entries("tmp"), std::vector<std::string>{});
    for (const std::string& name : Entries("out"))
        EXPECT_TRUE(name == "remote.csf" || name == "BMP") << name;
}

INSTANTIATE_TEST_SUITE_P(Moments, InterruptedRun,
                         ::testing::Values(SMoment{SIGINT, 1}, SMoment{SIGTERM, 2}, SMoment{SIGINT, 3},
                                           SMoment{SIGTERM, 4}, SMoment{SIGINT, 6}, SMoment{SIGTERM, 8},
                                           SMoment{SIGINT, 10}, SMoment{SIGTERM, 12}),
                         [](const ::testing::TestParamInfo<SMoment>& info) {
                             return std::string(info.param.signal == SIGINT ? "SIGINT" : "SIGTERM") +
                                    "AfterLine" + std::to_string(info.param.lines);
                         });

} // namespace
