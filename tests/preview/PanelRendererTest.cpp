#include "preview/PanelRenderer.h"
#include "preview/PreviewFont.h"
#include "preview/PreviewImage.h"

#include "PreviewTestUtil.h"
#include "common/BmpBytes.h"
#include "common/TempDir.h"
#include "generate/FitText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// An artist page as the generator lays it out: a header frame, two pair rows (a disc
// button beside a name frame holding a track button) and a bottom bar.
const std::string kArtistPage = DW_TEST_DATA_DIR "/csf/artist-page.csf";

TEST(PanelRenderer, ArtistPageDrawsHeaderRowsAndBarWhereTheLayoutPutsThem)
{
    auto root = ParseCsf(dwtest::ReadText(kArtistPage));
    CPreviewImage image = RenderPanel(FirstPanel(root.get()), "");
    ASSERT_EQ(image.GetWidth(), 240);
    ASSERT_EQ(image.GetHeight(), 220);
    struct SPixel
    {
        int x, y;
        std::uint8_t level;
    };
    const SPixel pixels[] = {
        {2, 2, 2},    // header frame, its own light grey
        {239, 33, 2}, // its last pixel
        {120, 37, 3}, // the gap below it shows the panel's white
        {2, 42, 1},   // the active disc button: the panel's active colour
        {45, 42, 0},  // the name frame (nested at 0+40, 40+0), black
        {162, 46, 2}, // the inactive track button inside it, relative to the frame
        {5, 210, 1},  // the bottom bar
        {5, 199, 3},
    };
    for (const SPixel& p : pixels)
        EXPECT_EQ(image.Get(p.x, p.y), p.level) << p.x << "," << p.y;
}

// One element at (20,20) 200×40 labelled "WM" on a panel with the given defaults: the
// background shows at its corner and the label in its text level. On a colour remote the
// levels are palette indices: a word's low byte is its background, its top byte its text,
// and level names go through the grey map (0, 251, 245, 215).
struct SLookCase
{
    const char* what;
    const char* panelDefaults;
    const char* element; // the statement without its label and placement, then its block
    bool selected;
    int background;
    int text; // -1: the label is not looked at
    bool colour = false;
};

void PrintTo(const SLookCase& c, std::ostream* os)
{
    *os << c.what;
}

class PanelRendererLook : public ::testing::TestWithParam<SLookCase>
{
};

