#include "common/CcfBytes.h"

#include "ccfdll/CcfInfo.h"

#include <gtest/gtest.h>

using namespace ccftest;

namespace {

TEST(CcfInfo, FamilyNamesFromTheCapabilityWord)
{
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x00020001, "TS-1000 / RU-890 / RU-940"},
        {0x00060001, "TSU-2000 / RAV-2000 / RAV-2000Z"},
        {0x00000001, "RC5000 / RC5000i"},
        {0x00060201, "USR-5"},
        {0x12345678, "unknown model (capability 0x12345678)"},
    };
    for (auto [capability, name] : cases)
        EXPECT_EQ(CcfModelFamilyName(capability), name);
}

TEST(CcfInfo, BigSampleCountsAndMemory)
{
    const std::vector<std::uint8_t> bytes = LoadSample(kBigSample);
    CCcfFile f;
    ASSERT_TRUE(ReadCcf(bytes.data(), bytes.size(), f, nullptr));
    const CCcfInfo info = GetCcfInfo(f, bytes.size());
    EXPECT_EQ(info.headerVersion, 2);
    EXPECT_FALSE(info.udb);
    EXPECT_EQ(info.homeDevices, 1u);
    EXPECT_EQ(info.devices, 12u);
    EXPECT_EQ(info.macroGroups, 4u);
    ASSERT_EQ(info.models.size(), 3u);
    const std::string text = FormatCcfInfo(info);
    EXPECT_NE(text.find("Model: TS-1000 / RU-890 / RU-940 (capability 0x00020001, timers)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Modified: 2002-10-17 22:13:16"), std::string::npos);
    EXPECT_NE(text.find("Configuration version: 2002-10-17"), std::string::npos);
    EXPECT_NE(text.find("Panels: 97 (57 hidden)"), std::string::npos);
    // 342,972 bytes fit the 380 KB of a TS-1000 (88.1 %) and the RU-940's 1404 KB.
    EXPECT_NE(text.find("Memory of TS-1000: 380 KB, file uses 88.1%\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("TOO LARGE"), std::string::npos);
    const CCcfInfo big = GetCcfInfo(f, 400 * 1024);
    EXPECT_NE(FormatCcfInfo(big).find("Memory of RU-890: 380 KB, file uses 105.3% (TOO LARGE)"),
              std::string::npos);
}

} // namespace
