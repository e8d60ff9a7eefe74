// An interrupted run: SIGINT or SIGTERM while a save's temporary file and a work
// folder exist removes both, leaves the target as it was and ends the process by the
// signal. Each case runs in a child process, which installs the watcher as the command
// line's main does.

#include "core/InterruptCleanup.h"
#include "common/TempAreaTest.h"
#include "core/AtomicFile.h"

#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class InterruptCleanupTest : public dwtest::CTempAreaTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(InterruptCleanupTest, RemovesTheRunsTemporariesAndEndsByTheSignal)
{
    const int signal = GetParam();
    const std::string target = Path("library.xml");
    const std::string folder = Path("discweaver-cli-work");
    WriteFile(target, "old");

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        InstallInterruptCleanup();
        CAtomicFile file;
        CTemporaryPath work;
        bool ok =
            file.Open(target.c_str(), nullptr) && file.Write("new, half written", nullptr) &&
            work.Create(true, [&]() { return ::mkdir(folder.c_str(), 0700) == 0 ? folder : std::string(); });
        if (ok)
            WriteFile(folder + "/Discweaver.csf", "work");
        std::string temp = file.GetTempPath() + "\n";
        (void)::write(ready[1], ok ? temp.c_str() : "\n", ok ? temp.size() : 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    std::string temp;
    char c = 0;
    while (::read(ready[0], &c, 1) == 1 && c != '\n')
        temp += c;
    ::close(ready[0]);
    ASSERT_FALSE(temp.empty()) << "the child could not set up";
    ASSERT_TRUE(FileExists(temp));
    ASSERT_TRUE(FileExists(folder + "/Discweaver.csf"));

    ASSERT_EQ(::kill(child, signal), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), signal);
    EXPECT_FALSE(FileExists(temp));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_EQ(ReadFile(target), "old");
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptCleanupTest, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

// A save that finished is no longer the run's to remove; an abandoned one is gone
// already. Either way the list is empty again.
TEST(TemporaryPathList, HoldsOnlyWhatExists)
{
    dwtest::CTempDir dir("dw-interrupt");
    const std::size_t before = CountTemporaryPaths();
    {
        CAtomicFile saved;
        ASSERT_TRUE(saved.Open((dir / "a.txt").c_str(), nullptr));
        CAtomicFile abandoned;
        ASSERT_TRUE(abandoned.Open((dir / "b.txt").c_str(), nullptr));
        EXPECT_EQ(CountTemporaryPaths(), before + 2);
        ASSERT_TRUE(saved.Write("a", nullptr) && saved.Commit(nullptr));
        EXPECT_EQ(CountTemporaryPaths(), before + 1);
    }
    EXPECT_EQ(CountTemporaryPaths(), before);

    // A creation that failed lists nothing.
    CTemporaryPath failed;
    EXPECT_FALSE(failed.Create(false, []() { return std::string(); }));
    EXPECT_FALSE(failed.IsListed());
    EXPECT_EQ(CountTemporaryPaths(), before);
}

} // namespace
