#include "core/DWConfig.h"
#include "common/TempAreaTest.h"
#include "core/Registry.h"
#include "core/Version.h"

namespace {

class DWConfigTest : public dwtest::CTempAreaTest
{
protected:
    void SetUp() override
    {
        dwtest::CTempAreaTest::SetUp();
        config.SetExecutablePath(Path("bin/discweaver").c_str());
    }

    CDWConfig config;
};

TEST_F(DWConfigTest, CheckReadyToExecute)
{
    CErrorRecord errors;
    EXPECT_FALSE(config.CheckReadyToExecute(&errors, true));
    EXPECT_STREQ(GetText(&errors), "Config/Temp Area undefined");

    config.SetConfigArea(m_dir.c_str());
    Clear(&errors);
    EXPECT_FALSE(config.CheckReadyToExecute(&errors, true));
    EXPECT_STREQ(GetText(&errors), "Input CCF file not specified");

    config.SetInputCcf(Path("in.ccf").c_str());
    Clear(&errors);
    EXPECT_FALSE(config.CheckReadyToExecute(&errors, false));
    EXPECT_EQ(std::string(GetText(&errors)).rfind("Cannot access " + Path("in.ccf") + ": ", 0), 0u);

    WriteFile(Path("in.ccf"), "x");
    Clear(&errors);
    EXPECT_TRUE(config.CheckReadyToExecute(&errors, false));
    EXPECT_FALSE(config.CheckReadyToExecute(&errors, true));
    EXPECT_STREQ(GetText(&errors), "Output CCF file not specified");

    config.SetOutputCcf(Path("no/such/dir/out.ccf").c_str());
    Clear(&errors);
    EXPECT_FALSE(config.CheckReadyToExecute(&errors, true));
    EXPECT_EQ(std::string(GetText(&errors)).rfind("Cannot access " + Path("no/such/dir") + ": ", 0), 0u);

    config.SetOutputCcf(Path("out.ccf").c_str());
    Clear(&errors);
    EXPECT_TRUE(config.CheckReadyToExecute(&errors, true)) << GetText(&errors);
}

struct VersionCase
{
    const char* raw;
    const char* formatted;
};

class FileVersion : public ::testing::TestWithParam<VersionCase>
{
};

TEST_P(FileVersion, FourNumbers)
{
    EXPECT_EQ(FormatFileVersion(GetParam().raw), GetParam().formatted);
}

INSTANTIATE_TEST_SUITE_P(DWConfig, FileVersion,
                         ::testing::Values(VersionCase{"1, 2", "1.2.0.0"}, VersionCase{"1,2,3,4", "1.2.3.4"},
                                           VersionCase{"01.002.3.0", "1.2.3.0"}, VersionCase{"7", "7.0.0.0"},
                                           VersionCase{"beta", "beta"}, VersionCase{"", ""},
                                           VersionCase{"1.2.3.4.5", "1.2.3.4"}));

} // namespace
