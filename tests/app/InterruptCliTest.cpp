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
#include <tuple>
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

// An execute and a decompile, each at every moment.
class InterruptedRun : public dwtest::CDemoAreaCli,
                       public ::testing::WithParamInterface<std::tuple<bool, SMoment>>
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

TEST_P(InterruptedRun, LeavesTheOldOutputOrTheWholeNewOneAndNoTemporaries)
{
    const auto [execute, moment] = GetParam();
    const std::string name = execute ? "remote.ccf" : "remote.csf";
    const std::string output = (m_root / "out" / name).string();
    const std::vector<std::string> args = execute
                                              ? ExecuteArgs(kDemoCcf, output, {"--replace-devices", "yes"})
                                              : std::vector<std::string>{"decompile", kDemoCcf, output};
    // The whole new output, from a run left alone; it too leaves no work folder.
    ASSERT_EQ(RunAndInterrupt(args, m_root / "tmp", SIGINT, 1 << 30).exitStatus, 0);
    ASSERT_EQ(Entries("tmp"), std::vector<std::string>{});
    const std::string fresh = ReadText(output);
    WriteText(output, "the old output");
    const std::string library = LibraryFile();

    const SOutcome outcome = RunAndInterrupt(args, m_root / "tmp", moment.signal, moment.lines);
    if (outcome.signalled) {
        EXPECT_EQ(outcome.signal, moment.signal);
        const std::string now = ReadText(output);
        EXPECT_TRUE(now == "the old output" || now == fresh);
    } else {
        EXPECT_EQ(outcome.exitStatus, 0);
        EXPECT_EQ(ReadText(output), fresh);
    }
    for (const std::string& entry : Entries("out"))
        EXPECT_TRUE(entry == name || (!execute && entry == "BMP")) << entry;
    EXPECT_EQ(Entries("tmp"), std::vector<std::string>{});
    EXPECT_EQ(LibraryFile(), library);
}

INSTANTIATE_TEST_SUITE_P(Moments, InterruptedRun,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(SMoment{SIGINT, 1}, SMoment{SIGTERM, 2},
                                                              SMoment{SIGINT, 3}, SMoment{SIGTERM, 4},
                                                              SMoment{SIGINT, 6}, SMoment{SIGTERM, 8},
                                                              SMoment{SIGINT, 10}, SMoment{SIGTERM, 12})),
                         [](const ::testing::TestParamInfo<std::tuple<bool, SMoment>>& info) {
                             const SMoment& moment = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param) ? "Execute" : "Decompile") +
                                    (moment.signal == SIGINT ? "SIGINT" : "SIGTERM") + "AfterLine" +
                                    std::to_string(moment.lines);
                         });

} // namespace
