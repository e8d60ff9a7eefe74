// Text as the program writes it into a decompiled CSF (generated devices, panels with their
// colour defaults, frames and buttons with bitmaps, actions, hard keys) compiles, and
// decompiling the result gives the same statements back.

#include "ccfdll/Bmp.h"
#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"
#include "common/BmpBytes.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using dwtest::CTempDir;

// The statements below follow the program's builders: AddFrame ("Frame(...)", then
// "TextColor(%s)" without ";", "Font(%u);", "Icon(...)"), AddButton (two active colours,
// "Font(%u);", "ActiveIcons(...)" with one picture, "Action()"), WritePanel's defaults,
// the player's aliases and delays, the panel jumps with a space after the comma, and the
// hard keys with their labels.
const std::string kProgramText = dwtest::ReadText(DW_TEST_DATA_DIR "/csf/program-dialect.csf");

CCcfPixels Picture(std::uint16_t w, std::uint16_t h, int seed)
{
    CCcfPixels p;
    p.width = w;
    p.height = h;
    for (int i = 0; i < w * h; ++i)
        p.levels.push_back(std::uint8_t((i / 3 + seed) % 4));
    return p;
}

// A 24-bit bottom-up bitmap, as a paint program saves it, of the given levels' shades.
std::vector<std::uint8_t> Bitmap24(const CCcfPixels& p)
{
    const std::size_t row = (std::size_t(p.width) * 3 + 3) & ~std::size_t(3);
    std::vector<std::uint8_t> rows(row * p.height, 0);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            // Slightly off the exact shades: palettes of other programs map to the nearest level.
            const std::uint8_t grey = std::uint8_t(CcfLevelToGrey(p.At(x, y)) ^ 3);
            std::fill_n(rows.begin() +
                            std::ptrdiff_t(std::size_t(p.height - 1 - y) * row + std::size_t(x) * 3),
                        3, grey);
        }
    return dwtest::MakeBmp(p.width, p.height, 24, {}, rows);
}

class CsfGenerated : public testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(m_dir / "BMP");
        m_round = Picture(38, 35, 0);
        m_header = Picture(240, 34, 1);
        m_left = Picture(36, 34, 2);
        m_bar = Picture(120, 15, 3);
        WriteBmpFile(m_dir / "BMP/SmallRoundBlackButton.bmp", m_round, nullptr);
        const std::vector<std::uint8_t> header24 = Bitmap24(m_header);
        dwtest::WriteText(m_dir / "BMP/ArtistHeader.bmp", std::string(header24.begin(), header24.end()));
        WriteBmpFile(m_dir / "BMP/TwoDiscLeftButton.bmp", m_left, nullptr);
        WriteBmpFile(m_dir / "BMP/FinalBarRight.bmp", m_bar, nullptr);
        dwtest::WriteText(m_dir / "in.csf", kProgramText);
    }

    CTempDir m_dir;
    CCcfPixels m_round, m_header, m_left, m_bar;
};

CcfIndex PanelNamed(const CCcfFile& f, CcfIndex device, const std::string& name)
{
    for (CcfIndex p : CcfChain(f, CcfKind::Panel, f.devices[device].firstPanel))
        if (f.StringAt(f.panels[p].name) == name)
            return p;
    return kCcfNone;
}