TEST_P(PanelRendererLook, DrawsBackgroundAndLabelLevels)
{
    const SLookCase& c = GetParam();
    std::string element = c.element;
    const std::string::size_type open = element.find('(');
    element.insert(open + 1, "\"WM\",20,20,200,40");
    const std::string head = c.colour ? "CCF()\n{\nCapability(0x00060301);\n" : "";
    auto root = ParseCsf(head + "Device(\"D\")\n{\nPanel(\"P\")\n{\n" + c.panelDefaults + element + "}\n}\n" +
                         (c.colour ? "}\n" : ""));
    ASSERT_EQ(IsColourConfiguration(root.get()), c.colour);
    CPreviewImage image = RenderPanel(FirstPanel(root.get()), "", c.selected, nullptr, c.colour);
    EXPECT_EQ(image.IsColour(), c.colour);
    EXPECT_EQ(image.Get(21, 21), c.background) << c.what;
    EXPECT_EQ(image.Get(218, 58), c.background) << c.what;
    EXPECT_EQ(image.Get(10, 10), c.colour ? 215 : 3) << c.what << ": the panel around it";
    if (c.text < 0)
        return;
    int label = 0, other = 0, left = 240, right = -1;
    for (int y = 20; y < 60; ++y)
        for (int x = 20; x < 220; ++x) {
            const int level = image.Get(x, y);
            label += level == c.text;
            other += level != c.text && level != c.background;
            if (level == c.text)
                left = std::min(left, x), right = std::max(right, x);
        }
    EXPECT_GT(label, 15) << c.what << ": no label in level " << c.text;
    EXPECT_EQ(other, 0) << c.what;
    // Centred in the element.
    const int width = PreviewTextWidth("WM", 10);
    EXPECT_GE(left, 20 + (200 - width) / 2) << c.what;
    EXPECT_LT(right, 20 + (200 - width) / 2 + width) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelRendererLook,
    ::testing::Values(
        // Raw colour bytes: text in bits 1-0, background in bits 3-2 (7-4 only repeat it).
        SLookCase{"raw frame byte", "", "Frame()\n{\nFont(10);\nColor(0x68);\n}\n", false, 2, 0},
        SLookCase{"only bits 3-2 count", "", "Frame()\n{\nFont(10);\nColor(0x0D);\n}\n", false, 3, 1},
        SLookCase{"level after a raw byte", "", "Frame()\n{\nFont(10);\nColor(0x68);\nTextColor(White);\n}\n",
                  false, 2, 3},
        SLookCase{"raw byte after a level", "", "Frame()\n{\nFont(10);\nTextColor(White);\nColor(0x68);\n}\n",
                  false, 2, 0},
        SLookCase{"raw panel default", "Color(0x57);\nFont(10);\n", "Frame()\n{\n}\n", false, 1, 3},
        SLookCase{"raw button look", "",
                  "Button(,1)\n{\nFont(10);\nActiveUnselectedColor(0x68);\nAction()\n{\nBeep(1,1,1);\n}\n}\n",
                  false, 2, 0},
        SLookCase{"raw panel button default", "InactiveUnselectedColor(0xFD);\n",
                  "Button(,1)\n{\nFont(10);\n}\n", false, 3, 1},
        // The pressed look, of the state the actions give.
        SLookCase{"selected, active", "",
                  "Button(,1)\n{\nFont(10);\nActiveUnselectedColor(White,Black);\nActiveSelectedColor("
                  "DarkGray,White);"
                  "\nInactiveSelectedColor(LightGray,Black);\nAction()\n{\nBeep(1,1,1);\n}\n}\n",
                  true, 1, 3},
        SLookCase{"unselected, active", "",
                  "Button(,1)\n{\nFont(10);\nActiveUnselectedColor(White,Black);\nActiveSelectedColor("
                  "DarkGray,White);"
                  "\nAction()\n{\nBeep(1,1,1);\n}\n}\n",
                  false, 3, 0},
        SLookCase{
            "selected, inactive", "",
            "Button(,1)\n{\nFont(10);\nInactiveSelectedColor(LightGray,Black);\nActiveSelectedColor(DarkGray,"
            "White);\nAction()\n}\n",
            true, 2, 0},
        SLookCase{"selected, panel default", "InactiveSelectedColor(White,DarkGray);\nFont(10);\n",
                  "Button(,1)\n{\n}\n", true, 3, 1},
        SLookCase{"frames have one look", "", "Frame()\n{\nFont(10);\nBackColor(LightGray);\n}\n", true, 2,
                  0},
        // Colour remotes.
        SLookCase{"colour frame word", "", "Frame()\n{\nFont(10);\nColor(0xD7DCDCDC);\n}\n", false, 220, 215,
                  true},
        SLookCase{"colour frame level", "", "Frame()\n{\nBackColor(DarkGray);\n}\n", false, 251, -1, true},
        SLookCase{"colour frame default white", "", "Frame()\n{\n}\n", false, 215, -1, true},
        SLookCase{"colour panel default level", "BackColor(LightGray);\n", "Frame()\n{\n}\n", false, 245, -1,
                  true},
        SLookCase{"colour panel default word", "Color(0x00E0E0E0);\n", "Frame()\n{\n}\n", false, 224, -1,
                  true},
        SLookCase{"colour button word", "",
                  "Button(,1)\n{\nFont(10);\nInactiveUnselectedColor(0x00123456);\n}\n", false, 0x56, 0,
                  true},
        SLookCase{"colour button levels", "",
                  "Button(,1)\n{\nFont(10);\nInactiveUnselectedColor(Black,White);\n}\n", false, 0, 215,
                  true},
        SLookCase{"colour button default", "", "Button(,1)\n{\n}\n", false, 245, -1, true}));

