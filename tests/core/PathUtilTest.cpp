#include "core/PathUtil.h"
#include "CoreTestUtil.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct JoinCase
{
    const char* left;
    const char* right;
    const char* joined;
};

class JoinPathCases : public ::testing::TestWithParam<JoinCase>
{
};

TEST_P(JoinPathCases, OneSeparator)
{
    EXPECT_EQ(JoinPath(GetParam().left, GetParam().right), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(PathUtil, JoinPathCases,
                         ::testing::Values(JoinCase{"/a", "b", "/a/b"}, JoinCase{"/a/", "b", "/a/b"},
                                           JoinCase{"C:\\dw\\", "b", "C:\\dw\\b"}, JoinCase{"", "b", "b"},
                                           JoinCase{nullptr, "b", "b"}, JoinCase{"/a", "", "/a/"},
                                           JoinCase{"/", "etc", "/etc"}));

struct ParentCase
{
    const char* path;
    const char* parent; // null: none
};

class ParentPathCases : public ::testing::TestWithParam<ParentCase>
{
};

TEST_P(ParentPathCases, BeforeTheLastSeparator)
{
    std::optional<std::string> parent = GetParentPath(GetParam().path);
    if (!GetParam().parent) {
        EXPECT_FALSE(parent.has_value());
        return;
    }
    ASSERT_TRUE(parent.has_value());
    EXPECT_EQ(*parent, GetParam().parent);
}

INSTANTIATE_TEST_SUITE_P(PathUtil, ParentPathCases,
                         ::testing::Values(ParentCase{"/home/me/file.ccf", "/home/me"},
                                           ParentCase{"C:\\file.ccf", "C:"},
                                           ParentCase{"dir\\sub/file", "dir\\sub"},
                                           ParentCase{"file.ccf", ""}, ParentCase{"/file.ccf", "/"},
                                           ParentCase{nullptr, nullptr}));

class PathUtilDisk : public CTempDirTest
{
};

TEST_F(PathUtilDisk, MakeLongPathUsesStoredLetterCase)
{
    ASSERT_EQ(::mkdir(Path("Music").c_str(), 0777), 0);
    WriteFile(Path("Music/Remote.CCF"), "x");
    // The temporary directory's own name is matched exactly; the rest by case.
    EXPECT_EQ(MakeLongPath((m_dir + "/music/remote.ccf").c_str()), m_dir + "/Music/Remote.CCF");
    EXPECT_EQ(MakeLongPath((m_dir + "\\MUSIC\\\\remote.ccf").c_str()), m_dir + "/Music/Remote.CCF");
    EXPECT_EQ(MakeLongPath((m_dir + "/Music/new.ccf").c_str()), m_dir + "/Music/new.ccf")
        << "a missing file stays as written";
    EXPECT_EQ(MakeLongPath((m_dir + "/nodir/Remote.CCF").c_str()), m_dir + "/nodir/Remote.CCF");
    EXPECT_EQ(MakeLongPath(""), "");

    // An exact match wins over a case-insensitive one.
    WriteFile(Path("Music/remote.ccf"), "y");
    EXPECT_EQ(MakeLongPath((m_dir + "/Music/remote.ccf").c_str()), m_dir + "/Music/remote.ccf");
}

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

struct CBodyRecorder : CProgressSink
{
    std::vector<std::string> bodies;
    void Update(std::uint32_t, std::uint32_t, const char*, const char*, const char* body, int, bool) override
    {
        if (body)
            bodies.push_back(body);
    }
};

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

    CBodyRecorder progress;
    CErrorRecord errors;
    ASSERT_TRUE(DeleteDirectoryContents(&progress, temp.c_str(), &errors)) << GetText(&errors);
    EXPECT_TRUE(FileExists(temp));
    EXPECT_FALSE(FileExists(temp + "/BMP"));
    EXPECT_FALSE(FileExists(temp + "/link"));
    EXPECT_TRUE(FileExists(Path("keep/precious")));
    EXPECT_NE(std::find(progress.bodies.begin(), progress.bodies.end(), "Removing " + temp + "/BMP"),
              progress.bodies.end());
    EXPECT_NE(
        std::find(progress.bodies.begin(), progress.bodies.end(), "Deleting " + temp + "/Discweaver.csf"),
        progress.bodies.end());

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

TEST_F(PathUtilDisk, CheckAccess)
{
    WriteFile(Path("in.ccf"), "x");
    CErrorRecord errors;
    EXPECT_TRUE(CheckAccess(&errors, Path("in.ccf").c_str(), false));
    EXPECT_TRUE(CheckAccess(&errors, m_dir.c_str(), true));
    EXPECT_FALSE(CheckAccess(&errors, Path("missing.ccf").c_str(), false));
    EXPECT_EQ(std::string(GetText(&errors)),
              "Cannot access " + Path("missing.ccf") + ": No such file or directory");
    EXPECT_EQ(errors.GetKind(), ErrorKind::RuntimeError);
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
