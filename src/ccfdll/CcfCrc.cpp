#include "ccfdll/CcfCrc.h"

#include <array>

namespace {

constexpr std::array<std::uint16_t, 256> MakeTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        std::uint16_t crc = static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        table[byte] = crc;
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kTable = MakeTable();

// kShifted[k][b]: the table entry of byte b pushed through k further zero bytes, so that
// four bytes fold in at once instead of one after the other (the checksum runs over the
// whole file on every read and write).
constexpr std::array<std::array<std::uint16_t, 256>, 4> MakeShifted()
{
    std::array<std::array<std::uint16_t, 256>, 4> t{};
    t[0] = MakeTable();
    for (int k = 1; k < 4; ++k)
        for (unsigned b = 0; b < 256; ++b)
            t[k][b] = static_cast<std::uint16_t>((t[k - 1][b] << 8) ^ t[0][(t[k - 1][b] >> 8) & 0xFF]);
    return t;
}

constexpr std::array<std::array<std::uint16_t, 256>, 4> kShifted = MakeShifted();

} // namespace

std::uint16_t CcfCrc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc)
{
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        const unsigned a = ((crc >> 8) ^ data[i]) & 0xFF;
        const unsigned b = (crc ^ data[i + 1]) & 0xFF;
        crc = static_cast<std::uint16_t>(kShifted[3][a] ^ kShifted[2][b] ^ kShifted[1][data[i + 2]] ^
                                         kShifted[0][data[i + 3]]);
    }
    for (; i < size; ++i)
        crc = static_cast<std::uint16_t>((crc << 8) ^ kTable[((crc >> 8) ^ data[i]) & 0xFF]);
    return crc;
}