// A label in the remote's font code draws as in that code's point size (1..6 are Pronto
// 8..18; undefined codes fall back to 8).
TEST(PanelRenderer, FontCodesDrawInTheirPointSizes)
{
    auto render = [](const std::string& font) {
        auto root = ParseCsf("Device(\"D\")\n{\nPanel(\"P\")\n{\nFrame(\"WM\",20,20,200,40)\n{\n" + font +
                             ";\nTextColor(Black);\n}\n}\n}\n");
        return RenderPanel(FirstPanel(root.get()), "");
    };
    auto same = [](const CPreviewImage& a, const CPreviewImage& b) {
        for (int y = 0; y < a.GetHeight(); ++y)
            for (int x = 0; x < a.GetWidth(); ++x)
                if (a.Get(x, y) != b.Get(x, y))
                    return false;
        return true;
    };
    const std::pair<unsigned, unsigned> codes[] = {{1, 8},  {2, 10}, {3, 12}, {4, 14},
                                                   {5, 16}, {6, 18}, {9, 8}};
    for (const auto& [code, size] : codes)
        EXPECT_TRUE(same(render("FontCode(" + std::to_string(code) + ")"),
                         render("Font(" + std::to_string(size) + ")")))
            << "code " << code;
    EXPECT_FALSE(same(render("FontCode(6)"), render("FontCode(1)")));
}

TEST(PreviewFont, AdvancesAreFitTextWidthsForEightAndTen)
{
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(PreviewCharAdvance(static_cast<unsigned char>(c), 8),
                  GetCharWidth(static_cast<unsigned char>(c), false));
        EXPECT_EQ(PreviewCharAdvance(static_cast<unsigned char>(c), 10),
                  GetCharWidth(static_cast<unsigned char>(c), true));
    }
    EXPECT_EQ(PreviewCharAdvance('W', 0), 0);
    EXPECT_GT(PreviewCharAdvance('W', 16), PreviewCharAdvance('W', 10));
}

// Every byte's ink at every size lies inside its own advance, one column short of the
// next character, and below the line's top; printable characters all draw something,
// and no two letters or digits look alike.
class PreviewFontSize : public ::testing::TestWithParam<unsigned>
{
};

TEST_P(PreviewFontSize, InkStaysInsideTheAdvanceAndGlyphsDiffer)
{
    const unsigned size = GetParam();
    std::vector<std::string> shapes(256);
    for (int c = 1; c < 256; ++c) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const int advance = PreviewCharAdvance(byte, size);
        CPreviewImage image(3 * advance + 8, 3 * PreviewLineHeight(size), 3);
        const int x = advance + 4, y = PreviewLineHeight(size);
        DrawPreviewText(image, x, y, std::string(1, static_cast<char>(byte)), size, 0, image.Bounds());
        int ink = 0;
        for (int py = 0; py < image.GetHeight(); ++py)
            for (int px = 0; px < image.GetWidth(); ++px) {
                if (image.Get(px, py) != 0)
                    continue;
                ++ink;
                shapes[c] += std::to_string(px - x) + "," + std::to_string(py - y) + " ";
                EXPECT_GE(px, x) << "byte " << c << " size " << size;
                EXPECT_LT(px, x + std::max(advance - 1, 1)) << "byte " << c << " size " << size;
                EXPECT_GT(py, y) << "byte " << c << " size " << size;
            }
        if (c > ' ') {
            EXPECT_GT(ink, 0) << "byte " << c << " size " << size << " draws nothing";
        }
    }
    const std::string alphanumerics = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (std::size_t i = 0; i < alphanumerics.size(); ++i)
        for (std::size_t j = i + 1; j < alphanumerics.size(); ++j) {
            const unsigned char a = static_cast<unsigned char>(alphanumerics[i]);
            const unsigned char b = static_cast<unsigned char>(alphanumerics[j]);
            EXPECT_NE(shapes[a], shapes[b])
                << alphanumerics[i] << " and " << alphanumerics[j] << " size " << size;
        }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewFontSize, ::testing::Values(8u, 10u, 12u, 14u, 16u, 18u));

