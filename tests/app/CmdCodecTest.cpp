// discweaver-cli decompile / compile through libCCFDll.so beside the executable, and the
// program's own CSF reader (inspect) on what the decompiler wrote.

#include "app/CliTestUtil.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using dwtest::ReadText;

class CmdCodec : public testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(m_tmp.Path().empty()); }

    dwtest::CTempDir m_tmp{"dw-cli-codec"};
    const std::string m_dir = m_tmp.Path();
    const std::string m_sample = DW_SHARED_DIR "/ccf-samples/irscrutinizer-2002-10-17.ccf";
};

TEST_F(CmdCodec, DecompileInspectCompile)
{
    const std::string csf = m_dir + "/x.csf", ccf = m_dir + "/x.ccf";
    CliRun d = RunCliCaptured({"decompile", m_sample, csf});
    ASSERT_EQ(d.status, kExitOk) << d.err;
    EXPECT_EQ(d.out, "Decompiled " + m_sample + " into " + csf + "\n");
    EXPECT_TRUE(std::filesystem::exists(m_dir + "/BMP/icon0001.bmp"));

    // The program's parser and abstract tree find devices, hard keys, panels and buttons.
    CliRun i = RunCliCaptured({"inspect", csf});
    ASSERT_EQ(i.status, kExitOk) << i.err;
    EXPECT_NE(i.out.find("Device \"HOME\""), std::string::npos);
    EXPECT_NE(i.out.find("Hard button \"Left\""), std::string::npos);
    EXPECT_NE(i.out.find("Panel \"home\""), std::string::npos);
    EXPECT_NE(i.out.find("Button 1 \"DVD\""), std::string::npos);
    EXPECT_NE(i.out.find("Device \"Timer\""), std::string::npos);

    CliRun c = RunCliCaptured({"compile", csf, ccf});
    ASSERT_EQ(c.status, kExitOk) << c.err;
    EXPECT_TRUE(ReadText(ccf) == ReadText(m_sample));

    CliRun z = RunCliCaptured({"compile", csf, m_dir + "/z.ccf", "--compress-images"});
    ASSERT_EQ(z.status, kExitOk) << z.err;
    EXPECT_LT(std::filesystem::file_size(m_dir + "/z.ccf"), std::filesystem::file_size(ccf));
}

TEST_F(CmdCodec, FailuresSayWhyAndExitNonZero)
{
    // The colour gallery with the RC9200's capability word, a layout the codec refuses.
    std::string bytes = dwtest::ReadText(DW_SHARED_DIR "/ccf-samples/tonto-gallery-color.ccf");
    bytes[38] = 0x0B;
    bytes[39] = 0x01;
    dwtest::WriteText(m_dir + "/rc9200.ccf", bytes);
    CliRun colour = RunCliCaptured({"decompile", m_dir + "/rc9200.ccf", m_dir + "/c.csf"});
    EXPECT_EQ(colour.status, kExitFailure);
    EXPECT_NE(colour.err.find("RC9200"), std::string::npos) << colour.err;
    EXPECT_FALSE(std::filesystem::exists(m_dir + "/c.csf"));

    dwtest::WriteText(m_dir + "/bad.csf",
                      "CCF()\n{\n\tDevice(\"A\")\n\t{\n\t\tMute()\n\t\t{\n\t\t\tDelay(x);\n\t\t}\n\t}\n}\n");
    CliRun compile = RunCliCaptured({"compile", m_dir + "/bad.csf", m_dir + "/bad.ccf"});
    EXPECT_EQ(compile.status, kExitFailure);
    EXPECT_NE(compile.err.find("line 7: \"x\" is not a number"), std::string::npos) << compile.err;
    EXPECT_FALSE(std::filesystem::exists(m_dir + "/bad.ccf"));

    EXPECT_EQ(RunCliCaptured({"compile", m_dir + "/bad.csf"}).status, kExitUsage);
}

} // namespace
