#include "generate/FitText.h"
#include "generate/GenPanel.h"
#include "generate/Jump.h"
#include "generate/PanelTestUtil.h"
#include "model/LibList.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace {

// The statements every generated panel begins with, below its "Panel(...)" line.
const std::string kPanelHead = "  Font(0)\n"
                               "  BackColor(White);\n"
                               "  TextColor(Black);\n"
                               "  InactiveUnselectedColor(LightGray,DarkGray);\n"
                               "  InactiveSelectedColor(DarkGray,Black);\n"
                               "  ActiveUnselectedColor(LightGray,Black);\n"
                               "  ActiveSelectedColor(LightGray,DarkGray);\n";

std::string Write(const CGenPanel& panel)
{
    SCsfTree tree;
    panel.WritePanel(tree.device);
    return Dump(tree.device);
}

TEST(Panels, RowsGoDownThePageThirtyFourPixelsApart)
{
    CPanelJump back("Music", "Alphabet");
    CPanelJump disc("Music", "D0");
    CListPanel page(SPanelOptions{}, "Music", 0, 'A', 3);
    page.AppendRow(std::make_unique<CSpacerRow>());
    page.AppendRow(std::make_unique<CHeaderRow>("Abba", &back));
    page.AppendRow(std::make_unique<CItemPairRow>("Arrival", "", &disc, "Voulez-Vous", "", &disc));
    EXPECT_EQ(page.GetFreeRows(), 3u);
    const std::string text = Write(page);
    EXPECT_EQ(text.rfind("Panel(\"A3\")\n", 0), 0u) << text;
    EXPECT_NE(text.find("  Button(\"Abba\",0,34,240,34,42) /* Button 42 */\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Button(\"\",0,68,36,34,43) /* Button 43 */\n"), std::string::npos);
    EXPECT_NE(text.find("  Frame(\"Voulez-Vous\",36,85,168,17)\n"), std::string::npos);
}

