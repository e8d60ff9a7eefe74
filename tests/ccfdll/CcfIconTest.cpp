#include "common/CcfBytes.h"

#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfReader.h"

#include <gtest/gtest.h>

using namespace ccftest;

namespace {

TEST(CcfIcon, EveryIconOfTheBigSampleDecodesAndEncodesByteForByte)
{
    const std::vector<std::uint8_t> bytes = LoadSample(kBigSample);
    CCcfFile f;
    CCcfError error;
    ASSERT_TRUE(ReadCcf(bytes.data(), bytes.size(), f, &error)) << error.Text();
    std::size_t compressed = 0, twoLevel = 0, fourLevel = 0;
    for (const CCcfIcon& icon : f.icons) {
        CCcfPixels pixels;
        ASSERT_TRUE(CcfDecodeIcon(icon, pixels, &error)) << error.Text();
        CCcfIcon again;
        ASSERT_TRUE(CcfEncodeIcon(pixels, icon.type, again, &error, CcfIconTailByte(icon))) << error.Text();
        EXPECT_EQ(again.data, icon.data) << "icon at " << icon.origOffset << " type " << icon.type;
        EXPECT_TRUE(CcfIconRoundTrips(icon)) << icon.origOffset;
        if (CcfIconIsCompressed(icon.type)) {
            ++compressed;
            // The run-length stream alone, then exactly one byte after it.
            const std::vector<std::uint8_t> codes = CcfRleEncode(pixels.levels.data(), pixels.levels.size());
            ASSERT_EQ(codes.size() + 1, icon.data.size()) << icon.origOffset;
            EXPECT_TRUE(std::equal(codes.begin(), codes.end(), icon.data.begin()));
        } else if (CcfIconIsFourLevel(icon.type)) {
            ++fourLevel;
        } else {
            ++twoLevel;
        }
    }
    EXPECT_EQ(compressed, 13u);
    EXPECT_EQ(twoLevel, 19u);
    EXPECT_EQ(fourLevel, 135u);
}

// Encoding by type: two-level icons use the levels of their type word (0x1C00: 0 light grey,
// 1 white) and pad odd data with one 0x00; colour icons map grey through the grey map and pad
// to 16 bytes. Every row decodes back to its levels.
TEST(CcfIcon, EncodingFollowsTheTypeWord)
{
    const struct
    {
        const char* name;
        std::uint16_t width, height, type;
        std::vector<std::uint8_t> levels, data;
    } cases[] = {
        {"TwoLevelNinePixels", 9, 1, 0x1C00, {2, 3, 3, 2, 2, 2, 2, 2, 3}, {0x60, 0x80}},
        {"TwoLevelOddData", 3, 1, 0x1C00, {3, 2, 3}, {0xA0, 0x00}},
        {"ColourThroughTheGreyMap",
         3,
         2,
         kCcfIconColour,
         {0, 1, 2, 3, 3, 0},
         {0x00, 0xFB, 0xF5, 0xD7, 0xD7, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCcfIcon icon;
        CCcfError error;
        ASSERT_TRUE(
            CcfEncodeIcon({.width = c.width, .height = c.height, .levels = c.levels}, c.type, icon, &error))
            << error.Text();
        EXPECT_EQ(icon.type, c.type);
        EXPECT_EQ(icon.data, c.data);
        CCcfPixels back;
        ASSERT_TRUE(CcfDecodeIcon(icon, back, &error)) << error.Text();
        EXPECT_EQ(back.levels, c.levels);
        EXPECT_TRUE(CcfIconRoundTrips(icon));
    }
}

TEST(CcfIcon, LevelsTheTypeCannotCarryAreRefusedOrKeptRaw)
{
    EXPECT_EQ(CcfIconTwoLevelType(2, 3), 0x1C00);
    CCcfIcon icon;
    CCcfError error;
    EXPECT_FALSE(CcfEncodeIcon({.width = 3, .height = 1, .levels = {3, 0, 3}}, 0x1C00, icon, &error));
    EXPECT_NE(error.Text().find("grey level 0"), std::string::npos);
    // Both levels equal: the bits cannot be told apart, so the icon must stay raw bytes.
    EXPECT_FALSE(
        CcfIconRoundTrips({.width = 8, .height = 1, .type = CcfIconTwoLevelType(1, 1), .data = {0x5A, 0}}));
    // Junk in a colour icon's padding must be carried raw.
    const std::vector<std::uint8_t> junk = {0, 0xFB, 0xF5, 0xD7, 0xD7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_FALSE(CcfIconRoundTrips({.width = 3, .height = 2, .type = kCcfIconColour, .data = junk}));
}

TEST(CcfIcon, UntrustedSizesAreRefusedWithoutAllocating)
{
    CCcfIcon icon;
    icon.width = 0xFFFF;
    icon.height = 0xFFFF;
    CCcfPixels pixels;
    CCcfError error;
    for (std::uint16_t type : {std::uint16_t(0x0100), std::uint16_t(0x8100), std::uint16_t(0x1800)}) {
        icon.type = type;
        icon.data = {0xFC, 0xFC};
        error = {};
        EXPECT_FALSE(CcfDecodeIcon(icon, pixels, &error)) << type;
        EXPECT_FALSE(error.IsEmpty());
    }
    icon.data.clear(); // an empty two-level icon is filled, but not beyond the limit
    icon.type = 0x1800;
    EXPECT_FALSE(CcfDecodeIcon(icon, pixels, nullptr));
    icon.width = 4;
    icon.height = 2;
    ASSERT_TRUE(CcfDecodeIcon(icon, pixels, nullptr));
    EXPECT_EQ(pixels.levels, std::vector<std::uint8_t>(8, 3));
    icon.type = 0x0701; // colour
    EXPECT_FALSE(CcfDecodeIcon(icon, pixels, &error));
    icon.type = 0x8000; // compressed without four levels
    EXPECT_FALSE(CcfDecodeIcon(icon, pixels, nullptr));
    icon.type = 0x0100;
    icon.data = {0x00}; // too short for 4 x 2
    EXPECT_FALSE(CcfDecodeIcon(icon, pixels, nullptr));
}

} // namespace
