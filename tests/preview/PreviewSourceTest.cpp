// Reading the configuration a preview shows: through the codec library for a .ccf, in a
// private area that leaves nothing behind, or straight from CSF text.

#include "preview/PreviewSource.h"

#include "common/SettingsGuard.h"
#include "common/TempDir.h"
#include "csf/CSFSection.h"
#include "preview/PanelBrowser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

struct SSourceCase
{
    const char* what;
    std::string file; // relative to the test's directory when not absolute
    bool opens;
    const char* firstDevice; // of the tree read; null when it fails
    const char* message;     // part of the failure text
};

void PrintTo(const SSourceCase& c, std::ostream* os)
{
    *os << c.what;
}

class PreviewSourceOpen : public ::testing::TestWithParam<SSourceCase>
{
};

TEST_P(PreviewSourceOpen, ReadsTheTreeAndLeavesNoPrivateAreaBehind)
{
    const SSourceCase& c = GetParam();
    dwtest::CTempDir dir("dw-preview-source");
    ASSERT_FALSE(dir.Path().empty());
    const std::string tmp = dir.Path() + "/tmp";
    std::filesystem::create_directory(tmp);
    const std::string file = c.file[0] == '/' ? c.file : dir.Path() + "/" + c.file;
    {
        // TMPDIR of the test's own, so that the private areas made below it can be counted.
        dwtest::CScopedEnv over("TMPDIR", tmp);
        CPreviewSource source;
        CErrorRecord errors;
        CWarningList log;
        EXPECT_EQ(source.Open(file, nullptr, &log, &errors), c.opens) << GetText(&errors);
        if (c.opens) {
            CPanelBrowser browser(source.GetRoot());
            ASSERT_FALSE(browser.GetDevices().empty());
            EXPECT_EQ(browser.GetDevices()[0], c.firstDevice);
            EXPECT_TRUE(std::filesystem::is_directory(source.GetBitmapBase())) << source.GetBitmapBase();
            EXPECT_FALSE(source.Open(file, nullptr, &log, &errors)) << "a source is read once";
        } else {
            EXPECT_EQ(source.GetRoot(), nullptr);
            EXPECT_NE(std::string(GetText(&errors)).find(c.message), std::string::npos) << GetText(&errors);
        }
    }
    EXPECT_TRUE(dwtest::ListDirectory(tmp).empty())
        << "the private configuration area is removed with the source";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewSourceOpen,
    ::testing::Values(SSourceCase{"a real configuration through the codec",
                                  DW_SHARED_DIR "/ccf-samples/tonto-gallery-gray.ccf", true, "buttons",
                                  nullptr},
                      SSourceCase{"CSF text", DW_TEST_DATA_DIR "/csf/tv-small.csf", true, "TV", nullptr},
                      SSourceCase{"CSF text the parser refuses", DW_TEST_DATA_DIR "/csf/unclosed.csf", false,
                                  nullptr, "End of input CSF file reached unexpectedly"},
                      SSourceCase{"a missing configuration", "missing.CCF", false, nullptr, "missing.CCF"}));

TEST(PreviewSource, CcfFileNamesAreKnownByTheirExtensionInAnyCase)
{
    const struct
    {
        const char* name;
        bool ccf;
    } cases[] = {{"a.ccf", true},  {"A.CCF", true}, {"x/.Ccf", true},
                 {"a.csf", false}, {"ccf", false},  {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsCcfFileName(c.name), c.ccf) << c.name;
}

} // namespace
