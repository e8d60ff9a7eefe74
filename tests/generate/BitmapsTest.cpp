#include "generate/Bitmaps.h"

#include "common/BmpBytes.h"
#include "common/TempDir.h"

#include "core/ErrorRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct SExpectedBitmap
{
    const char* name;
    int width;
    int height;
    std::size_t bytes;
    int palette;
};

// The files, in the order they are written, with the sizes the codec and the remote
// expect for the places they are shown at.
const SExpectedBitmap kExpected[] = {
    {"ArtistContinuedHeader.bmp", 240, 34, 4152, 4}, {"ArtistHeader.bmp", 240, 34, 4152, 4},
    {"BacktrackStrip.bmp", 137, 17, 1296, 4},        {"ContinuationStrip.bmp", 137, 17, 1296, 4},
    {"FinalBarLeft.bmp", 120, 15, 972, 4},           {"FinalBarRight.bmp", 120, 15, 972, 4},
    {"NINClassicPronto.bmp", 57, 24, 840, 4},        {"BrisketPronto.bmp", 167, 71, 6036, 4},
    {"SmallRoundBlackButton.bmp", 38, 35, 818, 16},  {"TwoDiscLeftButton.bmp", 36, 34, 752, 4},
    {"TwoDiscLeftStrip.bmp", 168, 17, 1500, 4},      {"TwoDiscRightButton.bmp", 36, 34, 752, 4},
    {"TwoDiscRightStrip.bmp", 168, 17, 1500, 4},
};

std::uint32_t U32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

class EmbeddedBitmapFiles : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(EmbeddedBitmapFiles, AreCompleteFourBitBitmapsOfTheirSize)
{
    const std::size_t i = GetParam();
    const SExpectedBitmap& expected = kExpected[i];
    ASSERT_EQ(GetEmbeddedBitmapCount(), std::size(kExpected));
    const SEmbeddedBitmap& bmp = GetEmbeddedBitmap(i);
    ASSERT_STREQ(bmp.fileName, expected.name);
    ASSERT_EQ(bmp.size, expected.bytes);
    const std::uint8_t* b = bmp.bytes;

    // The shared decoder checks the signature, four bits a pixel and no compression.
    dwtest::SGreyPicture picture;
    ASSERT_TRUE(dwtest::DecodeFourBitBmp(std::vector<std::uint8_t>(b, b + bmp.size), picture));
    EXPECT_EQ(picture.width, expected.width);
    EXPECT_EQ(picture.height, expected.height);
    EXPECT_EQ(U32(b + 2), expected.bytes);               // file size
    EXPECT_EQ(U32(b + 10), 54u + 4u * expected.palette); // pixel offset
    EXPECT_EQ(U32(b + 14), 40u);                         // information header
    const unsigned rowBytes = ((expected.width * 4 + 31) / 32) * 4;
    EXPECT_EQ(U32(b + 46), static_cast<std::uint32_t>(expected.palette));
    // The pixel rows end where the file ends, less the two bytes the four-entry files
    // have always carried.
    EXPECT_EQ(U32(b + 10) + rowBytes * expected.height + (expected.palette == 4 ? 2 : 0), expected.bytes);

    // Greys only, in the fixed order of each palette kind.
    const int four[] = {0xc0, 0xff, 0x80, 0x00};    // light grey, white, dark grey, black
    const int sixteen[] = {0x00, 0x80, 0xc0, 0xff}; // black, dark grey, light grey, white
    for (int e = 0; e < expected.palette; ++e) {
        const std::uint8_t* entry = b + 54 + 4 * e;
        EXPECT_EQ(entry[0], entry[1]);
        EXPECT_EQ(entry[1], entry[2]);
        if (e < 4) {
            EXPECT_EQ(entry[2], expected.palette == 4 ? four[e] : sixteen[e])
                << expected.name << " entry " << e;
        }
    }

    EXPECT_EQ(FindEmbeddedBitmap(expected.name), &bmp);
}

