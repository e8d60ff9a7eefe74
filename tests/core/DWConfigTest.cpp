#include "core/DWConfig.h"
#include "common/TempAreaTest.h"
#include "core/Registry.h"
#include "core/Version.h"

#include <algorithm>
#include <cstring>

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

TEST_F(DWConfigTest, TrailingSeparatorGivesOneSeparator)
{
    config.SetConfigArea("/data/dw/");
    std::string withSlash = config.GetPlayersFile();
    config.SetConfigArea("/data/dw");
    EXPECT_EQ(config.GetPlayersFile(), withSlash);
    EXPECT_EQ(withSlash, "/data/dw/DW_Config/DW_Devices.xml");
    EXPECT_EQ(config.GetLibraryFile(), "/data/dw/DW_Config/DW_Library.xml");
    EXPECT_EQ(config.GetTempDirectory(), "/data/dw/DW_Temp");
    EXPECT_EQ(config.GetCsfWorkFile(), "/data/dw/DW_Temp/Discweaver.csf");

    config.SetConfigArea("");
    EXPECT_FALSE(config.HasConfigArea());
    EXPECT_EQ(config.GetPlayersFile(), "");
    EXPECT_EQ(config.GetCsfWorkFile(), "");
}

TEST_F(DWConfigTest, ConfigAreaComesFromTextSettingOnly)
{
    struct
    {
        std::uint32_t type;
        const char* value;
        std::string expectedArea;
    } cases[] = {
        {REG_SZ, "/srv/dw", "/srv/dw"},
        {REG_SZ, "", Path("bin")},
        {REG_EXPAND_SZ, "/srv/dw", Path("bin")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "ConfigAndTempArea", c.type, c.value,
                                       std::strlen(c.value) + 1));
        CDWConfig fresh;
        fresh.SetExecutablePath(Path("bin/discweaver").c_str());
        CErrorRecord errors;
        CWarningList warnings;
        EXPECT_TRUE(fresh.LoadSettings(nullptr, &errors, &warnings)) << GetText(&errors);
        EXPECT_EQ(fresh.GetConfigArea(), c.expectedArea) << "type " << c.type << " value '" << c.value << "'";
    }
}

TEST_F(DWConfigTest, ProgramDirectoryFromTheRunningProgram)
{
    CDWConfig real;
    CErrorRecord errors;
    std::optional<std::string> exe = real.GetExecutablePath(&errors);
    ASSERT_TRUE(exe.has_value()) << GetText(&errors);
    EXPECT_EQ(exe->rfind("/dw_core_tests"), exe->size() - 14);
    std::optional<std::string> dir = real.GetProgramDirectory(&errors);
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(*dir + "/dw_core_tests", *exe);

    CDWConfig bare;
    bare.SetExecutablePath("discweaver");
    EXPECT_FALSE(bare.GetProgramDirectory(&errors));
    EXPECT_STREQ(GetText(&errors), "GetParentPath(discweaver) failed");
    EXPECT_FALSE(bare.UseDefaultConfigArea(nullptr));
}

TEST_F(DWConfigTest, CcfPathsRoundTripThroughTheStore)
{
    WriteFile(Path("In.ccf"), "ccf");
    config.SetInputCcf(Path("in.ccf").c_str());
    EXPECT_EQ(config.GetInputCcf(), Path("In.ccf")) << "stored in the letter case on disk";
    config.SetOutputCcf(Path("out.ccf").c_str());
    config.SetCompressImages(true);
    config.SetPanelCap(40000);
    EXPECT_EQ(config.GetPanelCap(), CDWConfig::kMaxPanelCap);
    config.SetPanelCap(-3);
    EXPECT_EQ(config.GetPanelCap(), 0);
    config.SetPanelCap(25);
    CErrorRecord errors;
    ASSERT_TRUE(config.SaveCcfPaths(&errors)) << GetText(&errors);

    CDWConfig loaded;
    EXPECT_TRUE(loaded.LoadCcfPaths(nullptr));
    EXPECT_EQ(loaded.GetInputCcf(), Path("In.ccf"));
    EXPECT_EQ(loaded.GetOutputCcf(), Path("out.ccf"));
    EXPECT_TRUE(loaded.GetCompressImages());
    EXPECT_EQ(loaded.GetPanelCap(), 25);

    // None, false and 0 delete their values; deleting what is missing succeeds.
    config.SetInputCcf("");
    config.SetOutputCcf(nullptr);
    config.SetCompressImages(false);
    config.SetPanelCap(0);
    ASSERT_TRUE(config.SaveCcfPaths(&errors)) << GetText(&errors);
    ASSERT_TRUE(config.SaveCcfPaths(&errors)) << "second time every value is already missing";
    std::uint32_t type;
    for (const char* name : {"InputCCF", "OutputCCF", "CompressImages", "PanelCap"})
        EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, name, &type, nullptr, nullptr))
            << name;
    EXPECT_TRUE(loaded.LoadCcfPaths(nullptr));
    EXPECT_EQ(loaded.GetInputCcf(), "");
    EXPECT_FALSE(loaded.GetCompressImages());
}

TEST_F(DWConfigTest, MistypedSettingsCountAsAbsent)
{
    WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "PanelCap", "12");
    WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "CompressImages", "1");
    WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", 5);
    EXPECT_TRUE(config.LoadCcfPaths(nullptr));
    EXPECT_EQ(config.GetPanelCap(), 0);
    EXPECT_FALSE(config.GetCompressImages());
    EXPECT_EQ(config.GetInputCcf(), "");
}

TEST_F(DWConfigTest, SaveFailuresAreReportedAndTheRestIsAttempted)
{
    // The store's directory is a file: every write fails.
    WriteFile(Path("user"), "not a directory");
    dwtest::CSettingsGuard blocked(Path("user"));
    config.SetInputCcf("/a.ccf");
    config.SetPanelCap(3);
    CErrorRecord errors;
    EXPECT_FALSE(config.SaveCcfPaths(&errors));
    EXPECT_EQ(std::string(GetText(&errors))
                  .rfind("Failed to save HKCU\\Software\\Brisket\\Trackloom\\InputCCF: ", 0),
              0u)
        << GetText(&errors);
    EXPECT_FALSE(config.SaveCcfPaths(nullptr)) << "silent without a record";
}

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

// The model's loads run inside LoadSettings, after the paths are known.
class CFakeModel : public CDWConfigModel
{
public:
    explicit CFakeModel(bool ok) : m_ok(ok) {}
    bool LoadModelFiles(CDWConfig& config, CProgressSink*, CErrorRecord* errors,
                        CWarningList* warnings) override
    {
        seenPlayersFile = config.GetPlayersFile();
        AddWarning(warnings, "XML warning");
        if (!m_ok)
            SetMessage(errors, "Error with library file");
        return m_ok;
    }
    std::string seenPlayersFile;

private:
    bool m_ok;
};

TEST_F(DWConfigTest, LoadSettingsCallsTheModelPart)
{
    WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "ConfigAndTempArea", "/srv/area");
    auto model = std::make_unique<CFakeModel>(false);
    CFakeModel* seen = model.get();
    config.SetModel(std::move(model));
    CErrorRecord errors;
    CWarningList warnings;
    EXPECT_FALSE(config.LoadSettings(nullptr, &errors, &warnings));
    EXPECT_EQ(seen->seenPlayersFile, "/srv/area/DW_Config/DW_Devices.xml");
    EXPECT_STREQ(GetText(&errors), "Error with library file");
    EXPECT_EQ(warnings.size(), 1u);
}

} // namespace
