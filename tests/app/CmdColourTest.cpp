// The command line on colour ProntoPro files: execute on the colour demo with the demo's
// library and players, preview and press, info, and convert between the families.

#include "DemoAreaCli.h"

#include <gtest/gtest.h>

#include <png.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using dwtest::kDemoCcf;
using dwtest::kSamples;

class CmdColour : public dwtest::CDemoAreaCli
{
protected:
    void SetUp() override
    {
        if (!dwtest::HaveCodecAndDemo())
            GTEST_SKIP() << "the codec or the demo CCF has not been built";
        dwtest::CDemoAreaCli::SetUp();
    }
    // The decompiled text of a CCF (pictures into `dir`/BMP).
    std::string Decompile(const std::string& ccf, const fs::path& dir)
    {
        fs::create_directories(dir);
        CliRun run = RunCliCaptured({"decompile", ccf, (dir / "x.csf").string()});
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return dwtest::ReadText((dir / "x.csf").string());
    }
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The four greys on a colour remote, as the format notes recommend.
const std::map<std::string, std::string> kGreyMap = {
    {"Black", "00"}, {"DarkGray", "FB"}, {"LightGray", "F5"}, {"White", "D7"}};

// Lines that may differ between a grey and a colour result: colours, pictures, IR data,
// the capability, and the colour demo's template panel.
bool ColourSpecific(const std::string& line)
{
    return Contains(line, "Color(") || Contains(line, "Icon") || Contains(line, "IR(") ||
           Contains(line, "Capability(") || line == "\tPanel(\"macro\")";
}

// Runs the main job on the grey demo and on its colour conversion: apart from colours,
// pictures, IR data and the capability, the two results hold the same text, so links,
// jumps, aliases and hard keys behave alike; every grey the generator chose arrives as
// the mapped colour word, and every picture as a 256-colour icon.
TEST_F(CmdColour, ExecuteOnAColourInputMapsTheGreysAndKeepsTheBehaviour)
{
    const std::string grey = Path("grey.ccf"), colour = Path("colour.ccf");
    const std::vector<std::string> answers = {"--replace-devices", "yes", "--unlinked", "stop"};
    CliRun g = Execute(kDemoCcf, grey, answers);
    ASSERT_EQ(g.status, kExitOk) << g.err;
    CliRun c = Execute(kSamples + "tonto-demo-TSU6000.ccf", colour, answers);
    ASSERT_EQ(c.status, kExitOk) << c.err;

    // Button looks line by line, frames by their pair of levels.
    const std::regex look(R"(^\t+(\w+Color)\((\w+),(\w+)\);$)"),
        word(R"(^\t+(\w*Color)\(0x([0-9A-F]{8})\);$)");
    const std::regex back(R"(^\t+BackColor\((\w+)\);$)"), text(R"(^\t+TextColor\((\w+)\);$)");
    std::vector<std::string> greyKept, colourKept, expected, got;
    std::string pendingBack;
    for (const std::string& l : Lines(Decompile(grey, m_root / "g"))) {
        std::smatch m;
        if (!ColourSpecific(l))
            greyKept.push_back(l);
        else if (std::regex_match(l, m, look))
            expected.push_back(m[1].str() + kGreyMap.at(m[3]) + kGreyMap.at(m[2]));
        else if (std::regex_match(l, m, back))
            pendingBack = m[1];
        else if (std::regex_match(l, m, text))
            expected.push_back("Color" + kGreyMap.at(m[1]) + kGreyMap.at(pendingBack));
    }
    std::size_t icons = 0;
    for (const std::string& l : Lines(Decompile(colour, m_root / "c"))) {
        std::smatch m;
        if (!ColourSpecific(l)) {
            colourKept.push_back(l);
        } else if (std::regex_match(l, m, word)) {
            const std::string w = m[2];
            EXPECT_EQ(w.substr(2, 2), w.substr(6, 2)) << l; // the background three times
            EXPECT_EQ(w.substr(4, 2), w.substr(6, 2)) << l;
            got.push_back(m[1].str() + w.substr(0, 2) + w.substr(6, 2));
        } else if (Contains(l, "IconFile(")) {
            ++icons;
            EXPECT_TRUE(Contains(l, ",0x0701")) << l;
        }
    }
    EXPECT_EQ(greyKept, colourKept);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(expected, got);
    EXPECT_GT(icons, 0u);
}

// A PNG read as RGB by libpng.
struct SPng
{
    int width = 0;
    std::vector<unsigned char> pixels;
    unsigned Rgb(int x, int y) const
    {
        const unsigned char* p = &pixels[(std::size_t(y) * width + x) * 3];
        return (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
    }
};

bool ReadPng(const std::string& path, SPng& png)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    png.width = int(image.width);
    png.pixels.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, png.pixels.data(), 0, nullptr) != 0;
}

