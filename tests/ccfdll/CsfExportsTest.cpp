// The four exported functions, as the program's wrapper calls them: version text, messages
// through the callback, non-zero only when the output is complete, never a partial file.
// The exports' source is compiled into this test so that it runs in-process and under the
// sanitizers; the shared library is built from the same file.

#include "ccfdll/CCFDllExports.cpp"

#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using dwtest::CTempDir;

std::vector<std::string> g_messages;

void Collect(const char* text)
{
    g_messages.push_back(text);
}

bool AnyMessageHas(const std::string& part)
{
    for (const std::string& m : g_messages)
        if (m.find(part) != std::string::npos)
            return true;
    return false;
}

class CsfExports : public testing::Test
{
protected:
    void SetUp() override
    {
        g_messages.clear();
        SetDisplayStringCallback(Collect);
    }
    void TearDown() override { SetDisplayStringCallback(nullptr); }

    const std::string m_big = DW_SHARED_DIR "/ccf-samples/irscrutinizer-2002-10-17.ccf";
    CTempDir m_dir;
};

TEST_F(CsfExports, DecompileCompileReportsLinesAndReproducesTheFile)
{
    const std::string csf = m_dir / "Discweaver.csf";
    ASSERT_NE(CCFRunDecompiler(m_big.c_str(), csf.c_str(), 9), 0);
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "BMP"));
    EXPECT_TRUE(std::filesystem::exists(m_dir / "BMP/icon0167.bmp"));

    g_messages.clear();
    const std::string ccf = m_dir / "out.ccf";
    ASSERT_NE(CCFRunCompiler(csf.c_str(), ccf.c_str(), 0), 0);
    EXPECT_EQ(std::filesystem::file_size(ccf), std::filesystem::file_size(m_big));
    EXPECT_EQ(g_messages.front(), "Analyzing CCF (line 2)");
    for (const char* kind : {"Entry", "Panel", "Frame", "Button", "Action"})
        EXPECT_TRUE(AnyMessageHas(std::string("Analyzing ") + kind + " (line ")) << kind;

    // Option 1 stores four-level icons compressed where that is smaller.
    const std::string packed = m_dir / "packed.ccf";
    ASSERT_NE(CCFRunCompiler(csf.c_str(), packed.c_str(), 1), 0);
    EXPECT_LT(std::filesystem::file_size(packed), std::filesystem::file_size(ccf));
    CCcfFile model;
    EXPECT_TRUE(ReadCcfFile(packed, model, nullptr));
}

TEST_F(CsfExports, RefusalsAreReportedAndWriteNothing)
{
    const std::string csf = m_dir / "x.csf";
    const std::string junk = m_dir / "junk.ccf";
    dwtest::WriteText(junk, "no configuration file");
    EXPECT_EQ(CCFRunDecompiler(junk.c_str(), csf.c_str(), 9), 0);
    EXPECT_FALSE(g_messages.empty()) << "the reason arrives through the callback";
    EXPECT_FALSE(std::filesystem::exists(csf));

    g_messages.clear();
    const std::string missing = m_dir / "none.ccf";
    EXPECT_EQ(CCFRunDecompiler(missing.c_str(), csf.c_str(), 9), 0);
    EXPECT_TRUE(AnyMessageHas("none.ccf"));
    EXPECT_EQ(CCFRunCompiler(missing.c_str(), csf.c_str(), 0), 0);
    EXPECT_EQ(CCFRunCompiler(nullptr, csf.c_str(), 0), 0);
    EXPECT_EQ(CCFRunDecompiler(missing.c_str(), "", 0), 0);
    EXPECT_FALSE(std::filesystem::exists(csf));

    // Without a callback the runs still fail cleanly.
    SetDisplayStringCallback(nullptr);
    EXPECT_EQ(CCFRunDecompiler(junk.c_str(), csf.c_str(), 9), 0);
}

} // namespace
