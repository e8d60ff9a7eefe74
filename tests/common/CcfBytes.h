#pragma once

// Helpers of the CCF codec tests: hand-built files laid out byte by byte from the format
// notes (so they test the reader independently of our writer), and the real samples.

#include "ccfdll/CcfCrc.h"
#include "ccfdll/CcfReader.h"
#include "common/TempDir.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ccftest {

// Big-endian byte sequence builder.
class CBytes
{
public:
    CBytes& U8(std::uint32_t v)
    {
        b.push_back(std::uint8_t(v));
        return *this;
    }
    CBytes& U16(std::uint32_t v) { return U8(v >> 8).U8(v); }
    CBytes& U32(std::uint32_t v) { return U16(v >> 16).U16(v); }
    CBytes& Raw(const std::vector<std::uint8_t>& v)
    {
        b.insert(b.end(), v.begin(), v.end());
        return *this;
    }
    std::vector<std::uint8_t> b;
};

// A file under construction: the header with its fixed fields, nodes appended at the end.
class CRawCcf
{
public:
    // attrPos 64 (version 2, known fields end at 72) or 60 (version 1, end at 68).
    explicit CRawCcf(std::uint32_t attrPos = 64, std::uint32_t capability = 0x00020001, std::size_t tail = 2)
    {
        CBytes h;
        h.U32(0).U32(0).Raw({0x40, 0xA5, 0x5A, 0x40, 0x5F, 0x43, 0x43, 0x46}).U32(0);
        h.U16(2002).U8(10).U8(17).U8(0).U8(22).U8(13).U8(16).U32(0);
        h.Raw({'C', 'C', 'F', 0}).U32(capability).U32(0).U32(attrPos);
        h.U32(0).U32(0).U32(0).U32(0).U32(0);
        if (attrPos == 64)
            h.U32(0);
        bytes = h.b;
        bytes.resize(bytes.size() + tail, 0);
    }

    std::uint32_t Add(const CBytes& node)
    {
        const std::uint32_t at = std::uint32_t(bytes.size());
        bytes.insert(bytes.end(), node.b.begin(), node.b.end());
        return at;
    }
    std::uint32_t AddString(const std::string& s)
    {
        CBytes node;
        node.U8(std::uint32_t(s.size()));
        for (char c : s)
            node.U8(std::uint8_t(c));
        return Add(node);
    }
    void Set32(std::uint32_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = std::uint8_t(v >> (24 - 8 * i));
    }

    // Header pointer fields.
    void SetHome(std::uint32_t p) { Set32(48, p); }
    void SetTimers(std::uint32_t p) { Set32(60, p); }

    // Pads to an even checksum offset, stores both offsets and the CRC.
    std::vector<std::uint8_t> Finish(std::uint8_t pad = 0xFF) const
    {
        std::vector<std::uint8_t> out = bytes;
        if (out.size() & 1)
            out.push_back(pad);
        const std::uint32_t crcAt = std::uint32_t(out.size());
        for (std::uint32_t field : {16u, 40u}) {
            for (int i = 0; i < 4; ++i)
                out[field + i] = std::uint8_t(crcAt >> (24 - 8 * i));
        }
        const std::uint16_t crc = CcfCrc16(out.data(), out.size());
        out.push_back(std::uint8_t(crc >> 8));
        out.push_back(std::uint8_t(crc));
        return out;
    }

    std::vector<std::uint8_t> bytes;
};

// A device record (65 bytes) with the given name pointer and first panel.
inline CBytes Device(std::uint32_t next, std::uint32_t name, std::uint32_t firstPanel, std::uint8_t flags = 0,
                     std::uint32_t keyLeft = 0, std::uint32_t labelLeft = 0)
{
    CBytes d;
    d.U32(next).U32(name).U32(0).U32(0).U32(0).U32(keyLeft);
    for (int i = 0; i < 6; ++i)
        d.U32(0);
    d.U32(0).U32(labelLeft).U32(0).U32(firstPanel).U8(flags);
    return d;
}

// Restores the checksum after a test changed bytes of a finished file.
inline void Reseal(std::vector<std::uint8_t>& file)
{
    const std::size_t at = file.size() - 2;
    const std::uint16_t crc = CcfCrc16(file.data(), at);
    file[at] = std::uint8_t(crc >> 8);
    file[at + 1] = std::uint8_t(crc);
}

inline std::string SamplePath(const char* name)
{
    return std::string(DW_SHARED_DIR "/ccf-samples/") + name;
}

inline std::vector<std::uint8_t> LoadSample(const char* name)
{
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(SamplePath(name), bytes, nullptr);
    return bytes;
}

// Every file of a directory by name, with its contents: the pictures of a decompilation.
inline std::map<std::string, std::string> ReadDirectoryFiles(const std::string& path)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : dwtest::ListDirectory(path))
        files[name] = dwtest::ReadText(path + "/" + name);
    return files;
}

constexpr const char* kBigSample = "irscrutinizer-2002-10-17.ccf";
constexpr const char* kGraySample = "tonto-gallery-gray.ccf";
constexpr const char* kColourSample = "tonto-gallery-color.ccf";

} // namespace ccftest