using dwtest::WriteBytes;

// A 3×2 4-bit picture: palette black, white; bottom row black white black, top row white
// black white.
std::vector<std::uint8_t> FourBitBmp()
{
    return dwtest::MakeBmp(3, 2, 4, {0x000000, 0xFFFFFF}, {0x01, 0x00, 0, 0, 0x10, 0x10, 0, 0});
}

TEST(PreviewBmp, ReadsFourBitAndRefusesDamagedFiles)
{
    dwtest::CTempDir dir("dw-preview-bmp");
    ASSERT_FALSE(dir.Path().empty());
    const std::string path = dir / "a.bmp";
    WriteBytes(path, FourBitBmp());
    CPreviewImage image;
    CErrorRecord errors;
    ASSERT_TRUE(ReadPreviewBmp(path, image, &errors)) << GetText(&errors);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.Get(0, 0), 3);
    EXPECT_EQ(image.Get(1, 0), 0);
    EXPECT_EQ(image.Get(0, 1), 0);
    EXPECT_EQ(image.Get(1, 1), 3);

    // The codec's dark and light grey (0x80, 0xC0) are levels 1 and 2, whatever the
    // palette's order.
    auto greys = FourBitBmp();
    greys[54] = greys[55] = greys[56] = 0xC0;
    greys[58] = greys[59] = greys[60] = 0x80;
    WriteBytes(path, greys);
    ASSERT_TRUE(ReadPreviewBmp(path, image, &errors)) << GetText(&errors);
    EXPECT_EQ(image.Get(0, 0), 1);
    EXPECT_EQ(image.Get(1, 0), 2);
    // In a colour file they go through the grey map, and so does a grey picture blitted there.
    ASSERT_TRUE(ReadPreviewBmp(path, image, &errors, true)) << GetText(&errors);
    EXPECT_EQ(image.Get(0, 0), 251);
    EXPECT_EQ(image.Get(1, 0), 245);
    CPreviewImage canvas(2, 2, 215, true);
    canvas.Blit(CPreviewImage(1, 1, 2), 0, 0, canvas.Bounds());
    EXPECT_EQ(canvas.Get(0, 0), 245);

    auto cut = FourBitBmp();
    cut.resize(cut.size() - 3);
    WriteBytes(path, cut);
    EXPECT_FALSE(ReadPreviewBmp(path, image, nullptr));
    // Width 32515, run-length compression, pixels placed past the end of the file.
    for (const auto& [at, value] : {std::pair<std::size_t, std::uint8_t>{19, 0x7F}, {30, 2}, {13, 0x10}}) {
        auto bytes = FourBitBmp();
        bytes[at] = value;
        WriteBytes(path, bytes);
        EXPECT_FALSE(ReadPreviewBmp(path, image, nullptr)) << "byte " << at;
    }
}

TEST(PreviewPng, WritesScaledPictureAndLeavesNoTemporaryFile)
{
    dwtest::CTempDir dir("dw-preview-png");
    const std::string path = dir / "b.png";
    CPreviewImage image(4, 3, 1);
    ASSERT_TRUE(WritePreviewPng(image, path, 2, nullptr));
    const std::string bytes = dwtest::ReadText(path);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(static_cast<unsigned char>(bytes[19]), 8u); // width 8
    EXPECT_EQ(static_cast<unsigned char>(bytes[23]), 6u); // height 6
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "a temporary file was left beside the picture";
    EXPECT_FALSE(WritePreviewPng(image, "/nonexistent-dir/x.png", 1, nullptr));
}

} // namespace

