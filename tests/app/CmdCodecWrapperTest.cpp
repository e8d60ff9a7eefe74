// The codec commands go through CCFWrapper, the same path the desktop program takes:
// inspect and info of a .ccf decompile it first, and failures show the library's log.

#include "app/CliTestUtil.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
        ASSERT_FALSE(dir.Path().empty());
    }

    dwtest::CTempDir dir{"dw-cli-codec"};
};

TEST_F(CodecThroughWrapper, InspectOfACcfListsItsDevices)
{
    CliRun run = RunCliCaptured({"inspect", kGray});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out.rfind("Device \"", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\nHighest button number: "), std::string::npos) << run.out;
}

TEST_F(CodecThroughWrapper, InspectOfABrokenOrMissingCcfSaysWhy)
{
    const std::string broken = dir / "broken.CCF";
    dwtest::WriteText(broken, "this is no configuration file\n");
    CliRun run = RunCliCaptured({"inspect", broken});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(
        run.err.find("discweaver-cli: DECOMPILATION FAILED, see log for details:\nCCFDll Operation Log:\n  "),
        std::string::npos)
        << run.err;

    CliRun missing = RunCliCaptured({"inspect", dir / "missing.ccf"});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("discweaver-cli: Cannot access " + (dir / "missing.ccf")), std::string::npos)
        << missing.err;
}

TEST_F(CodecThroughWrapper, InfoDescribesARealConfiguration)
{
    CliRun run = RunCliCaptured({"info", DW_SHARED_DIR "/ccf-samples/irscrutinizer-2002-10-17.ccf"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    for (const char* line :
         {"Model: TS-1000 / RU-890 / RU-940 (capability 0x00020001)\n", "Header version: 2\n",
          "Configuration version: 2002-10-17\n", "Modified: 2002-10-17 ", "Home devices: 1\n",
          "Devices: 12\n", "Macro groups: 4\n", "Panels: 97 (57 hidden)\n", "Frames: 1215\n",
          "Buttons: 1133\n", "IR codes: 547\n", "File size: 342972 bytes\n",
          "Memory of TS-1000: 380 KB, file uses 88.1%\n", "Memory of RU-940: 1404 KB, file uses 23.9%\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    EXPECT_EQ(run.out.find("TOO LARGE"), std::string::npos);
}

TEST_F(CodecThroughWrapper, InfoOfARefusedFileSaysWhy)
{
    // The colour gallery with the RC9200's capability word, a layout the codec refuses.
    std::string bytes = dwtest::ReadText(DW_SHARED_DIR "/ccf-samples/tonto-gallery-color.ccf");
    bytes[38] = 0x0B;
    bytes[39] = 0x01;
    dwtest::WriteText(dir / "rc9200.ccf", bytes);
    CliRun run = RunCliCaptured({"info", dir / "rc9200.ccf"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("DECOMPILATION FAILED, see log for details:"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("RC9200"), std::string::npos) << run.err;
    EXPECT_EQ(RunCliCaptured({"info"}).status, kExitUsage);
}

TEST_F(CodecThroughWrapper, DecompileLeavesNoWorkAreaBehind)
{
    // Every session works in a private directory under TMPDIR and removes it.
    const std::string tmp = dir / "tmp";
    fs::create_directories(tmp);
    const char* old = std::getenv("TMPDIR");
    std::string saved = old ? old : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    CliRun run = RunCliCaptured({"decompile", kGray, dir / "g.csf"});
    if (old)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(fs::is_empty(tmp));
    EXPECT_TRUE(fs::exists(dir / "BMP"));
}

} // namespace