INSTANTIATE_TEST_SUITE_P(All, EmbeddedBitmapFiles, ::testing::Range<std::size_t>(0, 13));

// ---- writing ------------------------------------------------------------------------

class BitmapWriting : public ::testing::Test
{
protected:
    static std::string Read(const fs::path& path) { return dwtest::ReadText(path.string()); }
    static std::string Embedded(const char* name)
    {
        const SEmbeddedBitmap* bmp = FindEmbeddedBitmap(name);
        return std::string(reinterpret_cast<const char*>(bmp->bytes), bmp->size);
    }

    dwtest::CTempDir m_dir{"dw-bitmaps"};
    fs::path m_root = m_dir.Path(), m_override = m_root / "BMP_Override", m_target = m_root / "BMP";
};

TEST_F(BitmapWriting, WritesAllThirteenByteForByteWithoutOverrides)
{
    // No override directory at all, and the target directory is made on the way.
    CErrorRecord errors;
    ASSERT_TRUE(WriteBitmapsTo(&errors, m_override.c_str(), m_target.c_str())) << GetText(&errors);
    for (const SExpectedBitmap& expected : kExpected)
        EXPECT_EQ(Read(m_target / expected.name), Embedded(expected.name)) << expected.name;

    // An empty override directory changes nothing; existing files are replaced.
    fs::create_directory(m_override);
    std::ofstream(m_target / "ArtistHeader.bmp") << "old";
    ASSERT_TRUE(WriteBitmapsTo(&errors, m_override.c_str(), m_target.c_str()));
    EXPECT_EQ(Read(m_target / "ArtistHeader.bmp"), Embedded("ArtistHeader.bmp"));
    EXPECT_TRUE(IsEmpty(&errors));
}

// A failing copy stops at that file with a message naming it: the files before it are
// written, the ones after it are not.
struct SWriteFailure
{
    const char* name;
    const char* file; // the file that fails
    const char* message;
};

class BitmapWritingFails : public BitmapWriting, public ::testing::WithParamInterface<SWriteFailure>
{
};

TEST_P(BitmapWritingFails, StopsAtThatFile)
{
    const std::string kind = GetParam().name;
    fs::path target = m_target;
    if (kind == "ReadOnlyTarget") {
        fs::create_directory(m_target);
        std::ofstream(m_target / GetParam().file) << "keep me";
        fs::permissions(m_target / GetParam().file, fs::perms::owner_read);
    } else if (kind == "UnreadableOverride") {
        fs::create_directories(m_override / GetParam().file); // exists, but cannot be read as a file
    } else {
        target = m_root / "no" / "such" / "BMP";
    }
    CErrorRecord errors;
    EXPECT_FALSE(WriteBitmapsTo(&errors, m_override.c_str(), target.c_str()));
    std::string expected = GetParam().message;
    for (const auto& [key, value] :
         {std::pair<std::string, std::string>{"$T", (target / GetParam().file).string()},
          {"$O", (m_override / GetParam().file).string()}})
        if (expected.find(key) != std::string::npos)
            expected.replace(expected.find(key), key.size(), value);
    EXPECT_EQ(std::string(GetText(&errors)).rfind(expected, 0), 0u) << GetText(&errors);
    if (kind != "MissingTargetParent") {
        EXPECT_TRUE(fs::exists(m_target / "ArtistContinuedHeader.bmp"));
        EXPECT_FALSE(fs::exists(m_target / "FinalBarRight.bmp"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, BitmapWritingFails,
    ::testing::Values(SWriteFailure{"ReadOnlyTarget", "BacktrackStrip.bmp", "Failed to write $T: "},
                      SWriteFailure{"UnreadableOverride", "ArtistHeader.bmp", "Failed to copy $O to $T: "},
                      SWriteFailure{"MissingTargetParent", "ArtistContinuedHeader.bmp",
                                    "Failed to write $T: "}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
