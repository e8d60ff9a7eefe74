#include "csf/CSFSection.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<CCSFSection> Parse(const std::string& text, CErrorRecord* errors = nullptr)
{
    return ParseCsfText(text.data(), text.size(), errors);
}

std::vector<std::string> ChildTexts(const CCSFSection* node)
{
    std::vector<std::string> texts;
    for (const CCSFSection* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
        texts.emplace_back(c->GetText() != nullptr ? c->GetText() : "<none>");
    return texts;
}

using V = std::vector<std::string>;

// ---- ReadLines -------------------------------------------------------------------------

TEST(CSFReadLines, TrimsAndDropsBlankAndCommentLines)
{
    std::string text = "  a  \r\n\t\n// comment\n   // indented comment\nb // trailing\r\n\n/x\nlast";
    CCSFLineList lines;
    CCSFSection::ReadLines(text.data(), text.size(), lines);
    V got;
    for (const CCSFLine& l : lines)
        got.emplace_back(l.text, l.length);
    EXPECT_EQ(got, (V{"a", "b // trailing", "/x", "last"}));
    EXPECT_EQ(lines.begin()[1].number, 5u);
}

// ---- Parse -----------------------------------------------------------------------------

struct ParseFailure
{
    const char* name;
    const char* text;
    const char* message;
};

class CSFParseFailures : public ::testing::TestWithParam<ParseFailure>
{
};

TEST_P(CSFParseFailures, RecordsTheParserMessage)
{
    CErrorRecord errors;
    EXPECT_FALSE(Parse(GetParam().text, &errors));
    EXPECT_STREQ(GetText(&errors), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CSFParseFailures,
    ::testing::Values(
        ParseFailure{"OnlyComments", "// a\n\n   \n", "End of input CSF file reached unexpectedly\n"},
        ParseFailure{"UnclosedInnerBlock", "Root()\n{\nA()\n{\nB()\n}\n",
                     "End of input CSF file reached unexpectedly\n"},
        ParseFailure{"StrayBrace", "Root()\n{\nA()\n{\n}\n{\n}\n}\n", "Unexpected '{' in input CSF file\n"},
        ParseFailure{"BraceAfterBlock", "Root()\n{\n{\n}\n", "Unexpected '{' in input CSF file\n"}),
    [](const ::testing::TestParamInfo<ParseFailure>& info) { return std::string(info.param.name); });

TEST(CSFParse, RefusesHostileNesting)
{
    std::string text;
    for (unsigned i = 0; i < kMaxCsfNesting + 5; ++i)
        text += "N()\n{\n";
    CErrorRecord errors;
    EXPECT_FALSE(Parse(text, &errors));
    EXPECT_STREQ(GetText(&errors), "CSF blocks are nested more than 256 deep\n");
    std::string deepest;
    for (unsigned i = 0; i < kMaxCsfNesting; ++i)
        deepest += "N()\n{\n";
    for (unsigned i = 0; i < kMaxCsfNesting; ++i)
        deepest += "}\n";
    EXPECT_TRUE(Parse(deepest)) << "nesting up to the bound is fine";
}

TEST(CSFParse, EveryPrefixOfAFileParsesOrFailsCleanly)
{
    std::string text = "CCF()\n{\nDevice(\"TV\")\n{\nPanel(\"Main\")\n{\nButton(\"Play\",0,0,10,10,3)\n{\n"
                       "Action()\n{\nJumpDevicePanel(\"this\",\"Main\");\n}\n}\n}\n}\n}\n";
    for (std::size_t n = 0; n <= text.size(); ++n) {
        CErrorRecord errors;
        auto root = Parse(text.substr(0, n), &errors);
        EXPECT_EQ(root == nullptr, HasError(&errors)) << n;
    }
}

// ---- structure -------------------------------------------------------------------------

// ---- recognisers -----------------------------------------------------------------------

TEST(CSFRecognisers, ButtonsGiveTheirNameAndSixthArgument)
{
    const struct
    {
        const char* text;
        bool isButton;
        const char* name;
        unsigned number;
    } cases[] = {{"button(\"Play\", 1, 2, 3, 4, 7)", true, "Play", 7},
                 {"Button(\"Play\",1,2,3,4,42) /* Button 42 */", true, "Play", 42},
                 {"Button(\"a,b)c\",1,2,3,4,5)", true, "a,b)c", 5},
                 {"Button(\"Play\",1,2,3,4)", false, "", 0},
                 {"Button(\"Play\",1,2,3,4,0)", false, "", 0},
                 {"Button(\"Play\",1,2,3,4,x)", false, "", 0},
                 {"Button(\"Play\",1,2) ,3,4,5)", false, "", 0},
                 {"Button(\"\",1,2,3,4,9)", true, "", 9},
                 {"Button(Plain name ,1,2,3,4, 12 )", true, "Plain name", 12},
                 {"Buttons(\"Play\",1,2,3,4,7)", false, "", 0},
                 {" Button(\"Play\",1,2,3,4,7)", false, "", 0}};
    for (const auto& c : cases) {
        CCSFSection node;
        node.SetText(c.text);
        std::string name = "stale";
        std::uint32_t number = 99;
        EXPECT_EQ(node.IsButtonStatement(&name, &number), c.isButton) << c.text;
        EXPECT_EQ(name, c.name) << c.text;
        EXPECT_EQ(number, c.number) << c.text;
    }
}

// Inside a device "this" names it (the dangling-jump table shows that); outside any
// device there is nothing to name.
TEST(CSFRecognisers, ThisOutsideADeviceStaysThis)
{
    auto root = Parse("CCF()\n{\nJumpDevicePanel(\"this\",\"X\")\n}\n");
    std::string device, panel;
    EXPECT_TRUE(root->GetFirstChild()->IsJumpStatement(&device, &panel));
    EXPECT_EQ(device, "this");
}

// ---- writer and builders ---------------------------------------------------------------

TEST(CSFWrite, RoundTripsWithTabsAndDropsEmptySubtrees)
{
    auto root = Parse("Root()\n{\n// gone\nA()\n{\n  B()  \n}\n\nC()\n}\nignored()\n");
    ASSERT_TRUE(root);
    CCSFSection* empty = root->AddChild();
    empty->AddChildText("Lost()");
    CCSFSection* blank = root->AddChildText("");
    blank->AddChildText("AlsoLost()");
    unsigned lines = 0;
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(root->Write(f, &lines, 0));
    std::fclose(f);
    EXPECT_EQ(lines, 8u);
    EXPECT_EQ(root->WriteToString(), "Root()\n{\n\tA()\n\t{\n\t\tB()\n\t}\n\tC()\n}\n");
    auto again = Parse(root->WriteToString());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->WriteToString(), root->WriteToString());
}

TEST(CSFWrite, FullDiskIsReported)
{
    std::FILE* f = std::fopen("/dev/full", "w");
    if (f == nullptr)
        GTEST_SKIP() << "/dev/full not available";
    std::string text = "R()\n{\n";
    for (int i = 0; i < 10000; ++i)
        text += "Statement()\n";
    text += "}\n";
    auto root = Parse(text);
    EXPECT_FALSE(root->Write(f, nullptr, 0));
    std::fclose(f);
}

TEST(CSFParseFile, MissingFileNamesThePath)
{
    CErrorRecord errors;
    EXPECT_FALSE(ParseCsfFile("/nonexistent/x.csf", &errors));
    EXPECT_EQ(std::string(GetText(&errors)).rfind("Unable to read /nonexistent/x.csf: ", 0), 0u)
        << GetText(&errors);
}

TEST(CSFBuilders, ButtonsNumberAboveTheHighest)
{
    auto root = Parse("R()\n{\nButton(\"x\",0,0,1,1,41)\n}\n");
    root->UpdateHighestButtonNumber();
    CCSFSection* action = nullptr;
    CCSFSection* b1 = root->AddButton("One", 0, 40, 120, 20, 8, 2, "BMP\\Item.bmp", &action);
    CCSFSection* b2 = root->AddButton(nullptr, 120, 40, 120, 20, 10, 7, "", nullptr);
    EXPECT_STREQ(b1->GetText(), "Button(\"One\",0,40,120,20,42) /* Button 42 */");
    EXPECT_STREQ(b2->GetText(), "Button(\"\",120,40,120,20,43) /* Button 43 */");
    EXPECT_EQ(ChildTexts(b1),
              (V{"ActiveUnselectedColor(LightGray,LightGray);", "ActiveSelectedColor(LightGray,LightGray);",
                 "Font(8);", "ActiveIcons(\"BMP\\Item.bmp\");", "Action()"}));
    EXPECT_EQ(ChildTexts(b2)[0], "ActiveUnselectedColor(LightGray,Black);");
    ASSERT_NE(action, nullptr);
    EXPECT_STREQ(action->GetText(), "Action()");
    EXPECT_EQ(root->GetHighestButtonNumber(), 43u);
}

} // namespace
