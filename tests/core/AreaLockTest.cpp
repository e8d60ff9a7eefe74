// The configuration area's lock: one holder at a time, in one process and across
// processes; a second taker waits, then fails naming the lock file; what cannot be a
// lock is refused.

#include "core/AreaLock.h"
#include "common/TempAreaTest.h"

#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class AreaLockTest : public dwtest::CTempAreaTest
{
protected:
    void SetUp() override
    {
        dwtest::CTempAreaTest::SetUp();
        m_oldWait = SetAreaLockWait(100);
    }
    void TearDown() override
    {
        SetAreaLockWait(m_oldWait);
        dwtest::CTempAreaTest::TearDown();
    }
    unsigned m_oldWait = 0;
};

TEST_F(AreaLockTest, OneHolderAtATimeInOneProcess)
{
    CErrorRecord errors;
    CAreaLock first;
    ASSERT_TRUE(first.Acquire(m_dir.c_str(), &errors)) << GetText(&errors);
    // Taking it again through the same object is no second holder.
    EXPECT_TRUE(first.Acquire(m_dir.c_str(), &errors));

    CAreaLock second;
    EXPECT_FALSE(second.Acquire(m_dir.c_str(), &errors));
    EXPECT_EQ(std::string(GetText(&errors)),
              m_dir +
                  "/DW_Lock is locked: another Discweaver run is using this configuration area; try again "
                  "when it has finished");

    first.Release();
    Clear(&errors);
    EXPECT_TRUE(second.Acquire(m_dir.c_str(), &errors)) << GetText(&errors);
}

// A child process that takes the lock and holds it for `holdMs`, or until it is killed
// (the kernel releases the lock then); -1 when it could not take it.
pid_t HoldInChild(const std::string& area, unsigned holdMs)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    pid_t child = ::fork();
    if (child == 0) {
        CAreaLock lock;
        char ok = lock.Acquire(area.c_str(), nullptr) ? 'y' : 'n';
        (void)::write(ready[1], &ok, 1);
        if (holdMs)
            ::usleep(holdMs * 1000);
        else
            for (;;)
                ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 0;
    bool held = child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
    return held ? child : -1;
}

TEST_F(AreaLockTest, AnotherProcessIsRefusedUntilTheHolderEnds)
{
    pid_t child = HoldInChild(m_dir, 0);
    ASSERT_GT(child, 0);
    CAreaLock lock;
    CErrorRecord errors;
    EXPECT_FALSE(lock.Acquire(m_dir.c_str(), &errors));
    EXPECT_NE(std::string(GetText(&errors)).find("another Discweaver run"), std::string::npos);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    Clear(&errors);
    EXPECT_TRUE(lock.Acquire(m_dir.c_str(), &errors)) << GetText(&errors);
}

// A holder that lets go within the wait is waited for.
TEST_F(AreaLockTest, ASecondTakerWaitsForAShortHolder)
{
    SetAreaLockWait(5000);
    pid_t child = HoldInChild(m_dir, 200);
    ASSERT_GT(child, 0);
    CAreaLock lock;
    CErrorRecord errors;
    EXPECT_TRUE(lock.Acquire(m_dir.c_str(), &errors)) << GetText(&errors);
    ::waitpid(child, nullptr, 0);
}

struct SRefusal
{
    const char* name;
    void (*prepare)(const std::string& area); // plants something in the area; none: no area named
    bool createArea;
    const char* message; // start of the message after the area's path
};

void PlantLink(const std::string& area)
{
    dwtest::WriteText(area + "/../elsewhere", "keep");
    ASSERT_EQ(::symlink((area + "/../elsewhere").c_str(), (area + "/DW_Lock").c_str()), 0);
}
void PlantFifo(const std::string& area)
{
    ASSERT_EQ(::mkfifo((area + "/DW_Lock").c_str(), 0600), 0);
}
void PlantDirectory(const std::string& area)
{
    ASSERT_EQ(::mkdir((area + "/DW_Lock").c_str(), 0700), 0);
}
void PlantNothing(const std::string&) {}

class AreaLockRefusal : public AreaLockTest, public ::testing::WithParamInterface<SRefusal>
{
};

TEST_P(AreaLockRefusal, IsReportedAtOnce)
{
    const SRefusal& c = GetParam();
    const std::string area = c.prepare ? Path("area") : "";
    if (c.createArea) {
        ASSERT_EQ(::mkdir(area.c_str(), 0700), 0);
        c.prepare(area);
    }
    CAreaLock lock;
    CErrorRecord errors;
    EXPECT_FALSE(lock.Acquire(area.c_str(), &errors));
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_NE(std::string(GetText(&errors)).find(c.message), std::string::npos) << GetText(&errors);
    EXPECT_TRUE(c.prepare != PlantLink || ReadFile(Path("elsewhere")) == "keep");
    // A missing area is never created by the lock.
    EXPECT_EQ(FileExists(Path("area")), c.createArea);
}

INSTANTIATE_TEST_SUITE_P(
    AreaLock, AreaLockRefusal,
    ::testing::Values(SRefusal{"MissingArea", PlantNothing, false, "Cannot lock the configuration area "},
                      SRefusal{"LinkAsLockFile", PlantLink, true, "Cannot open the lock file "},
                      SRefusal{"FifoAsLockFile", PlantFifo, true, "DW_Lock is not a regular file"},
                      SRefusal{"DirectoryAsLockFile", PlantDirectory, true, "Cannot open the lock file "},
                      SRefusal{"UnsetArea", nullptr, false, "Config/Temp Area undefined"}),
    [](const ::testing::TestParamInfo<SRefusal>& info) { return std::string(info.param.name); });

} // namespace
