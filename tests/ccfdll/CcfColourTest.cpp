// The colour ProntoPro files (TSU-6000, RU-970): the real samples' fields against the byte
// map of the format notes, truncation, the palette, 256-colour icons and bitmaps, the
// compiler's colour statements and the conversion between the two families.

#include "common/BmpBytes.h"
#include "common/CcfBytes.h"

#include "ccfdll/Bmp.h"
#include "ccfdll/CcfConvert.h"
#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfPalette.h"
#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace ccftest;

namespace {

CCcfFile ReadSample(const char* name, CCcfReadReport* report = nullptr, CCcfWarnings* warnings = nullptr)
{
    const std::vector<std::uint8_t> bytes = LoadSample(name);
    CCcfFile f;
    CCcfError error;
    EXPECT_TRUE(ReadCcf(bytes.data(), bytes.size(), f, &error, warnings, report)) << error.Text();
    return f;
}

CcfIndex FirstButton(const CCcfFile& f)
{
    return f.panels[f.devices[f.header.firstHome].firstPanel].children[0].index;
}

// ---- The gallery, field by field (the byte map of the format notes) ----

TEST(CcfColourGallery, HeaderDeviceButtonAndIconFields)
{
    CCcfReadReport report;
    const CCcfFile f = ReadSample(kColourSample, &report);
    ASSERT_TRUE(f.IsColour());
    const CCcfHeader& h = f.header;
    EXPECT_EQ(h.capability, 0x00060301u);
    EXPECT_EQ(h.attrPos, 64u);
    EXPECT_EQ(h.attributes, 4u);
    EXPECT_EQ(f.StringAt(h.versionString), "Tonto Gallery");
    EXPECT_EQ(h.tail, std::vector<std::uint8_t>(8, 0)); // 72..79, channel ID 0 at 79
    EXPECT_EQ(f.StringAt(f.panels[h.firstTemplate].name), "macro");
    EXPECT_EQ(report.crcOffset, 0x1E0Au);
    EXPECT_TRUE(report.crcMatches);
    EXPECT_FALSE(report.hasPadByte);
    EXPECT_TRUE(report.unclaimed.empty()) << report.unclaimed.size() << " gaps";

    const CCcfDevice& d = f.devices[h.firstHome];
    EXPECT_EQ(d.origOffset, 0x1DB4u);
    EXPECT_EQ(f.StringAt(d.name), "buttons");
    EXPECT_EQ(f.StringAt(d.leftLabel), "Home");
    EXPECT_EQ(f.StringAt(d.rightLabel), "Aspect");
    EXPECT_EQ(d.farLeftLabel, kCcfNone);
    EXPECT_EQ(d.farRightLabel, kCcfNone);
    EXPECT_EQ(d.flags, 0);
    EXPECT_EQ(d.rfExtender, 0);
    // The seven key lists at their offsets (Left 0x1D5B, Right 0x1D5D, Vol- 0x1D59, Vol+ 0x1D57,
    // Ch- 0x1D5F, Ch+ 0x1D63, Mute 0x1D61), all empty; no outer key lists.
    const std::uint32_t keyAt[7] = {0x1D5B, 0x1D5D, 0x1D59, 0x1D57, 0x1D5F, 0x1D63, 0x1D61};
    for (int k = 0; k < kCcfKeyCount; ++k) {
        ASSERT_NE(d.keys[k], kCcfNone) << k;
        EXPECT_EQ(f.actionLists[d.keys[k]].origOffset, keyAt[k]) << k;
        EXPECT_TRUE(f.actionLists[d.keys[k]].actions.empty()) << k;
    }
    EXPECT_EQ(d.keys[kCcfKeyFarLeft], kCcfNone);
    EXPECT_EQ(d.keys[kCcfKeyFarRight], kCcfNone);

    const CCcfButton& b = f.buttons[FirstButton(f)];
    EXPECT_EQ(b.origOffset, 0x1D65u);
    EXPECT_EQ(b.width, 105);
    EXPECT_EQ(b.height, 35);
    EXPECT_EQ(b.actions, kCcfNone);
    EXPECT_EQ(f.StringAt(b.label), "Button");
    EXPECT_EQ(f.StringAt(b.idTag), "default");
    EXPECT_EQ(b.font, 3);
    EXPECT_EQ(b.reserved17, 0);
    EXPECT_EQ(b.colours, (std::array<std::uint32_t, 4>{0x00DCDCDC, 0xD7DCDCDC, 0x00DCDCDC, 0xD7DCDCDC}));
    const std::uint32_t iconAt[4] = {0x0050, 0x0EB8, 0x0050, 0x0EB8};
    for (int look = 0; look < 4; ++look)
        EXPECT_EQ(f.icons[b.icons[look]].origOffset, iconAt[look]) << look;

    for (const CCcfIcon& icon : f.icons) {
        EXPECT_EQ(icon.type, 0x0701);
        EXPECT_EQ(icon.width, 105);
        EXPECT_EQ(icon.height, 35);
        ASSERT_EQ(icon.data.size(), 3680u); // 3 675 pixels + 5 pad bytes
        EXPECT_EQ(std::vector<std::uint8_t>(icon.data.end() - 5, icon.data.end()),
                  std::vector<std::uint8_t>(5, 0));
    }
    std::set<std::uint8_t> used;
    for (const CCcfIcon& icon : f.icons)
        used.insert(icon.data.begin(), icon.data.begin() + 3675);
    EXPECT_EQ(used, (std::set<std::uint8_t>{0, 217, 221, 240}));
}

// A colour word is FG BG BG BG: text in the top byte. A reader or compiler that swaps the two
// shows black text on white where the gallery has white (215) on blue (220) in its pressed look.
TEST(CcfColourGallery, ColourWordsHoldTextFirstAndBackgroundLast)
{
    const CCcfFile f = ReadSample(kColourSample);
    const CCcfButton& b = f.buttons[FirstButton(f)];
    EXPECT_EQ(CcfColourWordText(b.colours[kCcfLookInactiveSelected]), 215);
    EXPECT_EQ(CcfColourWordBackground(b.colours[kCcfLookInactiveSelected]), 220);
    EXPECT_EQ(CcfColourWordText(b.colours[kCcfLookActiveUnselected]), 0);
    EXPECT_EQ(CcfColourWordBackground(b.colours[kCcfLookActiveUnselected]), 220);
    EXPECT_EQ(CcfColourWord(215, 220), 0xD7DCDCDCu);

    // The compiler's level pair (background first, then text) follows the same order.
    const std::string text =
        "CCF()\n{\nCapability(0x00060301);\nDevice(\"d\")\n{\nIsHome();\nPanel(\"p\")\n{\n"
        "Button(\"b\",0,0,10,10,1)\n{\nActiveUnselectedColor(LightGray,Black);\n}\n"
        "Frame(\"f\",0,20,10,10)\n{\nBackColor(DarkGray);\nTextColor(White);\n}\n}\n}\n}\n";
    CCcfFile compiled;
    CCcfError error;
    ASSERT_TRUE(ReadCsf(text, compiled, &error)) << error.Text();
    EXPECT_EQ(compiled.buttons[0].colours[kCcfLookActiveUnselected], 0x00F5F5F5u);
    EXPECT_EQ(compiled.frames[0].colour, 0xD7FBFBFBu);
}

// Unequal background copies are kept as they are, and reported.
TEST(CcfColourGallery, UnequalBackgroundCopiesAreKeptAndReported)
{
    std::vector<std::uint8_t> bytes = LoadSample(kColourSample);
    bytes[0x1D65 + 34 + 1] = 0x11; // the inactive-unselected word: 00 11 DC DC
    Reseal(bytes);
    CCcfFile f;
    CCcfError error;
    CCcfWarnings warnings;
    ASSERT_TRUE(ReadCcf(bytes.data(), bytes.size(), f, &error, &warnings)) << error.Text();
    EXPECT_EQ(f.buttons[FirstButton(f)].colours[0], 0x0011DCDCu);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].Text().find("0x0011DCDC"), std::string::npos) << warnings[0].Text();
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(WriteCcf(f, out, &error)) << error.Text();
    CCcfFile back;
    ASSERT_TRUE(ReadCcf(out.data(), out.size(), back, &error));
    EXPECT_EQ(back.buttons[FirstButton(back)].colours[0], 0x0011DCDCu);
}

