#include "generate/FitText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SFitCase
{
    const char* text;
    bool font10;
    int width;
    const char* expected;
};

class FitTextCases : public ::testing::TestWithParam<SFitCase>
{
};

TEST_P(FitTextCases, CutsAsExpected)
{
    const SFitCase& c = GetParam();
    std::string text = c.text;
    FitText(text, c.font10, c.width);
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FitTextCases,
                         ::testing::Values(
                             // Exactly as wide as allowed: untouched.
                             SFitCase{"Hello World", false, 69, "Hello World"},
                             // One pixel too wide: the ellipsis replaces the end, and the result still fits.
                             SFitCase{"Hello World", false, 68, "Hello Wo..."},
                             SFitCase{"Hello World", true, 71, "Hello Wo..."},
                             // A space left before the ellipsis goes with the character that was cut.
                             SFitCase{"AB CD", false, 37, "AB..."},
                             // So do full stops ("St. Louis" cut after "St").
                             SFitCase{"St. Louis", false, 30, "St..."},
                             // Widths below 1 empty the text.
                             SFitCase{"Abba", false, 0, ""}, SFitCase{"Abba", false, -3, ""},
                             // Too narrow for one character and the ellipsis: the prefix of "H..." that fits.
                             SFitCase{"Hello", false, 20, "H.."}, SFitCase{"Hello", false, 10, "H"},
                             SFitCase{"Hello", false, 3, ""}, SFitCase{"W", false, 5, "."},
                             // The empty text always fits.
                             SFitCase{"", false, 1, ""},
                             // Accented bytes are measured by their own widths (0xE9 is 7 pixels in font 8).
                             SFitCase{"Caf\xE9", false, 31, "Caf\xE9"},
                             SFitCase{"Caf\xE9 Society", false, 40, "Caf\xE9..."}));

// Whatever the text and width, the result fits and is either the text itself or a
// beginning of it followed by (part of) an ellipsis.
TEST(FitText, ResultAlwaysFitsAndKeepsABeginning)
{
    const char* const texts[] = {"The Beatles",
                                 "Sgt. Pepper's Lonely Hearts Club Band",
                                 "   ",
                                 "....",
                                 "A",
                                 "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
                                 "x \xE9\xE9 . y",
                                 "Nine Inch Nails"};
    for (const char* original : texts) {
        for (bool font10 : {false, true}) {
            for (int width = -1; width <= 260; ++width) {
                std::string text = original;
                FitText(text, font10, width);
                const std::string context = std::string(original) + " @" + std::to_string(width);
                ASSERT_LE(GetTextWidth(text, font10), width < 0 ? 0 : width) << context;
                if (text == original)
                    continue;
                std::string stem = text;
                while (!stem.empty() && stem.back() == '.')
                    stem.pop_back();
                // The stem (text before the trailing full stops) begins the original.
                ASSERT_EQ(std::string(original).compare(0, stem.size(), stem), 0)
                    << context << " -> " << text;
                if (GetTextWidth(original, font10) > width && text.size() >= 4) {
                    ASSERT_EQ(text.substr(text.size() - 3), "...") << context;
                }
            }
        }
    }
}

} // namespace
