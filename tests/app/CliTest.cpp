#include "app/CliTestUtil.h"
#include "core/Version.h"

#include <gtest/gtest.h>

namespace {

TEST(Cli, VersionAndUsage)
{
    CliRun v = RunCliCaptured({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, std::string("discweaver-cli ") + DwVersionText() + "\n");

    CliRun bad = RunCliCaptured({"--no-such-option"});
    EXPECT_EQ(bad.status, kExitUsage);
    EXPECT_NE(bad.err.find("--help"), std::string::npos);

    CliRun help = RunCliCaptured({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage"), std::string::npos);
}

} // namespace
