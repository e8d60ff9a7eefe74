// Control bytes in names reach no terminal raw: each is written as \x and two lower-case
// hexadecimal digits.

#include "core/TerminalText.h"

#include <gtest/gtest.h>

namespace {

struct CEscapeCase
{
    const char* name;
    std::string text;
    bool keepLineBreaks;
    std::string expected;
};

class EscapeControlBytesTest : public testing::TestWithParam<CEscapeCase>
{
};

TEST_P(EscapeControlBytesTest, Escapes)
{
    EXPECT_EQ(EscapeControlBytes(GetParam().text, GetParam().keepLineBreaks), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeControlBytesTest,
    testing::Values(CEscapeCase{"Plain", "Queen - Jazz (1978)", false, "Queen - Jazz (1978)"},
                    CEscapeCase{"Escape", "\x1b[31mRed", false, "\\x1b[31mRed"},
                    CEscapeCase{"Delete",
                                "a\x7f"
                                "b",
                                false, "a\\x7fb"},
                    CEscapeCase{"NulAndUnitSeparator", std::string("a\0b\x1f", 4), false, "a\\x00b\\x1f"},
                    CEscapeCase{"CarriageReturnAndTab", "a\rb\tc", false, "a\\x0db\\x09c"},
                    CEscapeCase{"LineBreakInAName", "a\nb", false, "a\\x0ab"},
                    CEscapeCase{"LineBreakOfTheProgram", "a\nb\x1b", true, "a\nb\\x1b"},
                    // Bytes above 0x7F are text in some code page, not commands.
                    CEscapeCase{"HighBytesStay", "Bj\xf6rk \xa7", false, "Bj\xf6rk \xa7"},
                    CEscapeCase{"SpaceAndTilde", " ~", false, " ~"}),
    [](const testing::TestParamInfo<CEscapeCase>& info) { return std::string(info.param.name); });

} // namespace