// ---- Icons ----

// Writing refuses unpadded colour icon data (a row of the writer's refusals); in a file (the
// size field cut by the 5 pad bytes, which become a gap) it is read, with a warning.
TEST(CcfColourIcon, UnpaddedDataInAFileIsReported)
{
    CCcfError error;
    const std::uint32_t at = ReadSample(kColourSample).icons[0].origOffset;
    std::vector<std::uint8_t> bytes = LoadSample(kColourSample);
    bytes[at] = std::uint8_t((8 + 3675) >> 8);
    bytes[at + 1] = std::uint8_t(8 + 3675);
    Reseal(bytes);
    CCcfFile read;
    CCcfWarnings warnings;
    ASSERT_TRUE(ReadCcf(bytes.data(), bytes.size(), read, &error, &warnings)) << error.Text();
    bool warned = false;
    for (const CCcfError& w : warnings)
        warned = warned || w.Text().find("not padded") != std::string::npos;
    EXPECT_TRUE(warned);
}

// ---- The palette ----

TEST(CcfPaletteTable, EntriesOfTheNotes)
{
    const struct
    {
        int index;
        std::uint32_t rgb;
    } cases[] = {{0, 0x000000},   {1, 0x330000},   {6, 0x003300},   {36, 0x000033},  {43, 0x333333},
                 {129, 0x999999}, {215, 0xFFFFFF}, {216, 0xC0D0F0}, {220, 0x3060E0}, {231, 0x101050},
                 {234, 0x908090}, {236, 0x908090}, {239, 0x806080}, {240, 0xFFFFFF}, {245, 0xB0B0B0},
                 {251, 0x505050}, {255, 0x101010}};
    for (const auto& c : cases) {
        const CCcfRgb e = kCcfPalette[c.index];
        EXPECT_EQ((std::uint32_t(e.r) << 16) | (std::uint32_t(e.g) << 8) | e.b, c.rgb) << c.index;
    }
    // The cube: red fastest, blue slowest.
    for (int i = 0; i < 216; ++i)
        ASSERT_EQ(kCcfPalette[i], (CCcfRgb{std::uint8_t(i % 6 * 51), std::uint8_t(i / 6 % 6 * 51),
                                           std::uint8_t(i / 36 * 51)}))
            << i;
}

