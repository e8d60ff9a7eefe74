#include "core/NextToken.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ScanOptions
{
    const char* separators = ",";
    const char* terminators = nullptr;
    bool skipRepeated = false;
    bool quotes = true;
    bool doubled = true;
};

std::vector<std::string> Fields(const char* text, ScanOptions o = {})
{
    std::vector<std::string> out;
    std::string buffer(std::string(text).size() + 1, '\0');
    const char* p = text;
    while (NextToken(&p, o.separators, o.terminators, buffer.data(), buffer.size(), o.skipRepeated, o.quotes,
                     o.doubled))
        out.emplace_back(buffer.c_str());
    return out;
}

using V = std::vector<std::string>;

struct TokenCase
{
    const char* name;
    const char* input;
    ScanOptions options;
    V expected;
};

class NextTokenTable : public ::testing::TestWithParam<TokenCase>
{
};

TEST_P(NextTokenTable, YieldsFields)
{
    const TokenCase& c = GetParam();
    EXPECT_EQ(Fields(c.input, c.options), c.expected);
}

ScanOptions Csf()
{
    ScanOptions o;
    o.terminators = ")";
    o.doubled = false;
    return o;
}
ScanOptions Skip()
{
    ScanOptions o;
    o.separators = " ,";
    o.skipRepeated = true;
    return o;
}
ScanOptions NoQuotes()
{
    ScanOptions o;
    o.quotes = false;
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Scanner, NextTokenTable,
    ::testing::Values(TokenCase{"QuotedSeparator", "1, \"Smith, John\" ,x", {}, V{"1", "Smith, John", "x"}},
                      TokenCase{"TrailingSeparator", "a,b,", {}, V{"a", "b", ""}},
                      TokenCase{"EmptyInput", "", {}, V{""}},
                      TokenCase{"AdjacentSeparators", "a,,b", {}, V{"a", "", "b"}},
                      TokenCase{"SkipRepeated", "  a ,, ,b", Skip(), V{"a", "b"}},
                      TokenCase{"DoubledQuotes", "\"say \"\"hi\"\"\",2", {}, V{"say \"hi\"", "2"}},
                      TokenCase{"QuoteEndsWithoutDoubling", "\"say \"\"hi\"\"\",2", Csf(), V{"say ", "2"}},
                      TokenCase{"TextAfterQuoteDropped", "\"ab\"cd,e", {}, V{"ab", "e"}},
                      TokenCase{"UnclosedQuoteRunsToEnd", "\"abc, def", {}, V{"abc, def"}},
                      TokenCase{"BlanksTrimmedOutsideQuotes", " \t a b \t, \" c \" ", {}, V{"a b", " c "}},
                      TokenCase{"TerminatorEndsInput", "a,b) ,c", Csf(), V{"a", "b"}},
                      TokenCase{"QuotedTerminatorKept", "\"a,)b\",c)", Csf(), V{"a,)b", "c"}},
                      TokenCase{"TerminatorAfterQuote", "\"x\" junk ) ,y", Csf(), V{"x"}},
                      TokenCase{"QuotesNotAllowed", "\"a,b\"", NoQuotes(), V{"\"a", "b\""}},
                      TokenCase{"HighBytesAreNotBlank", "\xa0x\xa0,y", {}, V{"\xa0x\xa0", "y"}}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

TEST(NextToken, LongFieldIsCutButCursorMovesPastIt)
{
    const char* p = "abcdefgh,ij";
    char buf[4];
    ASSERT_TRUE(NextToken(&p, ",", nullptr, buf, sizeof buf, false, true, true));
    EXPECT_STREQ(buf, "abc");
    ASSERT_TRUE(NextToken(&p, ",", nullptr, buf, sizeof buf, false, true, true));
    EXPECT_STREQ(buf, "ij");
}

} // namespace