// The gallery's button at (5, 5) shows icon A, whose pixels are palette indices 240 (rim),
// 221 (left edge), 217 (face) and 0 (shadow); the panel around it is white.
TEST_F(CmdColour, PreviewDrawsThePalettesColours)
{
    const std::string png = Path("g.png");
    CliRun run = RunCliCaptured({"preview", kSamples + "tonto-gallery-color.ccf", "--device", "buttons",
                                 "--panel", "default", "-o", png});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    SPng image;
    ASSERT_TRUE(ReadPng(png, image));
    const struct
    {
        int x, y;
        unsigned rgb;
    } places[] = {{0, 0, 0xFFFFFF},   {200, 150, 0xFFFFFF}, {55, 5, 0xFFFFFF}, {5, 22, 0x4050E0},
                  {15, 10, 0x90B0F0}, {109, 22, 0x000000},  {7, 39, 0x000000}};
    for (const auto& p : places)
        EXPECT_EQ(image.Rgb(p.x, p.y), p.rgb) << p.x << "," << p.y;
}

// The model names and memory lines are the codec's and the memory table's; here they arrive.
TEST_F(CmdColour, InfoKnowsTheColourModels)
{
    CliRun run = RunCliCaptured({"info", kSamples + "tonto-gallery-color.ccf"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(Contains(run.out, "Model: TSU-6000 / RU-970 (capability 0x00060301)\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "Memory of RU-970: 5667 KB, file uses 0.1%\n")) << run.out;
}

// A small colour configuration with both outer keys, compiled from text.
std::string MakeOuterKeyFile(const fs::path& dir)
{
    fs::create_directories(dir);
    dwtest::WriteText((dir / "k.csf").string(),
                      "CCF()\n{\n\tCapability(0x00060301);\n\tDevice(\"TV\")\n\t{\n"
                      "\t\tIsHome();\n\t\tFarLeft(\"Back\")\n\t\t{\n\t\t\tDelay(300);\n"
                      "\t\t}\n\t\tFarRight(\"Next\")\n\t\t{\n\t\t\tAliasDeviceKey(\"TV\","
                      "\"FarLeft\");\n\t\t}\n\t\tPanel(\"p\")\n\t}\n}\n");
    const std::string ccf = (dir / "k.ccf").string();
    CliRun run = RunCliCaptured({"compile", (dir / "k.csf").string(), ccf});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    return ccf;
}

TEST_F(CmdColour, PressReachesTheOuterHardKeys)
{
    const std::string ccf = MakeOuterKeyFile(m_root / "keys");
    CliRun run = RunCliCaptured({"press", ccf, "--device", "TV", "--key", "FarRight"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(Contains(run.out, "Pressing hard key \"FarRight\" of device \"TV\":\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "alias key \"TV/FarLeft\"")) << run.out;
    EXPECT_TRUE(Contains(run.out, "300")) << run.out;

    CliRun missing = RunCliCaptured({"press", ccf, "--device", "TV", "--key", "Mute"});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_TRUE(Contains(missing.err, "(its keys: FarLeft, FarRight)")) << missing.err;
    EXPECT_EQ(RunCliCaptured({"press", ccf, "--device", "TV", "--key", "Mute", "--panel", "p"}).status,
              kExitUsage);
}

// Grey -> colour -> grey gives back the grey file's decompiled text exactly (the demo's
// colour bytes are all plain pairs); the codec's conversion tests compare the pictures.
TEST_F(CmdColour, ConvertGreyToColourAndBackIsLossless)
{
    const std::string colour = Path("c.ccf"), grey = Path("g.ccf");
    CliRun up = RunCliCaptured({"convert", kDemoCcf, colour, "--model", "TSU-6000"});
    ASSERT_EQ(up.status, kExitOk) << up.err;
    EXPECT_TRUE(Contains(up.out, "for the TSU-6000")) << up.out;
    EXPECT_FALSE(Contains(up.err, "Warning: dropped")) << up.err;

    CliRun down = RunCliCaptured({"convert", colour, grey, "--model", "ts-1000"});
    ASSERT_EQ(down.status, kExitOk) << down.err;
    EXPECT_FALSE(Contains(down.err, "Warning: dropped")) << down.err;
    EXPECT_EQ(Decompile(grey, m_root / "b"), Decompile(kDemoCcf, m_root / "a"));
}

TEST_F(CmdColour, ConvertListsWhatTheTargetCannotHold)
{
    const std::string ccf = MakeOuterKeyFile(m_root / "keys");
    const std::string grey = Path("g.ccf");
    CliRun run = RunCliCaptured({"convert", ccf, grey, "--model", "RU-940"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    for (const char* dropped : {"Warning: dropped the action lists of 2 outer hard keys",
                                "Warning: dropped 2 outer hard key labels",
                                "Warning: dropped 1 actions that run an outer hard key"})
        EXPECT_TRUE(Contains(run.err, dropped)) << dropped << "\n" << run.err;

    CliRun refused = RunCliCaptured({"convert", ccf, Path("r.ccf"), "--model", "RC9200"});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_TRUE(Contains(refused.err, "RC9200")) << refused.err;
    EXPECT_FALSE(fs::exists(m_root / "r.ccf"));
    EXPECT_EQ(RunCliCaptured({"convert", ccf, grey, "--model", "TSU-9999"}).status, kExitUsage);
}

} // namespace