TEST_F(CsfGenerated, CompilesWithTheRulesOfTheDialectAndDecompilesToTheSameStatements)
{
    CCcfFile f;
    CCcfError error;
    std::vector<std::string> progress;
    ASSERT_TRUE(ReadCsfFile(m_dir / "in.csf", f, &error, [&](const char* t) { progress.push_back(t); }))
        << error.Text();
    EXPECT_EQ(progress.front(), "Analyzing CCF (line 1)");
    EXPECT_NE(std::find(progress.begin(), progress.end(), "Analyzing Button (line 13)"), progress.end());
    EXPECT_NE(std::find(progress.begin(), progress.end(), "Analyzing Entry (line 23)"), progress.end());

    const std::vector<CcfIndex> devices = CcfChain(f, CcfKind::Device, f.header.firstDevice);
    ASSERT_EQ(devices.size(), 2u);
    ASSERT_EQ(CcfChain(f, CcfKind::Device, f.header.firstHome).size(), 1u);
    const CcfIndex jazz = devices[1];
    const CcfIndex alphabet = PanelNamed(f, jazz, "Alphabet"), a0 = PanelNamed(f, jazz, "A0");
    ASSERT_NE(alphabet, kCcfNone);
    ASSERT_NE(a0, kCcfNone);

    // Button 4: its own active colours and font, the inactive looks from the panel, one
    // picture for both active looks.
    const CCcfButton& button = f.buttons[f.panels[alphabet].children[0].index];
    EXPECT_EQ(button.font, 2); // Pronto 10
    EXPECT_EQ(button.colours, (std::array<std::uint32_t, 4>{CcfColourByte(1, 2), CcfColourByte(0, 1),
                                                            CcfColourByte(3, 2), CcfColourByte(3, 2)}));
    EXPECT_EQ(button.icons[0], kCcfNone);
    EXPECT_EQ(button.icons[2], button.icons[3]);
    // The frame: text colour its own, background the panel's White; same picture, one icon.
    const CCcfFrame& dot = f.frames[f.panels[alphabet].children[1].index];
    EXPECT_EQ(dot.colour, CcfColourByte(1, 3));
    EXPECT_EQ(dot.icon, button.icons[2]);
    CCcfPixels decoded;
    ASSERT_TRUE(CcfDecodeIcon(f.icons[dot.icon], decoded, nullptr));
    EXPECT_EQ(decoded.levels, m_round.levels);
    EXPECT_EQ(f.icons[dot.icon].type, 0x0100); // new pictures are stored uncompressed
    // The 24-bit picture, named with "/", mapped onto the four levels.
    const CCcfFrame& header = f.frames[f.panels[a0].children[0].index];
    ASSERT_TRUE(CcfDecodeIcon(f.icons[header.icon], decoded, nullptr));
    EXPECT_EQ(decoded.levels, m_header.levels);

    // The references (aliases by number, delay, jumps, hard keys and their labels, empty
    // lists) are checked through the decompiled names below; no Right key was given.
    EXPECT_EQ(f.devices[jazz].keys[kCcfKeyRight], kCcfNone);

    // Decompiled again, the text holds the same statements.
    ASSERT_TRUE(WriteCcfFile(f, m_dir / "out.ccf", &error)) << error.Text();
    CTempDir second;
    CCcfFile read;
    ASSERT_TRUE(ReadCcfFile(m_dir / "out.ccf", read, &error)) << error.Text();
    ASSERT_TRUE(WriteCsfFile(read, second / "back.csf", &error)) << error.Text();
    const std::string back = dwtest::ReadText(second / "back.csf");
    const char* const statements[] = {
        "\tDevice(\"Jazz\")\n",
        "\t\tLeft(\"Play\")\n\t\t{\n\t\t\tAliasDeviceButton(\"CD\",\"keys\",\"Play\",3); /* Reference to "
        "Button 3 */\n",
        "\t\tMute()\n\t\t{\n\t\t\tJumpDevicePanel(\"Jazz\",\"A0\");\n",
        "\t\tPanel(\"Alphabet\")\n\t\t{\n\t\t\tIsHidden()\n",
        "\t\t\tButton(\"A\",40,0,38,35,4) /* Button 4 */\n\t\t\t{\n\t\t\t\tFont(10);\n",
        "\t\t\t\tActiveUnselectedColor(LightGray,White);\n",
        "\t\t\t\tInactiveUnselectedColor(LightGray,DarkGray);\n",
        "\t\t\tFrame(\".\",80,0,38,35)\n\t\t\t{\n\t\t\t\tFont(10);\n\t\t\t\tBackColor(White);"
        "\n\t\t\t\tTextColor(DarkGray);\n",
        "\t\t\t\t\tAliasDeviceButton(\"CD\",\"keys\",\"1\",2); /* Reference to Button 2 */\n"
        "\t\t\t\t\tDelay(200);\n"
        "\t\t\t\t\tAliasDeviceButton(\"CD\",\"keys\",\"Play\",3); /* Reference to Button 3 */\n"
        "\t\t\t\t\tJumpDevicePanel(\"Jazz\",\"Alphabet\");\n",
        "\t\t\tButton(\">>\",120,204,120,15,6) /* Button 6 */\n",
        "IR(\"RC5\",\"5000 0073 0000 0001 0014 0001\");",
        "\t\t\tFrame(\"\",0,204,120,15)\n",
    };
    for (const char* s : statements)
        EXPECT_NE(back.find(s), std::string::npos) << s << "\nin\n" << back;
    // The bottom bar's empty action list stays a list.
    EXPECT_NE(
        back.find("ActiveIcons(\"BMP\\icon0004.bmp\",\"BMP\\icon0004.bmp\");\n\t\t\t\tAction()\n\t\t\t}"),
        std::string::npos)
        << back;

    // And compiling the decompiled text gives the same file again.
    CCcfFile again;
    ASSERT_TRUE(ReadCsfFile(second / "back.csf", again, &error)) << error.Text();
    std::vector<std::uint8_t> first, twice;
    ASSERT_TRUE(WriteCcf(f, first, &error));
    ASSERT_TRUE(WriteCcf(again, twice, &error));
    EXPECT_TRUE(first == twice);
}

} // namespace
