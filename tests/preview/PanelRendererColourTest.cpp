// Panels of colour remotes: colour words, level names through the grey map, pictures read
// into palette indices, and the RGB PNG.

#include "preview/PanelRenderer.h"
#include "preview/PreviewImage.h"

#include "PreviewTestUtil.h"
#include "common/BmpBytes.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

struct SColourCase
{
    const char* name;
    const char* statements; // inside the panel, before a 20 x 20 element at (10, 10)
    const char* element;
    std::uint8_t expected; // palette index at (12, 12)
};

class PanelRendererColour : public ::testing::TestWithParam<SColourCase>
{
};

// The background index is the word's low byte; the text index its top byte. Level names
// become the grey map's entries: 0, 251, 245, 215.
TEST_P(PanelRendererColour, DrawsTheBackgroundOfTheWord)
{
    const SColourCase& c = GetParam();
    const std::string text =
        std::string("CCF()\n{\nCapability(0x00060301);\nDevice(\"d\")\n{\nPanel(\"p\")\n{\n") + c.statements +
        c.element + "\n}\n}\n}\n";
    auto root = ParseCsf(text);
    ASSERT_TRUE(root);
    ASSERT_TRUE(IsColourConfiguration(root.get()));
    const CCSFSection* panel =
        root->FindChildByPrefix("CCF(")
            ? root->FindChildByPrefix("CCF(")->FindChildByPrefix("Device(")->FindChildByPrefix("Panel(")
            : root->FindChildByPrefix("Device(")->FindChildByPrefix("Panel(");
    ASSERT_NE(panel, nullptr);
    CPreviewImage image = RenderPanel(panel, "", false, nullptr, true);
    EXPECT_TRUE(image.IsColour());
    EXPECT_EQ(image.Get(12, 12), c.expected);
    EXPECT_EQ(image.Get(200, 200), 215); // the panel's white
}

INSTANTIATE_TEST_SUITE_P(
    All, PanelRendererColour,
    ::testing::Values(
        SColourCase{"FrameWord", "", "Frame(\"\",10,10,20,20)\n{\nColor(0xD7DCDCDC);\n}", 220},
        SColourCase{"FrameLevels", "", "Frame(\"\",10,10,20,20)\n{\nBackColor(DarkGray);\n}", 251},
        SColourCase{"FrameDefaultWhite", "", "Frame(\"\",10,10,20,20)\n{\n}", 215},
        SColourCase{"PanelDefaultLevel", "BackColor(LightGray);\n", "Frame(\"\",10,10,20,20)\n{\n}", 245},
        SColourCase{"PanelDefaultWord", "Color(0x00E0E0E0);\n", "Frame(\"\",10,10,20,20)\n{\n}", 224},
        SColourCase{"ButtonWord", "",
                    "Button(\"\",10,10,20,20,1)\n{\nInactiveUnselectedColor(0x00123456);\n}", 0x56},
        SColourCase{"ButtonLevels", "",
                    "Button(\"\",10,10,20,20,1)\n{\nInactiveUnselectedColor(Black,White);\n}", 0},
        SColourCase{"ButtonDefault", "", "Button(\"\",10,10,20,20,1)\n{\n}", 245}),
    [](const testing::TestParamInfo<SColourCase>& i) { return i.param.name; });

// A grey picture in a colour file shows through the grey map; a picture with the remote's
// palette shows its own indices.
TEST(PanelRendererColourPictures, GreyAndPalettePictures)
{
    dwtest::CTempDir dir("dw-preview-colour");
    // 4-bit, four grey entries (black, #808080, #C0C0C0, white), 2 x 1: levels 1 and 2.
    const std::string path = dir.Path() + "/g.bmp";
    dwtest::WriteBytes(path,
                       dwtest::MakeBmp(2, 1, 4, {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF}, {0x12, 0, 0, 0}));
    CPreviewImage image;
    ASSERT_TRUE(ReadPreviewBmp(path, image, nullptr, true));
    EXPECT_EQ(image.Get(0, 0), 251);
    EXPECT_EQ(image.Get(1, 0), 245);
    ASSERT_TRUE(ReadPreviewBmp(path, image, nullptr, false));
    EXPECT_EQ(image.Get(0, 0), 1);
    EXPECT_EQ(image.Get(1, 0), 2);

    // Blitting a grey picture onto a colour image goes through the map too.
    CPreviewImage greyPicture(1, 1, 2);
    CPreviewImage canvas(2, 2, 215, true);
    canvas.Blit(greyPicture, 0, 0, canvas.Bounds());
    EXPECT_EQ(canvas.Get(0, 0), 245);
}

} // namespace
