#include "preview/ActionExpansion.h"

#include "PreviewTestUtil.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// A jukebox device with digit keys, and a generated page whose track button plays disc
// 12, waits, then plays track 03 and jumps on, as the generator writes it.
const std::string kJukebox = DW_TEST_DATA_DIR "/csf/press-world.csf";

std::string Sequence(const SPressResult& result)
{
    std::string out;
    for (const SPressStep& step : result.steps) {
        if (step.kind == EPressStepKind::IR)
            out += step.text + " ";
        else if (step.kind == EPressStepKind::Delay)
            out += std::to_string(step.delayMs) + "ms ";
        else if (step.kind == EPressStepKind::Jump)
            out += "->" + step.device + "/" + step.panel + " ";
    }
    return out;
}

class ActionExpansion : public ::testing::Test
{
protected:
    std::unique_ptr<CCSFSection> root = ParseCsf(dwtest::ReadText(kJukebox));
    CActionExpander expander{root.get()};
    SPressResult result;
};

TEST_F(ActionExpansion, TrackButtonSendsDiscDelayAndTrackDigitsInOrder)
{
    CErrorRecord errors;
    ASSERT_TRUE(expander.Press("Jazz", "A0", "Track 3", result, &errors)) << GetText(&errors);
    EXPECT_EQ(Sequence(result), "Digit1 300ms Digit2 2000ms Digit0 300ms Digit3 ->Jazz/A1 ");
    EXPECT_EQ(result.endDevice, "Jazz");
    EXPECT_EQ(result.endPanel, "A1");
    // The followed aliases are listed with the steps they stand for one level deeper.
    ASSERT_GE(result.steps.size(), 2u);
    EXPECT_EQ(result.steps[0].kind, EPressStepKind::Alias);
    EXPECT_EQ(result.steps[1].depth, 1u);
}

TEST_F(ActionExpansion, NamesMatchIgnoringCaseWhenNoExactMatch)
{
    ASSERT_TRUE(expander.Press("jazz", "a0", "key", result, nullptr));
    EXPECT_EQ(Sequence(result), "Digit1 ");
    EXPECT_EQ(result.steps.back().text, "Beep(100,2000,50);");
    EXPECT_EQ(result.endPanel, "A0"); // no jump: stays where it was pressed
}

struct SFailure
{
    const char* button;
    const char* message;
};

class ActionExpansionFailure : public ActionExpansion, public ::testing::WithParamInterface<SFailure>
{
};

TEST_P(ActionExpansionFailure, StopsWithMessage)
{
    CErrorRecord errors;
    EXPECT_FALSE(expander.Press("Jazz", "A0", GetParam().button, result, &errors));
    EXPECT_NE(std::string(GetText(&errors)).find(GetParam().message), std::string::npos) << GetText(&errors);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ActionExpansionFailure,
    ::testing::Values(SFailure{"Loop", "Alias loop: button 11 -> button 12 -> key Jazz/Vol- -> button 11"},
                      SFailure{"Missing", "Alias to a missing button 99"},
                      SFailure{"Nothing", "No button \"Nothing\" on panel \"A0\" of device \"Jazz\""}));

TEST(StatementArguments, SplitOutsideQuotes)
{
    auto args = SplitStatementArguments("IR(\"a,b\", \"0000 006D\"); /* x(y) */");
    ASSERT_EQ(args.size(), 2u);
    EXPECT_EQ(args[0], "a,b");
    EXPECT_EQ(args[1], "0000 006D"); // blanks are dropped outside quotes only
}

} // namespace
