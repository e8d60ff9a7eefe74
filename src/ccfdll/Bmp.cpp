#include "ccfdll/Bmp.h"

#include "ccfdll/CcfPalette.h"

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"

#include <cstring>

namespace {

std::uint32_t Le16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8);
}
std::uint32_t Le32(const std::uint8_t* p)
{
    return Le16(p) | (Le16(p + 2) << 16);
}

void PutLe16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void PutLe32(std::uint8_t* p, std::uint32_t v)
{
    PutLe16(p, v);
    PutLe16(p + 2, v >> 16);
}

std::uint8_t Grey(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return std::uint8_t((299 * r + 587 * g + 114 * b + 500) / 1000);
}

constexpr std::uint8_t kShades[4] = {0x00, 0x80, 0xC0, 0xFF};

} // namespace

std::uint8_t CcfLevelToGrey(std::uint8_t level)
{
    return kShades[level & 3u];
}

std::uint8_t CcfGreyToLevel(std::uint8_t grey)
{
    std::uint8_t best = 0;
    int bestDistance = 1 << 30;
    for (std::uint8_t level = 0; level < 4; ++level) {
        const int distance = grey > kShades[level] ? grey - kShades[level] : kShades[level] - grey;
        if (distance < bestDistance) { // strict: a tie keeps the darker level
            best = level;
            bestDistance = distance;
        }
    }
    return best;
}

bool ReadBmp(const std::uint8_t* data, std::size_t size, CBmpImage& image, CCcfError* error)
{
    image = CBmpImage{};
    if (size < 26 || data[0] != 'B' || data[1] != 'M') {
        SetCcfErrorAt(error, 0, "not a Windows bitmap (no \"BM\" signature)");
        return false;
    }
    const std::uint32_t pixelOffset = Le32(data + 10);
    const std::uint32_t infoSize = Le32(data + 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bpp = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours = 0;
    std::uint32_t paletteEntry = 4;
    if (infoSize == 12) {
        width = Le16(data + 18);
        height = std::int16_t(Le16(data + 20));
        bpp = Le16(data + 24);
        paletteEntry = 3;
    } else if (infoSize >= 40 && infoSize <= 1024) {
        if (size < 14 + std::size_t(infoSize)) {
            SetCcfErrorAt(error, 14, "bitmap ends inside its information header");
            return false;
        }
        width = std::int32_t(Le32(data + 18));
        height = std::int32_t(Le32(data + 22));
        bpp = Le16(data + 28);
        compression = Le32(data + 30);
        colours = Le32(data + 46);
    } else {
        SetCcfErrorAt(error, 14, "unknown bitmap information header of %u bytes", infoSize);
        return false;
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width > kBmpMaxSide || height > kBmpMaxSide) {
        SetCcfErrorAt(error, 18, "bitmap size %lld x %lld is outside 1..%u", static_cast<long long>(width),
                      static_cast<long long>(height), kBmpMaxSide);
        return false;
    }
    if (compression != 0) {
        SetCcfErrorAt(error, 30, "compressed bitmaps (method %u) are not supported; save it uncompressed",
                      compression);
        return false;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) {
        SetCcfErrorAt(error, 28, "bitmaps with %u bits per pixel are not supported (1, 4, 8, 24 or 32)", bpp);
        return false;
    }
    std::vector<std::uint8_t> palette; // grey value per colour index
    std::vector<CCcfRgb> paletteRgb;   // colour per colour index
    bool remotePalette = false;
    if (bpp <= 8) {
        const std::uint32_t most = 1u << bpp;
        if (colours == 0 || colours > most)
            colours = most;
        const std::size_t at = 14 + std::size_t(infoSize);
        if (at + std::size_t(colours) * paletteEntry > size) {
            SetCcfErrorAt(error, std::uint32_t(at), "bitmap ends inside its palette of %u colours", colours);
            return false;
        }
        palette.resize(colours);
        paletteRgb.resize(colours);
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::uint8_t* entry = data + at + std::size_t(i) * paletteEntry;
            palette[i] = Grey(entry[2], entry[1], entry[0]);
            paletteRgb[i] = {entry[2], entry[1], entry[0]};
        }
        remotePalette = bpp == 8 && colours == 256;
        for (std::uint32_t i = 0; remotePalette && i < colours; ++i)
            remotePalette = paletteRgb[i] == kCcfPalette[i];
    }
    const std::size_t w = std::size_t(width);
    const std::size_t h = std::size_t(height);
    const std::size_t stride = (w * bpp + 31) / 32 * 4;
    if (pixelOffset < 26 || pixelOffset > size || stride * h > size - pixelOffset) {
        SetCcfErrorAt(
            error, 10,
            "bitmap pixel data (%zu bytes from offset %u) runs past the end of the file (%zu bytes)",
            stride * h, pixelOffset, size);
        return false;
    }
    image.width = std::uint32_t(w);
    image.height = std::uint32_t(h);
    image.grey.resize(w * h);
    image.rgb.resize(w * h * 3);
    if (remotePalette)
        image.paletteIndices.resize(w * h);
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* row = data + pixelOffset + (topDown ? y : h - 1 - y) * stride;
        std::uint8_t* out = image.grey.data() + y * w;
        std::uint8_t* rgb = image.rgb.data() + y * w * 3;
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t index = 0;
            switch (bpp) {
            case 1:
                index = (row[x / 8] >> (7 - x % 8)) & 1u;
                break;
            case 4:
                index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 15u;
                break;
            case 8:
                index = row[x];
                if (remotePalette)
                    image.paletteIndices[y * w + x] = row[x];
                break;
            case 24:
                out[x] = Grey(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                rgb[3 * x] = row[3 * x + 2], rgb[3 * x + 1] = row[3 * x + 1], rgb[3 * x + 2] = row[3 * x];
                continue;
            default:
                out[x] = Grey(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                rgb[3 * x] = row[4 * x + 2], rgb[3 * x + 1] = row[4 * x + 1], rgb[3 * x + 2] = row[4 * x];
                continue;
            }
            if (index >= palette.size()) {
                SetCcfErrorAt(error, std::uint32_t(pixelOffset + (row - data - pixelOffset)),
                              "pixel (%zu,%zu) uses colour %u, but the palette has only %zu colours", x, y,
                              index, palette.size());
                image = CBmpImage{};
                return false;
            }
            out[x] = palette[index];
            rgb[3 * x] = paletteRgb[index].r, rgb[3 * x + 1] = paletteRgb[index].g,
                    rgb[3 * x + 2] = paletteRgb[index].b;
        }
    }
    return true;
}

