// The lexical layer of the CSF dialect: statement splitting, bad texts, nesting, numbers.

#include "ccfdll/CsfSyntax.h"

#include <gtest/gtest.h>

namespace {

struct CCallCase
{
    const char* text;
    const char* keyword;
    std::vector<std::string> args; // quoted ones written with their quotes
};

class CsfCallSplitting : public testing::TestWithParam<CCallCase>
{
};

TEST_P(CsfCallSplitting, GivesKeywordAndArguments)
{
    const CCallCase& c = GetParam();
    CCsfCall call;
    std::string reason;
    ASSERT_TRUE(SplitCsfCall(c.text, call, reason)) << c.text << ": " << reason;
    EXPECT_EQ(call.keyword, c.keyword);
    std::vector<std::string> args;
    for (const CCsfArg& a : call.args)
        args.push_back(a.quoted ? "\"" + std::string(a.text) + "\"" : std::string(a.text));
    EXPECT_EQ(args, c.args) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Statements, CsfCallSplitting,
    testing::Values(
        CCallCase{"Font(0)", "Font", {"0"}}, CCallCase{"Mute()", "Mute", {}},
        CCallCase{"IsHidden()", "IsHidden", {}}, CCallCase{"Vol-()", "Vol-", {}},
        CCallCase{"TextColor(Black);", "TextColor", {"Black"}},
        CCallCase{"JumpDevicePanel(\"Jazz\", \"A0\");", "JumpDevicePanel", {"\"Jazz\"", "\"A0\""}},
        CCallCase{"Button(\"a,b)c\",0,204,120,15,42) /* Button 42 */",
                  "Button",
                  {"\"a,b)c\"", "0", "204", "120", "15", "42"}},
        CCallCase{"AliasDeviceButton(\"TV\",\"Main\",\"Power\",7); /* Reference to Button 7 */",
                  "AliasDeviceButton",
                  {"\"TV\"", "\"Main\"", "\"Power\"", "7"}},
        CCallCase{"Frame(\"\", -8 , 3,10,10) // trailing", "Frame", {"\"\"", "-8", "3", "10", "10"}},
        CCallCase{"RawAction(9,,0x1)", "RawAction", {"9", "", "0x1"}},
        CCallCase{"Icon(\"BMP\\ArtistHeader.bmp\");", "Icon", {"\"BMP\\ArtistHeader.bmp\""}}));

struct CBadText
{
    const char* text;
    std::uint32_t line;
    const char* reason;
};

class CsfBadTexts : public testing::TestWithParam<CBadText>
{
};

TEST_P(CsfBadTexts, AreRefusedWithTheirLine)
{
    CCsfStatement root;
    CCcfError error;
    EXPECT_FALSE(ParseCsfStatements(GetParam().text, root, &error));
    EXPECT_EQ(error.where, CCcfError::Where::Line);
    EXPECT_EQ(error.position, GetParam().line) << error.Text();
    EXPECT_NE(error.reason.find(GetParam().reason), std::string::npos) << error.Text();
}

INSTANTIATE_TEST_SUITE_P(Texts, CsfBadTexts,
                         testing::Values(CBadText{"", 1, "no statement"},
                                         CBadText{"// only\n\n", 2, "no statement"},
                                         CBadText{"CCF()\n{\nDevice(\"a\")\n{\n}\n", 1, "not closed"},
                                         CBadText{"CCF()\n{\n{\n}\n}\n", 3, "unexpected \"{\""},
                                         CBadText{"CCF()\n{\n}\nDevice(\"x\")\n", 4, "after the end"}));

TEST(CsfStatements, NestingIsBounded)
{
    std::string text;
    for (int i = 0; i < kCsfMaxDepth + 5; ++i)
        text += "Frame(\"\",0,0,1,1)\n{\n";
    CCsfStatement root;
    CCcfError error;
    EXPECT_FALSE(ParseCsfStatements(text, root, &error));
    EXPECT_NE(error.reason.find("nested deeper"), std::string::npos);
}

TEST(CsfNumbers, RangesAndForms)
{
    std::uint64_t u = 0;
    EXPECT_TRUE(CsfParseUnsigned("0x00020001", 0xFFFFFFFFu, u));
    EXPECT_EQ(u, 0x20001u);
    EXPECT_TRUE(CsfParseUnsigned(" 255 ", 255, u));
    EXPECT_FALSE(CsfParseUnsigned("256", 255, u));
    EXPECT_FALSE(CsfParseUnsigned("-1", 255, u));
    EXPECT_FALSE(CsfParseUnsigned("0x", 255, u));
    EXPECT_FALSE(CsfParseUnsigned("99999999999999999999999", 0xFFFFFFFFu, u));
    std::int64_t s = 0;
    EXPECT_TRUE(CsfParseSigned("-32768", -32768, 32767, s));
    EXPECT_EQ(s, -32768);
    EXPECT_TRUE(CsfParseSigned("+12", -32768, 32767, s));
    EXPECT_EQ(s, 12);
    EXPECT_FALSE(CsfParseSigned("-32769", -32768, 32767, s));
    EXPECT_FALSE(CsfParseSigned("32768", -32768, 32767, s));
    std::uint8_t level = 9;
    EXPECT_TRUE(CsfParseLevel("lightgrey", level));
    EXPECT_EQ(level, 2);
    EXPECT_FALSE(CsfParseLevel("Grey", level));
    EXPECT_EQ(CsfFindKey("CHAN+"), 5);
    EXPECT_EQ(CsfFindKey("Channel+"), -1);
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(CsfParseHex("0000 006D 0a", bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 0, 0, 0x6D, 0x0A}));
    EXPECT_FALSE(CsfParseHex("000", bytes));
    EXPECT_FALSE(CsfParseHex("0G", bytes));
}

} // namespace
