#include "core/NameText.h"
#include "ccfdll/CsfSyntax.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The codec escapes names on its own; both escapers must agree on every byte.
TEST(NameText, EscapingAgreesWithTheCodecOnEveryByte)
{
    int safe = 0;
    for (int c = 1; c < 256; ++c) {
        const char plain[2] = {static_cast<char>(c), 0};
        const std::string escaped = EscapeCsf(plain);
        EXPECT_EQ(escaped, CsfEscape(plain)) << "byte " << c;
        EXPECT_EQ(UnescapeCsf(escaped.c_str()), plain) << "byte " << c;
        safe += escaped == plain;
    }
    EXPECT_EQ(safe, 91);
    EXPECT_EQ(EscapeCsf("My_Disc/1"), "My\\x5fDisc\\x2f1");
}

struct UnescapeCase
{
    const char* escaped;
    const char* plain;
};

class UnescapeOnly : public ::testing::TestWithParam<UnescapeCase>
{
};

TEST_P(UnescapeOnly, DecodesOnlyCompleteSequences)
{
    EXPECT_EQ(UnescapeCsf(GetParam().escaped), GetParam().plain);
    EXPECT_EQ(CsfUnescape(GetParam().escaped), GetParam().plain) << "the codec reads names the same way";
}

INSTANTIATE_TEST_SUITE_P(NameText, UnescapeOnly,
                         ::testing::Values(UnescapeCase{"\\x41", "A"}, UnescapeCase{"\\X41", "A"},
                                           UnescapeCase{"\\x4a\\x4A", "JJ"}, UnescapeCase{"\\x4", "\\x4"},
                                           UnescapeCase{"\\x4g", "\\x4g"}, UnescapeCase{"\\x", "\\x"},
                                           UnescapeCase{"\\", "\\"}, UnescapeCase{"a\\nb", "a\\nb"},
                                           UnescapeCase{"\\\\x41", "\\A"}, UnescapeCase{"x41", "x41"}));

TEST(NameText, DisplayFormMasksNonPrintableBytes)
{
    EXPECT_EQ(MakeDisplayText("caf\xe9\t!"), "caf**!");
    CNameText name;
    name.SetPlain("caf\xe9");
    EXPECT_STREQ(name.GetDisplay(), "caf*");
}

TEST(NameText, FormsFollowWhicheverWasSet)
{
    CNameText name;
    name.SetEscaped("A\\x5fB");
    EXPECT_STREQ(name.GetPlain(), "A_B");
    EXPECT_STREQ(name.GetEscaped(), "A\\x5fB");
    // Setting the other form replaces everything.
    name.SetPlain("C/D");
    EXPECT_STREQ(name.GetEscaped(), "C\\x2fD");
    EXPECT_STREQ(name.GetDisplay(), "C/D");
    // An escaped input that escapes a safe character is written back as it came.
    name.SetEscaped("\\x41");
    EXPECT_STREQ(name.GetPlain(), "A");
    EXPECT_STREQ(name.GetEscaped(), "\\x41");
    // Copies are independent values.
    CNameText copy = name;
    name.SetPlain("other");
    EXPECT_STREQ(copy.GetPlain(), "A");
}

TEST(NameText, CompareNames)
{
    CNameText none, none2, a = CNameText::FromPlain("A"), abc = CNameText::FromPlain("abc"),
                           ABC = CNameText::FromPlain("ABC"), high = CNameText::FromPlain("\xe9"),
                           z = CNameText::FromPlain("z");
    EXPECT_EQ(none.CompareNames(none2, false), 0);
    EXPECT_LT(none.CompareNames(a, false), 0);
    EXPECT_GT(a.CompareNames(none, true), 0);
    EXPECT_EQ(abc.CompareNames(ABC, false), 0);
    EXPECT_GT(abc.CompareNames(ABC, true), 0) << "'a' > 'A' as bytes";
    // Bytes compare unsigned: 0xE9 sorts after every ASCII letter.
    EXPECT_GT(high.CompareNames(z, true), 0);
    EXPECT_GT(high.CompareNames(z, false), 0);
    // Letters fold to lower case, so "_" (0x5F) sorts before every letter.
    EXPECT_LT(CompareNoCase("_", "Z"), 0);
    EXPECT_LT(CompareNoCase("_", "a"), 0);
}

} // namespace
