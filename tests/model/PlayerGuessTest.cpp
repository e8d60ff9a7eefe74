// The player guessed from a device: which buttons become which roles, and what the
// validity test then says about the guess.

#include "model/PlayerGuess.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "model/Player.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A button statement with an action (so it counts for a guess) unless bare.
std::string Button(const std::string& name, int number, bool withAction = true)
{
    std::string text = "Button(\"" + name + "\",0,0,10,10," + std::to_string(number) + ")\n";
    if (withAction)
        text += "{\nAction()\n{\nBeep(1,1,1);\n}\n}\n";
    return text;
}

std::string Digits(int firstNumber)
{
    std::string text;
    for (int d = 0; d < 10; ++d)
        text += Button(std::to_string(d), firstNumber + d);
    return text;
}

struct CGuess
{
    std::unique_ptr<CCSFSection> root;
    CCSFAbstractTree tree;
    CPlayer player;
};

std::unique_ptr<CGuess> GuessFrom(const std::string& deviceBody)
{
    std::string text = "CCF()\n{\nDevice(\"Juke\")\n{\n" + deviceBody + "}\n}\n";
    auto guess = std::make_unique<CGuess>();
    CErrorRecord errors;
    guess->root = ParseCsfText(text.data(), text.size(), &errors);
    EXPECT_TRUE(guess->root) << GetText(&errors);
    if (!guess->root || !guess->tree.Build(&errors, guess->root.get()) || guess->tree.GetCount() != 1) {
        ADD_FAILURE() << GetText(&errors);
        return guess;
    }
    GuessPlayer(*guess->tree.GetFirst(), guess->player);
    return guess;
}

std::string Describe(const CCSFButtonPath* path)
{
    return path ? path->GetDescription() : "";
}

struct CGuessCase
{
    const char* name;
    std::string body;
    const char* before;   // description of the guessed before-disc button, "" for none
    const char* after;    // ... after-disc button
    const char* validity; // "" for a valid guess
    const char* jump;     // description of the jump panel, "" for none
    const char* digits;   // the panel all ten digits are guessed on, null when not looked at
};

class PlayerGuessRoles : public ::testing::TestWithParam<CGuessCase>
{
};

TEST_P(PlayerGuessRoles, PicksTheFirstUsableNameOfEachRole)
{
    const CGuessCase& c = GetParam();
    auto guess = GuessFrom(c.body);
    EXPECT_STREQ(guess->player.GetName().GetPlain(), "Juke");
    EXPECT_EQ(Describe(guess->player.GetButton(EPlayerButton::BeforeDisc)), c.before);
    EXPECT_EQ(Describe(guess->player.GetButton(EPlayerButton::AfterDisc)), c.after);
    EXPECT_EQ(guess->player.GetJumpPanel() ? std::string(guess->player.GetJumpPanel()->GetDescription()) : "",
              c.jump);
    for (int digit = 0; c.digits && digit < 10; ++digit)
        EXPECT_EQ(Describe(guess->player.GetNumberButton(digit)),
                  "Juke, " + std::string(c.digits) + ", " + std::to_string(digit));
    CErrorRecord errors;
    bool valid = guess->player.IsValid(&errors);
    EXPECT_EQ(valid, std::string(c.validity).empty());
    if (!valid) {
        EXPECT_STREQ(GetText(&errors), c.validity);
    }
}

const std::string kPlay87 = std::string(1, static_cast<char>(0x87));

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerGuessRoles,
    ::testing::Values(
        CGuessCase{"DiscAndEnter",
                   "Panel(\"Keys\")\n{\n" + Digits(1) + Button("Disc", 20) + Button("Enter", 21) + "}\n",
                   "Juke, Keys, Disc", "Juke, Keys, Enter", "", "Juke, Keys", "Keys"},
        // "Disc" wins over "Disk" and "Enter" over "Play" wherever they stand.
        CGuessCase{"PreferenceOrderNotPanelOrder",
                   "Panel(\"A\")\n{\n" + Digits(1) + Button("Disk", 20) + Button("Play", 21) +
                       "}\nPanel(\"B\")\n{\n" + Button("DISC", 22) + Button("enter", 23) + "}\n",
                   "Juke, B, DISC", "Juke, B, enter", "", "Juke, A", "A"},
        CGuessCase{"DiskAndPlay",
                   "Panel(\"Keys\")\n{\n" + Digits(1) + Button("disk", 20) + Button("PLAY", 21) + "}\n",
                   "Juke, Keys, disk", "Juke, Keys, PLAY", "", "Juke, Keys", nullptr},
        // The play symbol is the last choice after "Enter" and "Play".
        CGuessCase{"PlaySymbol", "Panel(\"Keys\")\n{\n" + Digits(1) + Button(kPlay87, 21) + "}\n", "",
                   "Juke, Keys, \x87", "", "Juke, Keys", nullptr},
        // The digits lie on the second panel, the jump panel is the first; an aliased "5"
        // loses to a plain one.
        CGuessCase{"DigitsAndJumpPanelFromTheDevice",
                   "Panel(\"Home\")\n{\n}\nPanel(\"Keys\")\n{\n" + Digits(1) +
                       "}\nPanel(\"More\")\n{\nButton(\"5\",0,0,1,1,40)\n{\nAction()\n{\n"
                       "AliasDeviceKey(\"Juke\",\"Mute\");\n}\n}\n}\n",
                   "", "", "", "Juke, Home", "Keys"},
        // A button without an action does not count, nor one whose name its panel repeats.
        CGuessCase{"NoActionOrSharedName",
                   "Panel(\"Keys\")\n{\n" + Digits(1) + Button("Disc", 20, false) + Button("Enter", 21) +
                       Button("Enter", 22) + "}\n",
                   "", "", "", "Juke, Keys", nullptr},
        CGuessCase{"DigitWithoutActionIsMissing",
                   "Panel(\"Keys\")\n{\n" + Button("0", 1) + Button("1", 2) + Button("2", 3, false) + "}\n",
                   "", "", "player \"Juke\" has no #2 button", "Juke, Keys", nullptr},
        CGuessCase{"NoPanels", "", "", "", "player \"Juke\" has no #0 button", "", nullptr}),
    [](const ::testing::TestParamInfo<CGuessCase>& info) { return std::string(info.param.name); });

} // namespace
