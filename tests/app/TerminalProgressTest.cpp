// The command line's progress display: stages and steps on lines of their own, and the
// codec's line reports folded into a few bar lines in a log.

#include "app/cli/TerminalProgress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(CTerminalProgressTest, ALogGetsStagesStepsAndQuarterlyBarLines)
{
    std::ostringstream out;
    CTerminalProgress progress(out, false);
    ProgressTitle(&progress, "Executing...");
    ProgressHeading(&progress, "Doing layout");
    ProgressBody(&progress, "Removing any dangling jumps");
    ProgressBody(&progress, "Removing any dangling jumps"); // unchanged: not repeated
    ProgressHeading(&progress, "Saving and compiling");
    ProgressBody(&progress, "%s", "");
    ProgressBar(&progress, 0, 8000);
    ProgressHeading(&progress, "Compiling");
    for (int line = 1001; line < 8000; line += 1001) {
        ProgressBar(&progress, static_cast<std::uint32_t>(line), CProgressSink::kNoChange);
        ProgressHeading(&progress, "Compiling line %d", line);
    }
    ProgressBody(&progress, "Writing out.ccf");
    progress.Finish();
    EXPECT_EQ(out.str(), "Executing...\n"
                         "  Doing layout\n"
                         "    Removing any dangling jumps\n"
                         "  Saving and compiling\n"
                         "  Compiling\n"
                         "  Compiling line 1001 (12%)\n"
                         "  Compiling line 2002 (25%)\n"
                         "  Compiling line 4004 (50%)\n"
                         "  Compiling line 6006 (75%)\n"
                         "    Writing out.ccf\n");
}

} // namespace
