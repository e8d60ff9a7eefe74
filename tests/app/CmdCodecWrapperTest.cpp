// The codec commands go through CCFWrapper, the same path the desktop program takes:
// inspect and info of a .ccf decompile it first, and failures show the library's log.

#include "app/CliTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const char kLibrary[] = DW_BIN_DIR "/libCCFDll.so";
const char kGray[] = DW_SHARED_DIR "/ccf-samples/tonto-gallery-gray.ccf";

class CodecThroughWrapper : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::exists(kLibrary))
            GTEST_SKIP() << "libCCFDll.so has not been built";
        dir = fs::temp_directory_path() / ("dw_cli_codec_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    fs::path dir;
};

TEST_F(CodecThroughWrapper, InspectOfACcfListsItsDevices)
{
    CliRun run = RunCliCaptured({"inspect", kGray});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out.rfind("Device \"", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nHighest button number: "), std::string::npos) << run.out;
}

TEST_F(CodecThroughWrapper, InspectOfABrokenCcfShowsTheLog)
{
    fs::path broken = dir / "broken.CCF";
    std::ofstream(broken) << "this is no configuration file\n";
    CliRun run = RunCliCaptured({"inspect", broken.string()});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("discweaver-cli: DECOMPILATION FAILED, see log for details:\nCCFDll Operation Log:\n  "),
              std::string::npos)
        << run.err;
}

TEST_F(CodecThroughWrapper, InspectOfAMissingCcfNamesIt)
{
    CliRun run = RunCliCaptured({"inspect", (dir / "missing.ccf").string()});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_NE(run.err.find("discweaver-cli: Cannot access " + (dir / "missing.ccf").string()), std::string::npos)
        << run.err;
}

} // namespace
