// Runs the binary codec over every file in the shared sample folder, so files added there
// later are covered without changing the tests.

#include "CcfTestUtil.h"

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>

using namespace ccftest;

namespace {

std::vector<std::string> SampleFiles()
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(DW_SHARED_DIR "/ccf-samples")) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            std::string lower = name;
            std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
            if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".ccf") == 0)
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CcfSamples, FolderHasTheKnownSamples)
{
    const std::vector<std::string> names = SampleFiles();
    EXPECT_NE(std::find(names.begin(), names.end(), kBigSample), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), kGraySample), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), kColourSample), names.end());
}

TEST(CcfSamples, EveryFileIsReadOrRefusedByNameAndWritingIsStable)
{
    for (const std::string& name : SampleFiles()) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile(SamplePath(name.c_str()), bytes, nullptr));
        CCcfFile f;
        CCcfError error;
        CCcfWarnings warnings;
        CCcfReadReport report;
        if (const char* unsupported = CcfIdentifyUnsupported(bytes.data(), bytes.size())) {
            // Colour, x200 and compressed files: refused with the message that names them.
            EXPECT_FALSE(ReadCcf(bytes.data(), bytes.size(), f, &error));
            EXPECT_NE(error.Text().find(unsupported), std::string::npos);
            continue;
        }
        ASSERT_TRUE(ReadCcf(bytes.data(), bytes.size(), f, &error, &warnings, &report)) << error.Text();
        EXPECT_TRUE(report.crcMatches);
        std::vector<std::uint8_t> first;
        ASSERT_TRUE(WriteCcf(f, first, &error)) << error.Text();
        // A file in the editor's layout comes back byte for byte; any other file is laid out
        // afresh once and is stable from then on.
        if (name == kBigSample) {
            EXPECT_TRUE(first == bytes);
        }
        CCcfFile again;
        ASSERT_TRUE(ReadCcf(first.data(), first.size(), again, &error)) << error.Text();
        std::vector<std::uint8_t> second;
        ASSERT_TRUE(WriteCcf(again, second, &error)) << error.Text();
        EXPECT_TRUE(second == first);
        EXPECT_EQ(again.buttons.size(), f.buttons.size());
        EXPECT_EQ(again.panels.size(), f.panels.size());
        EXPECT_EQ(again.header.tail, f.header.tail);
        EXPECT_EQ(again.header.attributes, f.header.attributes);
    }
}

} // namespace
