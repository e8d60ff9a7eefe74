// Fidelity of decompile -> compile on every real file of the shared sample folder, so that
// files added to the folder later are covered without touching this test.

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfTestUtil.h"
#include "ccfdll/CsfWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

using csftest::CTempDir;

const std::string kSampleDir = DW_SHARED_DIR "/ccf-samples";
const std::string kEditorSample = "irscrutinizer-2002-10-17.ccf"; // follows the editor's layout

std::vector<std::string> SampleNames()
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(kSampleDir, ignored))
        if (entry.path().extension() == ".ccf")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// decompile(x) = A; compile(A) = y; decompile(y) = B: A equals B, text and pictures, and
// y equals x byte for byte for the file in the editor's layout. Files the codec does not
// support are refused by the decompiler with a message naming what they are.
TEST(CsfSamples, EveryFileRoundTripsOrIsRefusedByName)
{
    for (const std::string& name : SampleNames()) {
        SCOPED_TRACE(name);
        const std::string path = kSampleDir + "/" + name;
        const std::vector<std::uint8_t> original = csftest::ReadBytes(path);
        CCcfFile model;
        CCcfError error;
        if (const char* unsupported = CcfIdentifyUnsupported(original.data(), original.size())) {
            EXPECT_FALSE(ReadCcfFile(path, model, &error));
            EXPECT_FALSE(error.IsEmpty());
            EXPECT_NE(error.reason.find(unsupported), std::string::npos) << error.Text();
            continue;
        }
        ASSERT_TRUE(ReadCcfFile(path, model, &error)) << error.Text();

        CTempDir first, second;
        ASSERT_TRUE(WriteCsfFile(model, first / "x.csf", &error)) << error.Text();
        CCcfFile compiled;
        ASSERT_TRUE(ReadCsfFile(first / "x.csf", compiled, &error)) << error.Text();
        ASSERT_TRUE(WriteCcfFile(compiled, first / "x.ccf", &error)) << error.Text();
        const std::vector<std::uint8_t> recompiled = csftest::ReadBytes(first / "x.ccf");
        if (name == kEditorSample) {
            EXPECT_TRUE(recompiled == original) << "recompiled file differs from the original";
        }

        CCcfFile again;
        ASSERT_TRUE(ReadCcfFile(first / "x.ccf", again, &error)) << error.Text();
        ASSERT_TRUE(WriteCsfFile(again, second / "x.csf", &error)) << error.Text();
        EXPECT_TRUE(csftest::ReadText(first / "x.csf") == csftest::ReadText(second / "x.csf"))
            << "decompiled texts differ";
        const auto picturesA = csftest::ReadDirectory(first / "BMP");
        const auto picturesB = csftest::ReadDirectory(second / "BMP");
        EXPECT_EQ(picturesA.size(), picturesB.size());
        EXPECT_TRUE(picturesA == picturesB) << "bitmaps differ";
    }
}

TEST(CsfSamples, EditorSampleTextFacts)
{
    CCcfFile model;
    CCcfError error;
    ASSERT_TRUE(ReadCcfFile(kSampleDir + "/" + kEditorSample, model, &error)) << error.Text();
    CCsfText out;
    ASSERT_TRUE(FormatCsf(model, out, &error)) << error.Text();
    const std::string& t = out.text;
    // The header fields the info command reads.
    EXPECT_NE(t.find("\tVersion(\"2002-10-17\");\n"), std::string::npos);
    EXPECT_NE(t.find("\tCapability(0x00020001);\n"), std::string::npos);
    EXPECT_NE(t.find("\tHeaderVersion(2);\n"), std::string::npos);
    EXPECT_NE(t.find("\tDate(\"2002-10-17 22:13:16\");\n"), std::string::npos);
    // Devices directly in the root block, the Home device and the macro groups marked.
    EXPECT_NE(t.find("\n\tDevice(\"HOME\")\n\t{\n\t\tIsHome();\n"), std::string::npos);
    EXPECT_NE(
        t.find("\n\tDevice(\"Timer\")\n\t{\n\t\tIsMacroGroup();\n\t\tIsTimerGroup();\n\t\tHasSeparator();\n"),
        std::string::npos);
    // Every button numbered once, from 1, in text order.
    std::size_t at = 0;
    unsigned expected = 1;
    while ((at = t.find("/* Button ", at)) != std::string::npos) {
        const unsigned number = unsigned(std::strtoul(t.c_str() + at + 10, nullptr, 10));
        ASSERT_EQ(number, expected);
        ++expected;
        ++at;
    }
    EXPECT_EQ(expected - 1, model.buttons.size());
    // Negative positions, one-byte symbol glyphs escaped, the special jump, the pictures.
    EXPECT_NE(t.find("Button(\"DVD\",-8,76,105,38,1) /* Button 1 */"), std::string::npos);
    EXPECT_NE(t.find("Right(\"\\xec\")"), std::string::npos);
    EXPECT_NE(t.find("SpecialJump(ScrollDown);"), std::string::npos);
    EXPECT_NE(t.find("Color(0x68);"), std::string::npos);
    EXPECT_EQ(out.pictures.size(), 167u);
}

} // namespace
