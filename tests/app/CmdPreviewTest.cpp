#include "common/CliRun.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using dwtest::ReadText;

class CmdPreview : public CCliTest
{
protected:
    // A jukebox whose "Play" aliases key "1", waits and jumps; and device "D" whose buttons
    // share a name, one of them in a frame, one differing in case.
    const std::string m_csf = DW_TEST_DATA_DIR "/csf/preview-cli.csf", m_png = Path("x.png");
};

TEST_F(CmdPreview, PressPrintsTheExpandedSequence)
{
    CliRun run =
        RunCliCaptured({"press", m_csf, "--device", "Jukebox", "--panel", "keys", "--button", "Play"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Pressing \"Play\" on panel \"keys\" of device \"Jukebox\":\n"
                       "  alias button \"Jukebox/keys/1\" (button 1):\n"
                       "    IR \"Digit1\"\n"
                       "  delay 700 ms\n"
                       "  jump to panel \"more\" of device \"Jukebox\"\n"
                       "ends on panel \"more\" of device \"Jukebox\"\n");
}

TEST_F(CmdPreview, PreviewWritesOnePanelOrASheetAndRefusesUnknownNames)
{
    CliRun one = RunCliCaptured(
        {"preview", m_csf, "--device", "Jukebox", "--panel", "keys", "-o", m_png, "--scale", "2"});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_TRUE(Contains(one.out, "(480x440)")) << one.out;
    CliRun sheet = RunCliCaptured({"preview", m_csf, "--device", "Jukebox", "-o", m_png});
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_TRUE(std::filesystem::exists(m_png));

    // The pressed look draws the active button's label in another level.
    std::string unselected = ReadText(m_png);
    CliRun pressed = RunCliCaptured({"preview", m_csf, "--device", "Jukebox", "-o", m_png, "--selected"});
    ASSERT_EQ(pressed.status, 0) << pressed.err;
    EXPECT_NE(ReadText(m_png), unselected);

    CliRun noDevice = RunCliCaptured({"preview", m_csf, "--device", "VCR", "-o", m_png});
    EXPECT_EQ(noDevice.status, 1);
    EXPECT_TRUE(Contains(noDevice.err, "No device \"VCR\"")) << noDevice.err;
    CliRun noPanel =
        RunCliCaptured({"press", m_csf, "--device", "Jukebox", "--panel", "x", "--button", "Play"});
    EXPECT_EQ(noPanel.status, 1);
    EXPECT_TRUE(Contains(noPanel.err, "No panel \"x\" in device \"Jukebox\"")) << noPanel.err;
}

// Buttons sharing a name: the first by default, with a note on how many there are;
// --occurrence picks another; exact names win over ones that differ in case.
struct SOccurrenceCase
{
    const char* name;
    std::vector<std::string> extra;
    int status;
    const char* out; // expected in the output
    const char* err; // expected in the error output; "" for none at all
};

class CmdPreviewOccurrence : public CmdPreview, public ::testing::WithParamInterface<SOccurrenceCase>
{
};

TEST_P(CmdPreviewOccurrence, PicksTheButtonAndSaysHowManyThereAre)
{
    const SOccurrenceCase& c = GetParam();
    std::vector<std::string> args{"press", m_csf, "--device", "D", "--panel", "P"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    CliRun run = RunCliCaptured(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_TRUE(Contains(run.out, c.out)) << run.out;
    if (*c.err) {
        EXPECT_TRUE(Contains(run.err, c.err)) << run.err;
    } else {
        EXPECT_EQ(run.err, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CmdPreviewOccurrence,
    ::testing::Values(
        SOccurrenceCase{
            "FirstOfTwo",
            {"--button", "Go"},
            0,
            "Pressing \"Go\" (1 of 2) on panel \"P\" of device \"D\":\n  IR \"First\"\n",
            "panel \"P\" has 2 buttons named \"Go\"; this was the first, --occurrence N presses another"},
        SOccurrenceCase{"SecondOfTwo",
                        {"--button", "Go", "--occurrence", "2"},
                        0,
                        "(2 of 2) on panel \"P\" of device \"D\":\n  IR \"Second\"\n",
                        ""},
        SOccurrenceCase{"ExactCaseFirst",
                        {"--button", "go"},
                        0,
                        "Pressing \"go\" on panel \"P\" of device \"D\":\n  IR \"Lower\"\n",
                        ""},
        SOccurrenceCase{"IgnoringCase",
                        {"--button", "GO", "--occurrence", "3"},
                        0,
                        "(3 of 3) on panel \"P\" of device \"D\":\n  IR \"Lower\"\n",
                        ""},
        SOccurrenceCase{"BeyondTheCount",
                        {"--button", "Go", "--occurrence", "3"},
                        1,
                        "",
                        "Panel \"P\" of device \"D\" has 2 buttons named \"Go\", not 3"},
        SOccurrenceCase{"Zero", {"--button", "Go", "--occurrence", "0"}, 2, "", "occurrence"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