// The list's panel options, as a page of it shows them: a too long header and two bars.
struct SOptionCase
{
    const char* name;
    std::function<void(CLibList&)> set;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

class PanelOptions : public ::testing::TestWithParam<SOptionCase>
{
};

const std::string kLong = "The Rise and Fall of Ziggy Stardust and the Spiders from Mars";

TEST_P(PanelOptions, ShowOnThePage)
{
    CLibList list;
    GetParam().set(list);
    CListPanel page(GetPanelOptions(&list), "Music", 0, 'A', 1);
    CPanelJump other("Music", "A0");
    page.AppendRow(std::make_unique<CHeaderRow>(kLong.c_str(), nullptr));
    page.SetLeft(&other, "Abba", 0);
    page.SetRight(&other, "Cream", 3);
    const std::string text = Write(page);
    for (const std::string& part : GetParam().present)
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    for (const std::string& part : GetParam().absent)
        EXPECT_EQ(text.find(part), std::string::npos) << part << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    All, PanelOptions,
    ::testing::Values(
        SOptionCase{"Defaults",
                    [](CLibList&) {},
                    {"Panel(\"A1\")\n  Font(0)\n", "Button(\"Cream [3]\",120,204,120,15,"},
                    {"IsHidden", "Frame(\"" + kLong}},
        SOptionCase{
            "Hidden", [](CLibList& l) { l.SetHidePanels(true); }, {"Panel(\"A1\")\n  IsHidden()\n"}, {}},
        SOptionCase{"NoLinks",
                    [](CLibList& l) { l.SetLinks(false); },
                    {"Frame(\"Abba\",0,204,120,15)", "Frame(\"Cream [3]\",120,204,120,15)"},
                    {}},
        SOptionCase{"NoTruncation",
                    [](CLibList& l) { l.SetTruncate(false); },
                    {"Frame(\"" + kLong + "\",0,0,240,34)"},
                    {}},
        SOptionCase{
            "LargerFont",
            [](CLibList& l) { l.SetLargerFont(true); },
            {"Button(\"Abba\",0,204,120,15,42) /* Button 42 */\n    ActiveUnselectedColor(LightGray,Black);\n"
             "    ActiveSelectedColor(LightGray,Black);\n    Font(10);"},
            {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- alphabet -----------------------------------------------------------------------

TEST(AlphabetPanel, FilledAndEmptyCellsInTheirPlaces)
{
    CAlphabetPanel alphabet(SPanelOptions{}, "Music", 0);
    CPanelJump hash("Music", "A0"), a("Music", "A1"), f("Music", "A2"), z("Music", "A3"),
        other("Music", "A9");
    alphabet.SetLetter('#', &hash);
    alphabet.SetLetter('A', &a);
    alphabet.SetLetter('A', &other); // the first jump stays
    alphabet.SetLetter('F', &f);
    alphabet.SetLetter('Z', &z);
    alphabet.SetLetter('a', &other); // not a slot
    alphabet.SetLetter('0', &other);
    alphabet.SetLetter(0, &other);
    alphabet.SetLetter('B', nullptr);

    const std::string text = Write(alphabet);
    auto button = [](const char* letter, unsigned x, unsigned y, unsigned number, const char* page) {
        return ButtonText(1, letter, std::to_string(x) + "," + std::to_string(y) + ",38,35", number, "White",
                          10, "SmallRoundBlackButton.bmp", {JumpText("Music", page)});
    };
    auto empty = [](unsigned x, unsigned y) {
        return FrameText(1, ".", std::to_string(x) + "," + std::to_string(y) + ",38,35", "DarkGray", 10,
                         "SmallRoundBlackButton.bmp");
    };
    // Cells in slot order: "#", "A", then B to E empty on the first line.
    const std::string firstLine = button("#", 0, 0, 42, "A0") + button("A", 40, 0, 43, "A1") + empty(80, 0) +
                                  empty(120, 0) + empty(160, 0) + empty(200, 0) +
                                  button("F", 0, 40, 44, "A2") + empty(50, 40);
    EXPECT_EQ(text.find(firstLine), ("Panel(\"Alphabet\")\n" + kPanelHead).size()) << text;
    // The middle lines step by 50 pixels, the last by 40.
    EXPECT_NE(text.find(empty(200, 80)), std::string::npos);  // O
    EXPECT_NE(text.find(empty(0, 120)), std::string::npos);   // P
    EXPECT_NE(text.find(empty(200, 120)), std::string::npos); // T
    EXPECT_NE(text.find(empty(0, 160)), std::string::npos);   // U
    EXPECT_NE(text.find(empty(160, 160) + button("Z", 200, 160, 45, "A3")), std::string::npos);
    // 27 cells: 4 buttons, 23 frames, then the two bar frames.
    std::size_t frames = 0;
    for (std::size_t at = text.find("Frame(\".\""); at != std::string::npos;
         at = text.find("Frame(\".\"", at + 1))
        ++frames;
    EXPECT_EQ(frames, 23u);
}

TEST(CreditsPanel, LogoNameAndCreditLinesThatFit)
{
    CCreditsPanel credits(SPanelOptions{}, "Music", 1);
    CAlphabetPanel alphabet(SPanelOptions{}, "Music", 0);
    credits.SetLeft(alphabet.GetJump(), "Alphabet", 0);
    credits.SetRight(alphabet.GetJump(), "Alphabet", 0);
    const std::string text = Write(credits);
    const std::string head = "Panel(\"Credits\")\n" + kPanelHead +
                             FrameText(1, "", "37,5,167,71", "Black", 0, "BrisketPronto.bmp") +
                             FrameText(1, "Discweaver", "30,76,181,31", "Black", 18, nullptr);
    ASSERT_EQ(text.rfind(head, 0), 0u) << text;
    EXPECT_NE(text.find("JumpDevicePanel(\"Music\", \"Alphabet\");"), std::string::npos);

    // Then the five credit lines: text frames without icons, each fitting its frame.
    const struct
    {
        const char* place;
        int width, font;
    } frames[] = {{"40,108,161,21", 161, 10},
                  {"55,130,131,16", 131, 8},
                  {"15,148,211,18", 211, 8},
                  {"15,166,211,16", 211, 8},
                  {"45,181,151,19", 151, 8}};
    std::string rest = text.substr(head.size());
    for (const auto& f : frames) {
        const std::regex line("  Frame\\(\"([^\"]+)\"," + std::string(f.place) +
                              "\\)\n    TextColor\\(Black\\)\n    Font\\(" + std::to_string(f.font) +
                              "\\);\n");
        std::smatch m;
        ASSERT_TRUE(std::regex_search(rest, m, line, std::regex_constants::match_continuous)) << rest;
        EXPECT_LE(GetTextWidth(m[1].str(), f.font == 10), f.width) << m[1];
        rest = m.suffix().str();
    }
}

} // namespace
