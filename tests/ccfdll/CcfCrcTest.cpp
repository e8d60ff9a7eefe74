#include "ccfdll/CcfCrc.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(CcfCrc, CheckValueAndPiecewiseUse)
{
    const char* text = "123456789";
    EXPECT_EQ(CcfCrc16(reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)), 0x31C3);
    EXPECT_EQ(CcfCrc16(nullptr, 0), 0);

    const std::uint8_t bytes[] = {0x40, 0xA5, 0x5A, 0x40, 0x5F, 0x43, 0x43, 0x46, 0xFF, 0x00, 0x80};
    const std::uint16_t whole = CcfCrc16(bytes, sizeof bytes);
    for (std::size_t cut = 0; cut <= sizeof bytes; ++cut)
        EXPECT_EQ(CcfCrc16(bytes + cut, sizeof bytes - cut, CcfCrc16(bytes, cut)), whole) << cut;
}

} // namespace