bool ReadBmpFile(const std::string& path, CBmpImage& image, CCcfError* error)
{
    std::vector<std::uint8_t> bytes;
    // The largest bitmap accepted is 4096 x 4096 at 32 bits.
    if (!ReadWholeFile(path, bytes, error, 80u << 20))
        return false;
    CCcfError inner;
    if (ReadBmp(bytes.data(), bytes.size(), image, &inner))
        return true;
    SetCcfError(error, "%s: %s", path.c_str(), inner.Text().c_str());
    return false;
}

bool BmpToPixels(const CBmpImage& image, CCcfPixels& pixels, CCcfError* error)
{
    if (image.width > 0xFFFF || image.height > 0xFFFF ||
        image.grey.size() != std::size_t(image.width) * image.height) {
        SetCcfError(error, "bitmap of %u x %u cannot be an icon", image.width, image.height);
        return false;
    }
    pixels.width = std::uint16_t(image.width);
    pixels.height = std::uint16_t(image.height);
    pixels.levels.resize(image.grey.size());
    for (std::size_t i = 0; i < image.grey.size(); ++i)
        pixels.levels[i] = CcfGreyToLevel(image.grey[i]);
    pixels.colour = false;
    pixels.indices.clear();
    if (!image.paletteIndices.empty()) {
        pixels.colour = true;
        pixels.indices = image.paletteIndices;
        return true;
    }
    if (image.rgb.size() != image.grey.size() * 3)
        return true;
    // Pictures drawn in the four level shades (the program's own and every decompiled grey
    // icon) stay grey, so a colour file shows them through the one grey map.
    bool shades = true;
    for (std::size_t i = 0; shades && i < image.grey.size(); ++i) {
        const std::uint8_t* c = &image.rgb[3 * i];
        shades = c[0] == c[1] && c[1] == c[2] && c[0] == kShades[CcfGreyToLevel(c[0])];
    }
    if (shades)
        return true;
    pixels.colour = true;
    pixels.indices.resize(image.grey.size());
    for (std::size_t i = 0; i < image.grey.size(); ++i) {
        const std::uint8_t* c = &image.rgb[3 * i];
        pixels.indices[i] = CcfNearestPaletteIndex({c[0], c[1], c[2]});
    }
    return true;
}

