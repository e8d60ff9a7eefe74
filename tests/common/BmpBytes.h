#pragma once

// Bitmap files built field by field from the BMP layout (little-endian, bottom-up unless
// the height is negative), and a small independent decoder of 4-bit files, so that tests
// of the codec, the generator and the preview do not check a bitmap with the code that
// wrote it.

#include <cstdint>
#include <vector>

namespace dwtest {

inline void PutLe(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

inline std::uint32_t GetLe(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | (at + i < b.size() ? b[at + i] : 0);
    return v;
}

// A BMP with a 40-byte info header; the palette entries are 0xRRGGBB.
inline std::vector<std::uint8_t> MakeBmp(std::int32_t width, std::int32_t height, std::uint16_t bpp,
                                         const std::vector<std::uint32_t>& palette,
                                         const std::vector<std::uint8_t>& rows)
{
    std::vector<std::uint8_t> b{'B', 'M'};
    const std::uint32_t offset = 14 + 40 + 4 * std::uint32_t(palette.size());
    PutLe(b, offset + std::uint32_t(rows.size()), 4);
    PutLe(b, 0, 4);
    PutLe(b, offset, 4);
    PutLe(b, 40, 4);
    PutLe(b, std::uint32_t(width), 4);
    PutLe(b, std::uint32_t(height), 4);
    PutLe(b, 1, 2);
    PutLe(b, bpp, 2);
    PutLe(b, 0, 4);
    PutLe(b, std::uint32_t(rows.size()), 4);
    PutLe(b, 2835, 4);
    PutLe(b, 2835, 4);
    PutLe(b, std::uint32_t(palette.size()), 4);
    PutLe(b, 0, 4);
    for (std::uint32_t rgb : palette)
        PutLe(b, rgb, 4); // B, G, R, 0 in memory
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

// A decoded 4-bit bitmap: the grey value (palette red channel) of each pixel, top row first.
struct SGreyPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> greys;
    std::uint8_t At(int x, int y) const
    {
        return greys[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// False unless `b` is an uncompressed 4-bit, bottom-up BMP whose pixels lie inside it.
inline bool DecodeFourBitBmp(const std::vector<std::uint8_t>& b, SGreyPicture& out)
{
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || GetLe(b, 28, 2) != 4 || GetLe(b, 30, 4) != 0)
        return false;
    const std::uint32_t offset = GetLe(b, 10, 4), header = GetLe(b, 14, 4);
    const std::int32_t w = std::int32_t(GetLe(b, 18, 4)), h = std::int32_t(GetLe(b, 22, 4));
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096)
        return false;
    const std::size_t stride = ((std::size_t(w) * 4 + 31) / 32) * 4;
    if (offset + stride * std::size_t(h) > b.size() || 14 + header + 16 * 4 > b.size())
        return false;
    out.width = w;
    out.height = h;
    out.greys.assign(std::size_t(w) * std::size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        const std::size_t row = offset + std::size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const std::uint8_t index = (b[row + std::size_t(x) / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
            out.greys[std::size_t(y) * std::size_t(w) + std::size_t(x)] = b[14 + header + 4u * index + 2];
        }
    }
    return true;
}

} // namespace dwtest
