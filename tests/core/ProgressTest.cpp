#include "core/Progress.h"
#include "core/Startup.h"

#include "common/RecordingSink.h"
#include "common/TempAreaTest.h"
#include "core/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dwtest::CRecordingSink;

TEST(Progress, LongTextsAreCutTo1023)
{
    CRecordingSink sink;
    std::string huge(3000, 'b');
    ProgressBody(&sink, "%s", huge.c_str());
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_EQ(sink.calls[0], "body=" + huge.substr(0, 1023) + " ");
}

using StartupTest = dwtest::CTempAreaTest;

TEST_F(StartupTest, StartupTaskRunsEveryStepAndKeepsTheFirstFailure)
{
    CDWConfig config;
    config.SetExecutablePath("discweaver"); // no directory: no config area can be found
    CRecordingSink sink;
    CErrorRecord errors;
    SetMessage(&errors, "stale");
    CWarningList warnings{"stale"};
    bool codecAsked = false;
    CStartupOutcome outcome =
        RunStartupTask(config, &sink, &errors, &warnings, [&](CProgressSink*, CErrorRecord* e) {
            codecAsked = true;
            SetMessage(e, "Cannot load CCFDll");
            return false;
        });
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.codecFailed);
    EXPECT_TRUE(codecAsked) << "the codec is loaded even when the settings failed";
    EXPECT_STREQ(GetText(&errors), "GetParentPath(discweaver) failed");
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(sink.calls.front(), "title=Discweaver is starting... ");
    EXPECT_NE(std::find(sink.calls.begin(), sink.calls.end(), "heading=Loading CCFDll "), sink.calls.end());
    EXPECT_EQ(sink.calls.back(), "failed ");
}

} // namespace