namespace {

std::vector<std::uint8_t> WriteColourBmp(const CCcfPixels& pixels)
{
    const std::size_t w = pixels.width;
    const std::size_t h = pixels.height;
    const std::size_t stride = (w + 3) / 4 * 4;
    const std::size_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> out(offset + stride * h, 0);
    std::uint8_t* b = out.data();
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b + 2, std::uint32_t(out.size()));
    PutLe32(b + 10, std::uint32_t(offset));
    PutLe32(b + 14, 40);
    PutLe32(b + 18, std::uint32_t(w));
    PutLe32(b + 22, std::uint32_t(h));
    PutLe16(b + 26, 1);
    PutLe16(b + 28, 8);
    PutLe32(b + 34, std::uint32_t(stride * h));
    PutLe32(b + 38, 2835); // 72 dpi
    PutLe32(b + 42, 2835);
    PutLe32(b + 46, 256);
    PutLe32(b + 50, 256);
    for (int i = 0; i < 256; ++i) {
        std::uint8_t* entry = b + 54 + 4 * i;
        entry[0] = kCcfPalette[i].b;
        entry[1] = kCcfPalette[i].g;
        entry[2] = kCcfPalette[i].r;
    }
    for (std::size_t y = 0; y < h; ++y)
        std::memcpy(b + offset + (h - 1 - y) * stride, pixels.indices.data() + y * w, w);
    return out;
}

} // namespace

std::vector<std::uint8_t> WriteBmp(const CCcfPixels& pixels)
{
    if (pixels.colour)
        return WriteColourBmp(pixels);
    const std::size_t w = pixels.width;
    const std::size_t h = pixels.height;
    const std::size_t stride = (w * 4 + 31) / 32 * 4;
    const std::size_t offset = 14 + 40 + 4 * 4;
    std::vector<std::uint8_t> out(offset + stride * h, 0);
    std::uint8_t* b = out.data();
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b + 2, std::uint32_t(out.size()));
    PutLe32(b + 10, std::uint32_t(offset));
    PutLe32(b + 14, 40);
    PutLe32(b + 18, std::uint32_t(w));
    PutLe32(b + 22, std::uint32_t(h));
    PutLe16(b + 26, 1);
    PutLe16(b + 28, 4);
    PutLe32(b + 34, std::uint32_t(stride * h));
    PutLe32(b + 38, 2835); // 72 dpi
    PutLe32(b + 42, 2835);
    PutLe32(b + 46, 4);
    PutLe32(b + 50, 4);
    for (int level = 0; level < 4; ++level) {
        std::uint8_t* entry = b + 54 + 4 * level;
        entry[0] = entry[1] = entry[2] = kShades[level];
    }
    for (std::size_t y = 0; y < h; ++y) {
        std::uint8_t* row = b + offset + (h - 1 - y) * stride;
        for (std::size_t x = 0; x < w; ++x)
            row[x / 2] |= std::uint8_t((pixels.levels[y * w + x] & 3u) << (x % 2 ? 0 : 4));
    }
    return out;
}

bool WriteBmpFile(const std::string& path, const CCcfPixels& pixels, CCcfError* error)
{
    if ((pixels.colour ? pixels.indices.size() : pixels.levels.size()) !=
        std::size_t(pixels.width) * pixels.height) {
        SetCcfError(error, "picture of %u x %u has %zu pixels", pixels.width, pixels.height,
                    pixels.levels.size());
        return false;
    }
    const std::vector<std::uint8_t> bytes = WriteBmp(pixels);
    return WriteFileAtomically(path, bytes.data(), bytes.size(), error);
}