TEST(CcfPaletteTable, NearestAndLuminance)
{
    // Every entry's own colour comes back as an entry of that colour.
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(kCcfPalette[CcfNearestPaletteIndex(kCcfPalette[i])], kCcfPalette[i]) << i;
    EXPECT_EQ(CcfNearestPaletteIndex({255, 255, 255}), 215); // the lower of the two whites
    EXPECT_EQ(CcfNearestPaletteIndex({250, 10, 5}), 5);      // pure red
    // The grey map's entries show their own level again on a grayscale remote.
    for (std::uint8_t level = 0; level < 4; ++level)
        EXPECT_EQ(CcfLuminanceLevel(kCcfPalette[kCcfGreyMap[level]]), level) << int(level);
    EXPECT_EQ(kCcfGreyMap, (std::array<std::uint8_t, 4>{0x00, 0xFB, 0xF5, 0xD7}));
}

// ---- Conversion ----

TEST(CcfConvert, GreyToColourAndBackKeepsTheGreyFile)
{
    const CCcfFile grey = ReadSample(kGraySample);
    CCcfFile f = grey;
    std::vector<std::string> dropped;
    CCcfError error;
    ASSERT_TRUE(CcfConvertFamily(f, kCcfCapProntoPro, dropped, &error)) << error.Text();
    EXPECT_TRUE(f.IsColour());
    EXPECT_EQ(f.header.tail, std::vector<std::uint8_t>(8, 0));
    for (const CCcfIcon& icon : f.icons)
        EXPECT_EQ(icon.type, 0x0701);
    const CCcfButton& before = grey.buttons[FirstButton(grey)];
    const CCcfButton& after = f.buttons[FirstButton(f)];
    for (int look = 0; look < 4; ++look)
        EXPECT_EQ(after.colours[look], CcfColourWord(kCcfGreyMap[CcfColourText(before.colours[look])],
                                                     kCcfGreyMap[CcfColourBackground(before.colours[look])]));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(WriteCcf(f, bytes, &error)) << error.Text();

    ASSERT_TRUE(CcfConvertFamily(f, grey.header.capability, dropped, &error)) << error.Text();
    EXPECT_EQ(f.header.tail, std::vector<std::uint8_t>(2, 0));
    CCsfText a, b;
    CCcfFile expected = grey;
    expected.header.tail = {0, 0}; // Tonto's four-byte tail is not kept by a conversion
    ASSERT_TRUE(FormatCsf(expected, a, &error));
    ASSERT_TRUE(FormatCsf(f, b, &error));
    // Pictures equal; the icon table differs only where the grey original was not 0x0100.
    ASSERT_EQ(a.pictures.size(), b.pictures.size());
    for (std::size_t i = 0; i < a.pictures.size(); ++i)
        EXPECT_TRUE(a.pictures[i].pixels.SameAs(b.pictures[i].pixels)) << i;
}

TEST(CcfConvert, ColourOnlyContentIsDroppedAndListed)
{
    CCcfFile f = ReadSample(kColourSample);
    CCcfDevice& d = f.devices[f.header.firstHome];
    d.keys[kCcfKeyFarLeft] = d.keys[kCcfKeyLeft];
    d.farRightLabel = d.leftLabel;
    d.rfExtender = 3;
    f.header.tail[7] = 2;
    std::vector<std::string> dropped;
    CCcfError error;
    ASSERT_TRUE(CcfConvertFamily(f, 0x00020001, dropped, &error)) << error.Text();
    EXPECT_EQ(dropped.size(), 4u);
    std::string all;
    for (const std::string& line : dropped)
        all += line + "\n";
    EXPECT_NE(all.find("outer hard keys"), std::string::npos) << all;
    EXPECT_NE(all.find("labels"), std::string::npos) << all;
    EXPECT_NE(all.find("RF extender"), std::string::npos) << all;
    EXPECT_NE(all.find("RF channel"), std::string::npos) << all;
    // The gallery's white (215) on blue (220) becomes white on dark grey by luminance.
    EXPECT_EQ(f.buttons[FirstButton(f)].colours[kCcfLookInactiveSelected], CcfColourByte(3, 1));
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(WriteCcf(f, bytes, &error)) << error.Text();
}

} // namespace
