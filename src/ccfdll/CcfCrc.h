#pragma once

// The checksum at the end of every CCF: CRC-16/XMODEM (polynomial 0x1021, initial value 0,
// no reflection, no final XOR), over every byte before the checksum itself.

#include <cstddef>
#include <cstdint>

// `crc` continues an earlier call, so a buffer can be checked in pieces.
std::uint16_t CcfCrc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc = 0);
