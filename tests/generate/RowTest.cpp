#include "generate/Row.h"
#include "generate/GenPanel.h"
#include "generate/Jump.h"
#include "generate/PanelTestUtil.h"

#include <gtest/gtest.h>

namespace {

std::string WriteRow(const CRow& row, unsigned y, int font = 8, bool truncate = true)
{
    SCsfTree tree;
    CCSFSection* panel = tree.device->AddChildText("Panel(\"A0\")");
    row.Write(panel, y, font, truncate);
    return Dump(panel);
}

TEST(Rows, HeadersAreButtonsWithABackJumpAndFramesWithout)
{
    CPanelJump back("Music", "Alphabet");
    EXPECT_EQ(WriteRow(CHeaderRow("The Beatles", &back), 0),
              ButtonText(0, "The Beatles", "0,0,240,34", 42, "Black", 10, "ArtistHeader.bmp",
                         {JumpText("Music", "Alphabet")}));
    EXPECT_EQ(WriteRow(CHeaderRow("Abba", nullptr), 68),
              FrameText(0, "Abba", "0,68,240,34", "Black", 10, "ArtistHeader.bmp"));
    // A header without a name writes nothing.
    EXPECT_EQ(WriteRow(CHeaderRow(nullptr, nullptr), 0), "");
    EXPECT_EQ(WriteRow(CHeaderRow("", nullptr), 0), "");
}

// Cuts worked out from the font tables of the format notes: "W" is 12 pixels wide in font 8
// and 11 in font 10, "." 4 in both; 220 pixels hold 17 or 18 of them and the ellipsis.
TEST(Rows, HeaderTextIsCutTo220PixelsOnlyWhenTruncating)
{
    const std::string longName(40, 'W');
    const std::string cut8 = std::string(17, 'W') + "...", cut10 = std::string(18, 'W') + "...";
    EXPECT_NE(WriteRow(CHeaderRow(longName.c_str(), nullptr), 0, 8, true)
                  .find("Frame(\"" + cut8 + "\",0,0,240,34)"),
              std::string::npos);
    EXPECT_NE(WriteRow(CHeaderRow(longName.c_str(), nullptr), 0, 8, false).find("Frame(\"" + longName + "\""),
              std::string::npos);
    // Measured in the page's font (10 here), though always shown in font 10.
    EXPECT_NE(WriteRow(CHeaderRow(longName.c_str(), nullptr), 0, 10, true).find("Frame(\"" + cut10 + "\""),
              std::string::npos);
}

class LogoHeaders : public ::testing::TestWithParam<const char*>
{
};

TEST_P(LogoHeaders, ShowTheLogoInsteadOfText)
{
    CPanelJump back("Music", "A3");
    const std::vector<std::string> jump{JumpText("Music", "A3")};
    EXPECT_EQ(WriteRow(CHeaderRow(GetParam(), &back), 34),
              ButtonText(0, "", "0,34,240,34", 42, "Black", 0, "ArtistHeader.bmp", jump) +
                  ButtonText(0, "", "92,39,57,24", 43, "Black", 0, "NINClassicPronto.bmp", jump));
    EXPECT_EQ(WriteRow(CHeaderRow(GetParam(), nullptr), 0),
              FrameText(0, "", "0,0,240,34", "Black", 0, "ArtistHeader.bmp") +
                  FrameText(0, "", "92,5,57,24", "Black", 0, "NINClassicPronto.bmp"));
}

INSTANTIATE_TEST_SUITE_P(Names, LogoHeaders,
                         ::testing::Values("Nine Inch Nails", "nine inch nails", "NIN", "nin"));

TEST(Rows, ItemNamesAreCutTo164PixelsOnlyWhenTruncating)
{
    // Fourteen "W" are 168 pixels in font 8: cut to twelve and the ellipsis (156 + 12).
    CPanelJump jump("Music", "D2");
    const std::string name(14, 'W');
    const std::string truncated = WriteRow(CItemPairRow("x", "", &jump, name.c_str(), "", &jump), 0, 8, true);
    EXPECT_NE(truncated.find("Frame(\"" + std::string(12, 'W') + "...\",36,17,168,17)"), std::string::npos)
        << truncated;
    const std::string whole = WriteRow(CItemPairRow("x", "", &jump, name.c_str(), "", &jump), 0, 8, false);
    EXPECT_NE(whole.find("Frame(\"" + name + "\",36,17,168,17)"), std::string::npos);
}

TEST(Rows, ContinuationRowLeadsToTheNextPage)
{
    CPanelJump item("Music", "T7");
    CPanelJump next("Music", "D5");
    EXPECT_EQ(
        WriteRow(CContinuationRow("Ninth", "", &item, &next), 170, 8),
        ButtonText(0, "", "0,170,36,34", 42, "White", 8, "TwoDiscLeftButton.bmp", {JumpText("Music", "T7")}) +
            FrameText(0, "Ninth", "36,170,168,17", "White", 8, "TwoDiscLeftStrip.bmp") +
            ButtonText(0, ">>", "204,170,36,34", 43, "Black", 8, "TwoDiscRightButton.bmp",
                       {JumpText("Music", "D5")}) +
            FrameText(0, "", "67,187,137,17", "Black", 0, "ContinuationStrip.bmp"));
    // Without a next page only the item is written.
    const std::string alone = WriteRow(CContinuationRow("Ninth", "", &item, nullptr), 0);
    EXPECT_EQ(alone.find(">>"), std::string::npos);
    EXPECT_EQ(alone.find("ContinuationStrip"), std::string::npos);
    EXPECT_EQ(WriteRow(CSpacerRow(), 34), "") << "a spacer writes nothing";
}

} // namespace
