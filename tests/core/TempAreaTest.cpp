// The temporary area is the program's own: emptying it never follows a link, and what
// lies inside it is recognised however the path is spelled.

#include "common/TempAreaTest.h"
#include "core/PathUtil.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using TempAreaTest = dwtest::CTempAreaTest;

TEST_F(TempAreaTest, ATemporaryAreaThatIsALinkIsRefusedAndItsTargetKept)
{
    ASSERT_TRUE(CreateDirectoryPath(Path("documents/sub").c_str()));
    WriteFile(Path("documents/letter.txt"), "keep");
    WriteFile(Path("documents/sub/photo.jpg"), "keep");
    ASSERT_EQ(::symlink(Path("documents").c_str(), Path("DW_Temp").c_str()), 0);

    CErrorRecord errors;
    EXPECT_FALSE(DeleteDirectoryContents(nullptr, Path("DW_Temp").c_str(), &errors));
    EXPECT_EQ(std::string(GetText(&errors)),
              "Refusing to empty " + Path("DW_Temp") + ": it is a symbolic link, not a folder of its own");
    EXPECT_EQ(ReadFile(Path("documents/letter.txt")), "keep");
    EXPECT_EQ(ReadFile(Path("documents/sub/photo.jpg")), "keep");

    // A link to nowhere is refused too, and nothing is created where it points.
    ASSERT_EQ(::symlink(Path("nowhere").c_str(), Path("DW_Temp2").c_str()), 0);
    EXPECT_FALSE(DeleteDirectoryContents(nullptr, Path("DW_Temp2").c_str(), nullptr));
    EXPECT_FALSE(FileExists(Path("nowhere")));
}

struct SInsideCase
{
    const char* name;
    const char* path; // relative to the test directory; "@" stands for the directory itself
    bool inside;
    const char* folder = "area/DW_Temp";
};

class InsideDirectory : public TempAreaTest, public ::testing::WithParamInterface<SInsideCase>
{
};

TEST_P(InsideDirectory, AfterResolvingLinksAndDots)
{
    ASSERT_TRUE(CreateDirectoryPath(Path("area/DW_Temp/BMP").c_str()));
    ASSERT_TRUE(CreateDirectoryPath(Path("area/DW_Config").c_str()));
    WriteFile(Path("area/DW_Temp/in.ccf"), "x");
    WriteFile(Path("area/DW_Temp-old.ccf"), "x");
    WriteFile(Path("in.ccf"), "x");
    ASSERT_EQ(::symlink(Path("area/DW_Temp").c_str(), Path("shortcut").c_str()), 0);

    std::string path = GetParam().path;
    if (path == "@")
        path = Path("area/DW_Temp");
    else
        path = Path(path);
    EXPECT_EQ(IsInsideDirectory(path.c_str(), Path(GetParam().folder).c_str()), GetParam().inside) << path;
}

INSTANTIATE_TEST_SUITE_P(
    TempArea, InsideDirectory,
    ::testing::Values(SInsideCase{"FileInside", "area/DW_Temp/in.ccf", true},
                      SInsideCase{"NotYetMadeInside", "area/DW_Temp/BMP/new.bmp", true},
                      SInsideCase{"ThroughDotDot", "area/DW_Config/../DW_Temp/in.ccf", true},
                      SInsideCase{"ThroughALink", "shortcut/in.ccf", true},
                      SInsideCase{"RepeatedSeparators", "area//DW_Temp///in.ccf", true},
                      SInsideCase{"TheFolderItself", "@", false},
                      SInsideCase{"SameNamePrefix", "area/DW_Temp-old.ccf", false},
                      SInsideCase{"Sibling", "area/DW_Config", false},
                      // Nothing is inside a folder that does not exist.
                      SInsideCase{"FolderMissing", "in.ccf", false, "missing"},
                      SInsideCase{"BelowAMissingFolder", "missing/in.ccf", false, "missing"}),
    [](const ::testing::TestParamInfo<SInsideCase>& info) { return std::string(info.param.name); });

} // namespace
