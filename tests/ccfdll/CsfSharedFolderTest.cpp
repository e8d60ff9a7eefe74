// Several CSF files decompiled into one folder share its BMP directory. Each must keep
// compiling into its own CCF: a later decompilation never changes a picture already
// there, never writes through a link planted in BMP, and points its text at other names
// when its pictures differ.

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"
#include "common/CcfBytes.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <map>

#include <filesystem>
#include <regex>
#include <set>

namespace {

namespace fs = std::filesystem;
using dwtest::CTempDir;
using dwtest::ReadBytes;
using dwtest::ReadText;

const std::string kBig = DW_SHARED_DIR "/ccf-samples/irscrutinizer-2002-10-17.ccf";
const std::string kGray = DW_SHARED_DIR "/ccf-samples/tonto-gallery-gray.ccf";

bool Decompile(const std::string& ccf, const std::string& csf, std::string* why = nullptr)
{
    CCcfFile file;
    CCcfError error;
    bool ok = ReadCcfFile(ccf, file, &error) && WriteCsfFile(file, csf, &error);
    if (why)
        *why = error.reason;
    return ok;
}

// What is at path, comparable before and after: a link's target, a directory, or the
// bytes of a file.
std::string Snapshot(const std::string& path)
{
    if (fs::is_symlink(path))
        return "link to " + fs::read_symlink(path).string();
    if (fs::is_directory(path))
        return "directory";
    return ReadText(path);
}

std::vector<std::uint8_t> Compile(const std::string& csf)
{
    CCcfFile file;
    CCcfError error;
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadCsfFile(csf, file, &error) && WriteCcf(file, bytes, &error)) << error.reason;
    return bytes;
}

// The picture paths a CSF text names, as written ("BMP\icon0001.bmp").
std::set<std::string> PicturePaths(const std::string& csf)
{
    const std::string text = ReadText(csf);
    std::set<std::string> paths;
    const std::regex quoted("\"(BMP\\\\[^\"]+)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), quoted); it != std::sregex_iterator(); ++it)
        paths.insert((*it)[1].str());
    return paths;
}

TEST(CsfSharedFolder, LaterDecompilationsKeepTheFirstOnesPicturesAndCompile)
{
    CTempDir alone, shared;
    ASSERT_TRUE(Decompile(kGray, alone / "gray.csf"));
    const std::vector<std::uint8_t> grayAlone = Compile(alone / "gray.csf");

    ASSERT_TRUE(Decompile(kBig, shared / "big.csf"));
    const auto picturesBefore = ccftest::ReadDirectoryFiles(shared / "BMP");
    std::string why;
    ASSERT_TRUE(Decompile(kGray, shared / "gray.csf", &why)) << why;

    // Every picture of the first is still there with the same bytes.
    const auto picturesAfter = ccftest::ReadDirectoryFiles(shared / "BMP");
    for (const auto& [name, bytes] : picturesBefore) {
        ASSERT_EQ(picturesAfter.count(name), 1u) << name;
        EXPECT_TRUE(picturesAfter.at(name) == bytes) << name;
    }
    // Both still compile into what they were decompiled from.
    EXPECT_TRUE(Compile(shared / "big.csf") == ReadBytes(kBig));
    EXPECT_TRUE(Compile(shared / "gray.csf") == grayAlone);
    // The second text names pictures of its own where the first one's differ.
    std::set<std::string> renamed;
    for (const std::string& path : PicturePaths(shared / "gray.csf"))
        if (path.find('-') != std::string::npos)
            renamed.insert(path);
    EXPECT_FALSE(renamed.empty());
    // The same file decompiled again uses the pictures as they are.
    ASSERT_TRUE(Decompile(kBig, shared / "again.csf"));
    EXPECT_EQ(ReadText(shared / "again.csf"), ReadText(shared / "big.csf"));
    EXPECT_EQ(ccftest::ReadDirectoryFiles(shared / "BMP").size(), picturesAfter.size());
}

struct CTakenName
{
    const char* name;
    // Puts something at dir/BMP/icon0001.bmp; outside is a file beside BMP.
    void (*plant)(const std::string& picture, const std::string& outside);
};

class CsfTakenPictureName : public testing::TestWithParam<CTakenName>
{
};

TEST_P(CsfTakenPictureName, IsNeverWrittenAndTheTextPointsElsewhere)
{
    CTempDir dir;
    fs::create_directories(dir / "BMP");
    const std::string picture = dir / "BMP/icon0001.bmp", outside = dir / "outside.bmp";
    dwtest::WriteText(outside, "not a picture of this file");
    GetParam().plant(picture, outside);
    const std::string pictureBefore = Snapshot(picture), outsideBefore = ReadText(outside);

    std::string why;
    ASSERT_TRUE(Decompile(kBig, dir / "big.csf", &why)) << why;

    EXPECT_EQ(ReadText(outside), outsideBefore);
    EXPECT_FALSE(fs::exists(outside + ".new"));
    EXPECT_EQ(Snapshot(picture), pictureBefore);
    const std::set<std::string> paths = PicturePaths(dir / "big.csf");
    EXPECT_EQ(paths.count("BMP\\icon0001.bmp"), 0u);
    EXPECT_EQ(paths.count("BMP\\icon0001-1.bmp"), 1u);
    EXPECT_TRUE(Compile(dir / "big.csf") == ReadBytes(kBig));
}

INSTANTIATE_TEST_SUITE_P(
    Plants, CsfTakenPictureName,
    testing::Values(CTakenName{"LinkToAFile",
                               [](const std::string& picture, const std::string& outside) {
                                   fs::create_symlink(outside, picture);
                               }},
                    CTakenName{"DanglingLink",
                               [](const std::string& picture, const std::string& outside) {
                                   fs::create_symlink(outside + ".new", picture);
                               }},
                    CTakenName{"AnotherPicture",
                               [](const std::string& picture, const std::string&) {
                                   dwtest::WriteText(picture, "BM another picture");
                               }},
                    CTakenName{"Directory", [](const std::string& picture,
                                               const std::string&) { fs::create_directory(picture); }}),
    [](const testing::TestParamInfo<CTakenName>& info) { return std::string(info.param.name); });

} // namespace
