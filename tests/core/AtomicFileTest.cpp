#include "core/AtomicFile.h"
#include "common/FileSizeLimit.h"
#include "common/TempAreaTest.h"

#include <sys/stat.h>

namespace {

using V = std::vector<std::string>;

using AtomicFileTest = dwtest::CTempAreaTest;

TEST_F(AtomicFileTest, ReplacesOnlyOnCommitKeepingPermissions)
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
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(), V{"library.xml"});

    // Abandoned without Commit: the target stays and no temporary file is left.
    {
        CAtomicFile file;
        ASSERT_TRUE(file.Open(target.c_str(), nullptr));
        file.Write("half", nullptr);
    }
    EXPECT_EQ(ReadFile(target), "new content");
    EXPECT_EQ(Entries(), V{"library.xml"});
}

TEST_F(AtomicFileTest, WriteFailureKeepsOldFile)
{
    std::string target = Path("big.ccf");
    WriteFile(target, "old");
    CErrorRecord errors;
    bool ok;
    {
        dwtest::CFileSizeLimit limit(1000);
        ASSERT_TRUE(limit.IsActive());
        ok = WriteFileAtomically(target.c_str(), std::string(100000, 'x'), &errors);
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(errors.GetKind(), ErrorKind::SystemError);
    EXPECT_EQ(std::string(GetText(&errors)).rfind("Error writing " + target + ": ", 0), 0u)
        << GetText(&errors);
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Entries(), V{"big.ccf"});
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
    EXPECT_FALSE(closed.Commit(&errors));
    EXPECT_FALSE(closed.Write("x", &errors));
    EXPECT_EQ(Entries(), V{"adir"});
}

TEST_F(AtomicFileTest, WritesThroughSymbolicLinksAndEmptyContent)
{
    WriteFile(Path("real.csv"), "old");
    ASSERT_EQ(::symlink(Path("real.csv").c_str(), Path("link.csv").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(Path("link.csv").c_str(), "new", nullptr));
    struct stat info;
    ASSERT_EQ(::lstat(Path("link.csv").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFile(Path("real.csv")), "new");

    ASSERT_TRUE(WriteFileAtomically(Path("empty").c_str(), "", nullptr));
    EXPECT_TRUE(FileExists(Path("empty")));
    EXPECT_EQ(ReadFile(Path("empty")), "");
}

} // namespace
