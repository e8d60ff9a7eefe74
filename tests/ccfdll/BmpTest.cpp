#include "ccfdll/Bmp.h"
#include "ccfdll/CcfPalette.h"

#include "common/BmpBytes.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using dwtest::MakeBmp;

TEST(Bmp, GreyLevelsMapToTheNearestShadeTiesToTheDarker)
{
    const std::pair<int, int> cases[] = {{0x00, 0}, {64, 0},   {65, 1},   {0x50, 1}, {0x80, 1}, {160, 1},
                                         {161, 2},  {0xB0, 2}, {0xC0, 2}, {223, 2},  {224, 3},  {0xFF, 3}};
    for (auto [grey, level] : cases)
        EXPECT_EQ(CcfGreyToLevel(std::uint8_t(grey)), level) << grey;
    for (std::uint8_t level = 0; level < 4; ++level)
        EXPECT_EQ(CcfGreyToLevel(CcfLevelToGrey(level)), level);
}

TEST(Bmp, WrittenFileIsFourBitWithFourGreysAndReadsBack)
{
    const CCcfPixels pixels{.width = 5, .height = 3, .levels = {0, 1, 2, 3, 0, 3, 3, 3, 3, 3, 2, 1, 0, 1, 2}};
    const std::vector<std::uint8_t> file = WriteBmp(pixels);
    ASSERT_EQ(file.size(), 70u + 4 * 3); // rows of 5 nibbles round up to 4 bytes
    EXPECT_EQ(file[28], 4);              // bits per pixel
    EXPECT_EQ(file[46], 4);              // colours used
    EXPECT_EQ(file[10], 70);             // pixel offset
    EXPECT_EQ(file[54 + 4 * 1], 0x80);   // dark grey palette entry
    EXPECT_EQ(file[70], 0x21);           // bottom row first: {2,1,0,1,2}, high nibble first
    EXPECT_EQ(file[71], 0x01);
    EXPECT_EQ(file[70 + 8], 0x01); // top row last: {0,1,2,3,0}
    EXPECT_EQ(file[70 + 9], 0x23);
    CBmpImage image;
    CCcfError error;
    ASSERT_TRUE(ReadBmp(file.data(), file.size(), image, &error)) << error.Text();
    CCcfPixels back;
    ASSERT_TRUE(BmpToPixels(image, back, &error));
    EXPECT_EQ(back.width, 5);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.levels, pixels.levels);
}

std::vector<std::uint8_t> TwentyFourBit(const std::vector<CCcfRgb>& row)
{
    std::vector<std::uint8_t> pixels;
    for (const CCcfRgb& c : row)
        pixels.insert(pixels.end(), {c.b, c.g, c.r});
    pixels.resize((pixels.size() + 3) / 4 * 4, 0);
    return MakeBmp(std::int32_t(row.size()), 1, 24, {}, pixels);
}

// Pictures of any depth become four grey levels, or palette entries when they hold colours
// other than the four shades; an 8-bit file of ours keeps its indices even where two entries
// share a colour (215 and 240 are both white).
TEST(Bmp, PicturesBecomeGreyLevelsOrNearestPaletteEntries)
{
    const CCcfPixels palette{.width = 5,
                             .height = 2,
                             .levels = {},
                             .indices = {215, 240, 234, 236, 0, 255, 1, 216, 217, 221},
                             .colour = true};
    const struct
    {
        const char* name;
        std::vector<std::uint8_t> file;
        int firstGrey;                     // -1: not checked
        std::vector<std::uint8_t> levels;  // empty: not checked
        std::vector<std::uint8_t> indices; // empty: a grey picture
    } cases[] = {
        // bottom row 101, top row 010
        {"OneBitBottomUp",
         MakeBmp(3, 2, 1, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}),
         0,
         {0, 3, 0, 3, 0, 3},
         {}},
        // palette light grey, white, dark grey, black as the program's own bitmaps order it
        {"EightBitTopDown",
         MakeBmp(2, -2, 8, {0xC0C0C0, 0xFFFFFF, 0x808080, 0x000000}, {0, 1, 0, 0, 2, 3, 0, 0}),
         0xC0,
         {2, 3, 1, 0},
         {}},
        {"FourShadesStayGrey",
         TwentyFourBit({{0, 0, 0}, {0x80, 0x80, 0x80}, {0xFF, 0xFF, 0xFF}}),
         0,
         {0, 1, 3},
         {}},
        // pure red has grey 76, dark grey
        {"ColoursTakeNearest",
         TwentyFourBit({{255, 0, 0}, {0x30, 0x60, 0xE0}, {0x80, 0x80, 0x80}}),
         76,
         {1, 1, 1},
         {5, 220, 248}},
        {"OtherGreysAreColour",
         TwentyFourBit({{0x50, 0x50, 0x50}, {0, 0, 0}, {0, 0, 0}}),
         -1,
         {1, 0, 0},
         {251, 0, 0}},
        {"OurPaletteFile", WriteBmp(palette), -1, {}, palette.indices},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CBmpImage image;
        CCcfError error;
        ASSERT_TRUE(ReadBmp(c.file.data(), c.file.size(), image, &error)) << error.Text();
        if (c.firstGrey >= 0) {
            EXPECT_EQ(image.grey.at(0), c.firstGrey);
        }
        CCcfPixels pixels;
        ASSERT_TRUE(BmpToPixels(image, pixels, &error)) << error.Text();
        if (!c.levels.empty()) {
            EXPECT_EQ(pixels.levels, c.levels);
        }
        EXPECT_EQ(pixels.colour, !c.indices.empty());
        if (pixels.colour) {
            EXPECT_EQ(pixels.indices, c.indices);
        }
    }
}

TEST(Bmp, BrokenBitmapsAreRefused)
{
    CBmpImage image;
    const std::vector<std::uint8_t> good = MakeBmp(2, 2, 8, {0, 0xFFFFFF}, {0, 1, 0, 0, 1, 0, 0, 0});
    ASSERT_TRUE(ReadBmp(good.data(), good.size(), image, nullptr));
    struct Case
    {
        std::size_t at;
        std::uint8_t value;
        const char* expected;
    };
    const Case cases[] = {
        {0, 'X', "not a Windows bitmap"}, {30, 1, "compressed"},
        {28, 16, "bits per pixel"},       {18, 0, "outside"},
        {14, 20, "information header"},   {10, 0xF0, "past the end"},
        {54 + 8, 7, "uses colour 7"}, // a pixel index beyond the two palette entries
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bad = good;
        bad[c.at] = c.value;
        if (c.at == 18)
            bad[19] = 0;
        CCcfError error;
        EXPECT_FALSE(ReadBmp(bad.data(), bad.size(), image, &error)) << c.at;
        EXPECT_NE(error.Text().find(c.expected), std::string::npos) << error.Text();
    }
    for (std::size_t length = 0; length < good.size(); ++length) {
        std::vector<std::uint8_t> prefix(good.begin(), good.begin() + length);
        EXPECT_FALSE(ReadBmp(prefix.data(), prefix.size(), image, nullptr)) << length;
    }
    const std::vector<std::uint8_t> huge = MakeBmp(5000, 1, 8, {0}, {});
    EXPECT_FALSE(ReadBmp(huge.data(), huge.size(), image, nullptr));
}

} // namespace
