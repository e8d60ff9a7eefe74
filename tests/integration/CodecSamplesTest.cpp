// Every file of the shared sample folder through the codec, so that files added there later
// are covered without touching this test: read, written back, decompiled and compiled.

#include "common/CcfBytes.h"
#include "common/TempDir.h"

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace ccftest;

namespace {

std::vector<std::string> SampleNames()
{
    std::vector<std::string> names;
    for (const std::string& name : dwtest::ListDirectory(DW_SHARED_DIR "/ccf-samples"))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ccf") == 0)
            names.push_back(name);
    return names;
}

// Binary: read, write, read, write gives the same bytes the second time (and the first
// time for the file in the editor's layout). Text: decompile(x) = A, compile(A) = y,
// decompile(y) = B gives A = B, pictures included. Files the codec does not support are
// refused with a message naming what they are.
TEST(CodecSamples, EveryFileRoundTripsOrIsRefusedByName)
{
    for (const std::string& name : SampleNames()) {
        SCOPED_TRACE(name);
        const std::string path = SamplePath(name.c_str());
        const std::vector<std::uint8_t> original = dwtest::ReadBytes(path);
        CCcfFile model;
        CCcfError error;
        CCcfReadReport report;
        if (const char* unsupported = CcfIdentifyUnsupported(original.data(), original.size())) {
            EXPECT_FALSE(ReadCcf(original.data(), original.size(), model, &error));
            EXPECT_NE(error.Text().find(unsupported), std::string::npos) << error.Text();
            continue;
        }
        ASSERT_TRUE(ReadCcf(original.data(), original.size(), model, &error, nullptr, &report))
            << error.Text();
        EXPECT_TRUE(report.crcMatches);
        std::vector<std::uint8_t> first, second;
        ASSERT_TRUE(WriteCcf(model, first, &error)) << error.Text();
        CCcfFile again;
        ASSERT_TRUE(ReadCcf(first.data(), first.size(), again, &error)) << error.Text();
        ASSERT_TRUE(WriteCcf(again, second, &error)) << error.Text();
        EXPECT_TRUE(second == first);
        EXPECT_EQ(again.header.tail, model.header.tail);

        dwtest::CTempDir a, b;
        ASSERT_TRUE(WriteCsfFile(model, a / "x.csf", &error)) << error.Text();
        CCcfFile compiled;
        ASSERT_TRUE(ReadCsfFile(a / "x.csf", compiled, &error)) << error.Text();
        ASSERT_TRUE(WriteCcfFile(compiled, a / "x.ccf", &error)) << error.Text();
        if (name == kBigSample) {
            EXPECT_TRUE(first == original) << "written file differs from the original";
            EXPECT_TRUE(dwtest::ReadBytes(a / "x.ccf") == original)
                << "recompiled file differs from the original";
        }
        CCcfFile decompiled;
        ASSERT_TRUE(ReadCcfFile(a / "x.ccf", decompiled, &error)) << error.Text();
        ASSERT_TRUE(WriteCsfFile(decompiled, b / "x.csf", &error)) << error.Text();
        EXPECT_TRUE(dwtest::ReadText(a / "x.csf") == dwtest::ReadText(b / "x.csf"))
            << "decompiled texts differ";
        EXPECT_TRUE(ReadDirectoryFiles(a / "BMP") == ReadDirectoryFiles(b / "BMP")) << "bitmaps differ";
    }
}

} // namespace
