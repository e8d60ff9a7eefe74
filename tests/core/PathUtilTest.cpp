#include "core/PathUtil.h"
#include "common/RecordingSink.h"
#include "common/TempAreaTest.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

TEST(PathUtil, JoinPathPutsOneSeparatorBetween)
{
    const struct
    {
        const char* left;
        const char* right;
        const char* joined;
    } cases[] = {{"/a", "b", "/a/b"}, {"/a/", "b", "/a/b"}, {"C:\\dw\\", "b", "C:\\dw\\b"},
                 {"", "b", "b"},      {nullptr, "b", "b"},  {"/a", "", "/a/"},
                 {"/", "etc", "/etc"}};
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.left, c.right), c.joined) << (c.left ? c.left : "(null)") << " + " << c.right;
}

TEST(PathUtil, ParentPathIsWhatComesBeforeTheLastSeparator)
{
    const struct
    {
        const char* path;
        std::optional<std::string> parent;
    } cases[] = {{"/home/me/file.ccf", "/home/me"},
                 {"C:\\file.ccf", "C:"},
                 {"dir\\sub/file", "dir\\sub"},
                 {"file.ccf", ""},
                 {"/file.ccf", "/"},
                 {nullptr, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(GetParentPath(c.path), c.parent) << (c.path ? c.path : "(null)");
}

using PathUtilDisk = dwtest::CTempAreaTest;

std::vector<unsigned> g_waits;

void RecordWait(int, unsigned milliseconds)
{
    g_waits.push_back(milliseconds);
}

TEST_F(PathUtilDisk, CreateDirectoryPath)
{
    DirectoryRetryWait previous = SetDirectoryRetryWait(&RecordWait);
    g_waits.clear();

    std::string deep = Path("a/b\\c/d");
    ASSERT_TRUE(CreateDirectoryPath(deep.c_str()));
    struct stat info;
    ASSERT_EQ(::stat(Path("a/b/c/d").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_TRUE(CreateDirectoryPath(deep.c_str())) << "existing directories are fine";

    errno = 0;
    EXPECT_FALSE(CreateDirectoryPath(nullptr));
    EXPECT_EQ(errno, EINVAL);

    // A file in the way fails at once: waiting cannot help.
    WriteFile(Path("file"), "x");
    EXPECT_FALSE(CreateDirectoryPath(Path("file/sub").c_str()));
    EXPECT_EQ(errno, ENOTDIR);
    EXPECT_TRUE(g_waits.empty());

    // An error that might pass is retried five times with four waits of 10 s.
    errno = 0;
    EXPECT_FALSE(CreateDirectoryPath("/proc/dw-no-such-dir/x"));
    EXPECT_NE(errno, 0);
    EXPECT_EQ(g_waits, (std::vector<unsigned>{10000, 10000, 10000, 10000}));

    SetDirectoryRetryWait(previous);
}

TEST_F(PathUtilDisk, DeleteDirectoryContents)
{
    std::string temp = Path("DW_Temp");
    ASSERT_TRUE(CreateDirectoryPath((temp + "/BMP/deeper").c_str()));
    WriteFile(temp + "/Discweaver.csf", "x");
    WriteFile(temp + "/BMP/a.bmp", "x");
    WriteFile(temp + "/BMP/deeper/b.bmp", "x");
    ::chmod((temp + "/BMP/deeper").c_str(), 0500); // read-only directory
    // A link to a directory outside is removed, never followed.
    ASSERT_TRUE(CreateDirectoryPath(Path("keep").c_str()));
    WriteFile(Path("keep/precious"), "x");
    ASSERT_EQ(::symlink(Path("keep").c_str(), (temp + "/link").c_str()), 0);

    dwtest::CRecordingSink progress;
    CErrorRecord errors;
    ASSERT_TRUE(DeleteDirectoryContents(&progress, temp.c_str(), &errors)) << GetText(&errors);
    EXPECT_TRUE(FileExists(temp));
    EXPECT_FALSE(FileExists(temp + "/BMP"));
    EXPECT_FALSE(FileExists(temp + "/link"));
    EXPECT_TRUE(FileExists(Path("keep/precious")));
    EXPECT_TRUE(progress.SawBody("Removing " + temp + "/BMP"));
    EXPECT_TRUE(progress.SawBody("Deleting " + temp + "/Discweaver.csf"));

    // A directory that does not exist yet is created (and is then empty).
    EXPECT_TRUE(DeleteDirectoryContents(nullptr, Path("fresh/tmp").c_str(), nullptr));
    EXPECT_TRUE(FileExists(Path("fresh/tmp")));

    WriteFile(Path("plain"), "x");
    Clear(&errors);
    EXPECT_FALSE(DeleteDirectoryContents(nullptr, Path("plain").c_str(), &errors));
    EXPECT_EQ(std::string(GetText(&errors)).rfind("Error creating " + Path("plain") + ": ", 0), 0u)
        << GetText(&errors);

    Clear(&errors);
    EXPECT_FALSE(DeleteDirectoryContents(nullptr, "/", &errors));
    EXPECT_FALSE(DeleteDirectoryContents(nullptr, "", &errors));
}

TEST_F(PathUtilDisk, IsSameFile)
{
    WriteFile(Path("in.ccf"), "x");
    WriteFile(Path("other.ccf"), "x");
    ASSERT_EQ(::link(Path("in.ccf").c_str(), Path("hard.ccf").c_str()), 0);
    struct
    {
        const char* name;
        std::string a, b;
        bool same;
    } cases[] = {
        {"identical text", Path("in.ccf"), Path("in.ccf"), true},
        {"letter case only, file missing", Path("Out.CCF"), Path("out.ccf"), true},
        {"second name of one file", Path("in.ccf"), Path("hard.ccf"), true},
        {"two files alike in content", Path("in.ccf"), Path("other.ccf"), false},
        {"one missing", Path("in.ccf"), Path("missing.ccf"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSameFile(c.a.c_str(), c.b.c_str()), c.same) << c.name;
    EXPECT_FALSE(IsSameFile(nullptr, Path("in.ccf").c_str()));
}

} // namespace
