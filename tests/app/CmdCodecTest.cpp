// decompile, compile, inspect and info through the wrapper and libCCFDll.so beside the
// executable, the path the desktop program takes. The codec's rules are tested in the
// codec; here the commands' wiring: exit status, what they print, what they leave behind.

#include "DemoAreaCli.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

const std::string& kBig = dwtest::kBigCcf;

class CmdCodec : public CCliTest
{
protected:
    void SetUp() override
    {
        if (!dwtest::HaveCodec())
            GTEST_SKIP() << "libCCFDll.so has not been built";
        CCliTest::SetUp();
    }
};

TEST_F(CmdCodec, DecompileAndCompile)
{
    const std::string csf = Path("x.csf"), ccf = Path("x.ccf");
    CliRun d = RunCliCaptured({"decompile", kBig, csf});
    ASSERT_EQ(d.status, kExitOk) << d.err;
    EXPECT_EQ(d.out, "Decompiled " + kBig + " into " + csf + "\n");

    CliRun c = RunCliCaptured({"compile", csf, ccf});
    ASSERT_EQ(c.status, kExitOk) << c.err;
    EXPECT_EQ(std::filesystem::file_size(ccf), std::filesystem::file_size(kBig));
    CliRun z = RunCliCaptured({"compile", csf, Path("z.ccf"), "--compress-images"});
    ASSERT_EQ(z.status, kExitOk) << z.err;
    EXPECT_LT(fs::file_size(Path("z.ccf")), fs::file_size(ccf));
}

TEST_F(CmdCodec, FailuresSayWhyExitNonZeroAndWriteNothing)
{
    WriteFile(Path("broken.CCF"), "this is no configuration file\n");
    for (const char* command : {"inspect", "info"}) {
        CliRun run = RunCliCaptured({command, Path("broken.CCF")});
        EXPECT_EQ(run.status, kExitFailure) << command;
        EXPECT_EQ(run.out, "") << command;
        EXPECT_TRUE(Contains(run.err, "discweaver-cli: DECOMPILATION FAILED, see log for details:\n"
                                      "CCFDll Operation Log:\n  "))
            << run.err;
    }
    WriteFile(Path("bad.csf"),
              "CCF()\n{\n\tDevice(\"A\")\n\t{\n\t\tMute()\n\t\t{\n\t\t\tDelay(x);\n\t\t}\n\t}\n}\n");
    CliRun compile = RunCliCaptured({"compile", Path("bad.csf"), Path("bad.ccf")});
    EXPECT_EQ(compile.status, kExitFailure);
    EXPECT_TRUE(Contains(compile.err, "line 7: \"x\" is not a number")) << compile.err;
    EXPECT_FALSE(FileExists(Path("bad.ccf")));
    EXPECT_EQ(RunCliCaptured({"compile", Path("bad.csf")}).status, kExitUsage);
}

} // namespace
