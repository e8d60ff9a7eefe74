#include "core/AtomicFile.h"
#include "CoreTestUtil.h"

#include <csignal>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

class AtomicFileTest : public CTempDirTest
{
protected:
    // Names in the test directory, to see that no temporary file is left behind.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        DIR* dir = ::opendir(m_dir.c_str());
        while (struct dirent* e = ::readdir(dir)) {
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(AtomicFileTest, ReplacesOnlyOnCommit)
{
    std::string target = Path("library.xml");
    WriteFile(target, "old");
    ::chmod(target.c_str(), 0640);
    {
        CAtomicFile file;
        CErrorRecord errors;
        ASSERT_TRUE(file.Open(target.c_str(), &errors)) << GetText(&errors);
        ASSERT_TRUE(file.Write("new ", &errors));
        std::fprintf(file.GetFile(), "%s", "content");
        EXPECT_EQ(ReadFile(target), "old") << "nothing changes before Commit";
        ASSERT_TRUE(file.Commit(&errors)) << GetText(&errors);
    }
    EXPECT_EQ(ReadFile(target), "new content");
    struct stat info;
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "a replaced file keeps its permissions";
    EXPECT_EQ(Entries(), std::vector<std::string>{"library.xml"});
}

TEST_F(AtomicFileTest, AbandonedFileLeavesTargetAlone)
{
    std::string target = Path("players.xml");
    WriteFile(target, "old");
    {
        CAtomicFile file;
        ASSERT_TRUE(file.Open(target.c_str(), nullptr));
        file.Write("half", nullptr);
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"players.xml"});
}

TEST_F(AtomicFileTest, WriteFailureKeepsOldFile)
{
    // A file size limit makes the writes fail part-way, as a full disk would.
    std::string target = Path("big.ccf");
    WriteFile(target, "old");
    struct rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);

    std::string data(100000, 'x');
    CErrorRecord errors;
    bool ok = WriteFileAtomically(target.c_str(), data, &errors);

    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(errors.GetKind(), ErrorKind::SystemError);
    EXPECT_EQ(std::string(GetText(&errors)).rfind("Error writing " + target + ": ", 0), 0u)
        << GetText(&errors);
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"big.ccf"});
}

TEST_F(AtomicFileTest, FailuresAreRecorded)
{
    CErrorRecord errors;
    EXPECT_FALSE(WriteFileAtomically(Path("no/dir/file").c_str(), "x", &errors));
    EXPECT_EQ(std::string(GetText(&errors)),
              "Cannot create a temporary file for " + Path("no/dir/file") + ": No such file or directory");

    Clear(&errors);
    ::mkdir(Path("adir").c_str(), 0777);
    EXPECT_FALSE(WriteFileAtomically(Path("adir").c_str(), "x", &errors));
    EXPECT_EQ(errors.GetCode(), static_cast<std::uint32_t>(EISDIR));

    CAtomicFile closed;
    Clear(&errors);
    EXPECT_FALSE(closed.Commit(&errors));
    EXPECT_FALSE(closed.Write("x", &errors));
    EXPECT_EQ(Entries(), std::vector<std::string>{"adir"});
}

TEST_F(AtomicFileTest, WritesThroughSymbolicLinks)
{
    WriteFile(Path("real.csv"), "old");
    ASSERT_EQ(::symlink(Path("real.csv").c_str(), Path("link.csv").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(Path("link.csv").c_str(), "new", nullptr));
    struct stat info;
    ASSERT_EQ(::lstat(Path("link.csv").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFile(Path("real.csv")), "new");
}

TEST_F(AtomicFileTest, NewFileAndEmptyContent)
{
    ASSERT_TRUE(WriteFileAtomically(Path("empty").c_str(), "", nullptr));
    EXPECT_TRUE(FileExists(Path("empty")));
    EXPECT_EQ(ReadFile(Path("empty")), "");
}

} // namespace
