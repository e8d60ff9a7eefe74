// A configuration against the memory of the remotes its capability word names; the
// models and their memory sizes are the format notes' model table.

#include "csf/RemoteMemory.h"
#include "csf/CSFSection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct SMemoryCase
{
    const char* name;
    std::uint32_t capability;
    std::uint64_t fileSize;
    const char* lines; // FormatMemoryUse of each candidate model, in table order
};

class MemoryUse : public ::testing::TestWithParam<SMemoryCase>
{
};

TEST_P(MemoryUse, OneLinePerModelOfTheCapabilityWord)
{
    const SMemoryCase& c = GetParam();
    std::string lines;
    for (const CMemoryUse& use : GetMemoryUse(c.capability, c.fileSize))
        lines += FormatMemoryUse(use) + "\n";
    EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(RemoteMemory, MemoryUse,
                         ::testing::Values(
                             // 380 KB is 389,120 bytes: a file of exactly that size still fits.
                             SMemoryCase{"ExactlyFull", 0x00020001, 389120,
                                         "Memory of TS-1000: 380 KB, file uses 100.0%\n"
                                         "Memory of RU-890: 380 KB, file uses 100.0%\n"
                                         "Memory of RU-940: 1404 KB, file uses 27.1%\n"},
                             SMemoryCase{"OneByteTooMany", 0x00020001, 389121,
                                         "Memory of TS-1000: 380 KB, file uses 100.0% (TOO LARGE)\n"
                                         "Memory of RU-890: 380 KB, file uses 100.0% (TOO LARGE)\n"
                                         "Memory of RU-940: 1404 KB, file uses 27.1%\n"},
                             SMemoryCase{"Rc5000Family", 0x00000001, 1000000,
                                         "Memory of RC5000: 380 KB, file uses 257.0% (TOO LARGE)\n"
                                         "Memory of RC5000i: 1404 KB, file uses 69.6%\n"},
                             SMemoryCase{"ColourModels", 0x00060301, 6094848,
                                         "Memory of TSU-6000: 5952 KB, file uses 100.0%\n"
                                         "Memory of RU-970: 5667 KB, file uses 105.0% (TOO LARGE)\n"},
                             SMemoryCase{"UnknownWord", 0x00000003, 10, ""}),
                         [](const ::testing::TestParamInfo<SMemoryCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(RemoteMemory, TheWarningNamesTheModelAndBothSizes)
{
    std::vector<CMemoryUse> uses = GetMemoryUse(0x00000A01, 1300000);
    ASSERT_EQ(uses.size(), 1u);
    EXPECT_EQ(
        FormatMemoryWarning(uses[0]),
        "The output CCF (1300000 bytes) is larger than the memory of the RC5200 (1249280 bytes, 1220 KB); it "
        "cannot be loaded into that remote");
}

TEST(RemoteMemory, TheCapabilityWordIsReadFromTheRootBlock)
{
    const struct
    {
        const char* csf;
        std::optional<std::uint32_t> capability;
    } cases[] = {
        {"CCF()\n{\nVersion(\"x\");\nCapability(0x00060301);\n}\n", 0x00060301u},
        {"CCF()\n{\nCapability(20001);\n}\n", 0x00020001u}, // hexadecimal without the prefix
        {"CCF()\n{\nVersion(\"x\");\n}\n", std::nullopt},
        // Only the header counts, not a statement of that name deeper down.
        {"CCF()\n{\nDevice(\"TV\")\n{\nCapability(0x1);\n}\n}\n", std::nullopt},
        {"CCF()\n{\nCapability(none);\n}\n", std::nullopt},
    };
    for (const auto& c : cases) {
        CErrorRecord errors;
        std::unique_ptr<CCSFSection> root = ParseCsfText(c.csf, std::strlen(c.csf), &errors);
        ASSERT_TRUE(root) << GetText(&errors);
        EXPECT_EQ(FindCapability(*root), c.capability) << c.csf;
    }
}

} // namespace