// Where a touch lands. On the artist page: the disc button "Kind" at (0,40) 40×28, the
// track button "Sowhat" at (120,4) inside the frame at (40,40), so (160,44) 60×20 on the
// panel; frames and gaps hold no button. On kOverlap: "Over" is drawn after "Under" on the
// same place; "Cut" reaches beyond its frame, which shows only its left 20 columns; "Gone"
// lies wholly off the panel.
const char* const kOverlap = "Device(\"D\")\n{\nPanel(\"P\")\n{\n"
                             "Button(\"Under\",10,10,50,50,1)\n{\n}\n"
                             "Button(\"Over\",30,30,50,50,2)\n{\n}\n"
                             "Frame(\"\",100,100,40,40)\n{\nButton(\"Cut\",20,0,60,20,3)\n{\n}\n}\n"
                             "Button(\"Gone\",300,0,20,20,4)\n{\n}\n}\n}\n";

struct SHitCase
{
    const char* what;
    int x, y;
    const char* button; // null: none
    bool overlap = false;
};

class PanelHit : public ::testing::TestWithParam<SHitCase>
{
};

TEST_P(PanelHit, TouchReachesTheButtonDrawnThere)
{
    const SHitCase& c = GetParam();
    auto root = ParseCsf(c.overlap ? std::string(kOverlap) : dwtest::ReadText(kArtistPage));
    std::vector<SPanelButtonArea> areas;
    RenderPanel(FirstPanel(root.get()), "", nullptr, &areas);
    const CCSFSection* hit = FindButtonAt(areas, c.x, c.y);
    std::string name;
    if (hit)
        ASSERT_TRUE(hit->IsButtonStatement(&name));
    EXPECT_EQ(name, c.button ? c.button : "") << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, PanelHit,
                         ::testing::Values(SHitCase{"disc button's last pixel", 39, 67, "Kind"},
                                           SHitCase{"just right of it, on the name frame", 40, 50, nullptr},
                                           SHitCase{"just below it", 10, 68, nullptr},
                                           SHitCase{"nested track button, placed by its frame", 160, 44,
                                                    "Sowhat"},
                                           SHitCase{"its last pixel", 219, 63, "Sowhat"},
                                           SHitCase{"outside the panel", -1, 45, nullptr},
                                           SHitCase{"below the topmost", 15, 15, "Under", true},
                                           SHitCase{"the topmost wins", 40, 40, "Over", true},
                                           SHitCase{"inside its frame", 125, 105, "Cut", true},
                                           SHitCase{"the part the frame hides", 145, 105, nullptr, true},
                                           SHitCase{"wholly off the panel", 305, 5, nullptr, true}));

TEST(PanelRenderer, PressedButtonAloneTakesItsSelectedLook)
{
    // The defaults of the four looks: the active disc button "Kind" turns from its
    // panel's active unselected dark grey to the default active selected light grey,
    // the inactive track button keeps the panel's light grey.
    auto root = ParseCsf(dwtest::ReadText(kArtistPage));
    const CCSFSection* panel = FirstPanel(root.get());
    std::vector<SPanelButtonArea> areas;
    const CPreviewImage plain = RenderPanel(panel, "", nullptr, &areas);
    const CCSFSection* kind = FindButtonAt(areas, 5, 45);
    const CPreviewImage pressed = RenderPanel(panel, "", kind, nullptr);
    EXPECT_EQ(pressed.Get(2, 42), 2);
    int differing = 0;
    for (int y = 0; y < kPanelHeight; ++y)
        for (int x = 0; x < kPanelWidth; ++x)
            if (plain.Get(x, y) != pressed.Get(x, y)) {
                ++differing;
                EXPECT_TRUE(x < 40 && y >= 40 && y < 68)
                    << "changed outside the pressed button at " << x << "," << y;
            }
    EXPECT_GT(differing, 0);
}
