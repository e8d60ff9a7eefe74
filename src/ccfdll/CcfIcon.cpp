#include "ccfdll/CcfIcon.h"

#include "ccfdll/CcfPalette.h"

namespace {

std::size_t FourLevelRowBytes(std::size_t width)
{
    const std::size_t bytes = (width + 3) / 4;
    return bytes + (bytes & 1);
}

std::size_t TwoLevelRowBytes(std::size_t width)
{
    return (width + 7) / 8;
}

// Number of bytes the run-length codes of `count` pixels take in `data`, or 0 when the
// data ends first.
std::size_t RleCodeBytes(const std::uint8_t* data, std::size_t size, std::size_t count)
{
    std::size_t produced = 0;
    std::size_t at = 0;
    while (produced < count) {
        if (at >= size)
            return 0;
        const std::uint8_t code = data[at++];
        produced += (code & 0x80) ? ((code >> 2) & 31u) + 4 : 3;
    }
    return at;
}

bool CheckType(std::uint16_t type, CCcfError* error)
{
    if (CcfIconIsColour(type) && !CcfIconIsCompressed(type))
        return true;
    if (CcfIconIsColour(type)) {
        SetCcfError(error, "icon type 0x%04X is a compressed 256-colour icon, which is kept as it is", type);
        return false;
    }
    if ((type & 0x00FF) != 0) {
        SetCcfError(error, "icon type 0x%04X is a colour icon, not one of the grayscale remotes", type);
        return false;
    }
    if (CcfIconIsCompressed(type) && !CcfIconIsFourLevel(type)) {
        SetCcfError(error, "icon type 0x%04X: only four-level icons can be compressed", type);
        return false;
    }
    return true;
}

} // namespace

std::vector<std::uint8_t> CcfRleEncode(const std::uint8_t* levels, std::size_t count)
{
    std::vector<std::uint8_t> codes;
    codes.reserve(count / 3 + 1);
    std::size_t at = 0;
    while (at < count) {
        const std::uint8_t value = levels[at] & 3u;
        std::size_t run = 1;
        while (run < 35 && at + run < count && (levels[at + run] & 3u) == value)
            ++run;
        if (run >= 4) {
            codes.push_back(std::uint8_t(0x80 | ((run - 4) << 2) | value));
            at += run;
            continue;
        }
        // Three single pixels; past the end the editor repeats the last pixel.
        const std::uint8_t last = levels[count - 1] & 3u;
        const std::uint8_t a = value;
        const std::uint8_t b = at + 1 < count ? levels[at + 1] & 3u : last;
        const std::uint8_t c = at + 2 < count ? levels[at + 2] & 3u : last;
        codes.push_back(std::uint8_t((a << 4) | (b << 2) | c));
        at += 3;
    }
    return codes;
}

bool CcfRleDecode(const std::uint8_t* data, std::size_t size, std::size_t count, std::uint8_t* levels)
{
    std::size_t produced = 0;
    std::size_t at = 0;
    while (produced < count) {
        if (at >= size)
            return false;
        const std::uint8_t code = data[at++];
        if (code & 0x80) {
            std::size_t run = ((code >> 2) & 31u) + 4;
            const std::uint8_t value = code & 3u;
            for (; run > 0 && produced < count; --run)
                levels[produced++] = value;
        } else {
            const std::uint8_t three[3] = {std::uint8_t((code >> 4) & 3u), std::uint8_t((code >> 2) & 3u),
                                           std::uint8_t(code & 3u)};
            for (int i = 0; i < 3 && produced < count; ++i)
                levels[produced++] = three[i];
        }
    }
    return true;
}

bool CcfDecodeIcon(const CCcfIcon& icon, CCcfPixels& pixels, CCcfError* error)
{
    pixels = CCcfPixels();
    pixels.width = icon.width;
    pixels.height = icon.height;
    if (!CheckType(icon.type, error))
        return false;
    const std::size_t w = icon.width;
    const std::size_t h = icon.height;
    const std::uint8_t* data = icon.data.data();
    const std::size_t size = icon.data.size();
    // Sizes come from untrusted files: refuse pictures the data cannot hold before
    // allocating them (a run code yields at most 35 pixels).
    if (CcfIconIsColour(icon.type)) {
        if (w * h > size || w * h > kCcfMaxIconPixels) {
            SetCcfError(error, "256-colour icon data of %zu bytes is too short for %zu x %zu pixels", size, w,
                        h);
            return false;
        }
        pixels.colour = true;
        pixels.indices.assign(data, data + w * h);
        pixels.levels.resize(w * h);
        for (std::size_t i = 0; i < w * h; ++i)
            pixels.levels[i] = CcfLuminanceLevel(kCcfPalette[pixels.indices[i]]);
        return true;
    }
    const std::size_t most = CcfIconIsCompressed(icon.type)  ? size * 35
                             : CcfIconIsFourLevel(icon.type) ? size * 4
                             : size == 0                     ? kCcfMaxIconPixels
                                                             : size * 8;
    if (w * h > most || w * h > kCcfMaxIconPixels) {
        SetCcfError(error, "icon data of %zu bytes cannot hold %zu x %zu pixels", size, w, h);
        return false;
    }
    pixels.levels.assign(w * h, 0);

    if (CcfIconIsCompressed(icon.type)) {
        if (!CcfRleDecode(data, size, w * h, pixels.levels.data())) {
            SetCcfError(error, "compressed icon data (%zu bytes) ends before its %zu x %zu pixels", size, w,
                        h);
            pixels.levels.clear();
            return false;
        }
        return true;
    }
    if (CcfIconIsFourLevel(icon.type)) {
        const std::size_t row = FourLevelRowBytes(w);
        if (size < row * h) {
            SetCcfError(error, "icon data of %zu bytes is too short for %zu x %zu pixels at four levels",
                        size, w, h);
            pixels.levels.clear();
            return false;
        }
        for (std::size_t y = 0; y < h; ++y) {
            const std::uint8_t* line = data + y * row;
            for (std::size_t x = 0; x < w; ++x)
                pixels.levels[y * w + x] = (line[x / 4] >> (6 - 2 * (x % 4))) & 3u;
        }
        return true;
    }
    const std::uint8_t zero = CcfIconLevelForZero(icon.type);
    const std::uint8_t one = CcfIconLevelForOne(icon.type);
    if (size == 0) {
        // No data at all: the picture is filled with the level of a 1 bit.
        pixels.levels.assign(w * h, one);
        return true;
    }
    const std::size_t row = TwoLevelRowBytes(w);
    if (size < row * h) {
        SetCcfError(error, "icon data of %zu bytes is too short for %zu x %zu pixels at two levels", size, w,
                    h);
        pixels.levels.clear();
        return false;
    }
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* line = data + y * row;
        for (std::size_t x = 0; x < w; ++x)
            pixels.levels[y * w + x] = ((line[x / 8] >> (7 - x % 8)) & 1u) ? one : zero;
    }
    return true;
}

bool CcfEncodeIcon(const CCcfPixels& pixels, std::uint16_t type, CCcfIcon& icon, CCcfError* error,
                   std::uint8_t tailByte)
{
    if (!CheckType(type, error))
        return false;
    const std::size_t w = pixels.width;
    const std::size_t h = pixels.height;
    if (pixels.levels.size() != w * h && !(pixels.colour && CcfIconIsColour(type))) {
        SetCcfError(error, "picture of %zu x %zu has %zu pixels", w, h, pixels.levels.size());
        return false;
    }
    std::vector<std::uint8_t> data;
    if (CcfIconIsColour(type)) {
        const CCcfPixels colour = CcfPixelsToColour(pixels);
        if (colour.indices.size() != w * h) {
            SetCcfError(error, "picture of %zu x %zu has %zu pixels", w, h, colour.indices.size());
            return false;
        }
        data = colour.indices;
        data.resize(CcfColourIconDataSize(data.size()), 0x00);
    } else if (CcfIconIsCompressed(type)) {
        data = CcfRleEncode(pixels.levels.data(), pixels.levels.size());
        if (data.size() & 1)
            data.push_back(tailByte);
    } else if (CcfIconIsFourLevel(type)) {
        const std::size_t row = FourLevelRowBytes(w);
        data.assign(row * h, 0);
        for (std::size_t y = 0; y < h; ++y) {
            for (std::size_t x = 0; x < w; ++x)
                data[y * row + x / 4] |= std::uint8_t((pixels.levels[y * w + x] & 3u) << (6 - 2 * (x % 4)));
        }
    } else {
        const std::uint8_t zero = CcfIconLevelForZero(type);
        const std::uint8_t one = CcfIconLevelForOne(type);
        const std::size_t row = TwoLevelRowBytes(w);
        data.assign(row * h, 0);
        for (std::size_t y = 0; y < h; ++y) {
            for (std::size_t x = 0; x < w; ++x) {
                const std::uint8_t level = pixels.levels[y * w + x] & 3u;
                if (level == zero)
                    continue;
                if (level != one) {
                    SetCcfError(error,
                                "pixel (%zu,%zu) has grey level %u; a 0x%04X icon has only levels %u and %u",
                                x, y, level, type, zero, one);
                    return false;
                }
                data[y * row + x / 8] |= std::uint8_t(0x80u >> (x % 8));
            }
        }
        if (data.size() & 1)
            data.push_back(0x00);
    }
    if (data.size() + 8 > 0xFFFF) {
        SetCcfError(error, "a %zu x %zu icon does not fit the 65535 bytes of an icon record", w, h);
        return false;
    }
    icon.width = pixels.width;
    icon.height = pixels.height;
    icon.type = type;
    icon.data = std::move(data);
    return true;
}

std::uint8_t CcfIconTailByte(const CCcfIcon& icon)
{
    if (!CcfIconIsCompressed(icon.type))
        return 0x00;
    const std::size_t codes =
        RleCodeBytes(icon.data.data(), icon.data.size(), std::size_t(icon.width) * icon.height);
    return codes != 0 && codes < icon.data.size() ? icon.data[codes] : 0x00;
}

bool CcfIconRoundTrips(const CCcfIcon& icon)
{
    CCcfPixels pixels;
    if (!CcfDecodeIcon(icon, pixels, nullptr))
        return false;
    if (!CcfIconIsFourLevel(icon.type) && CcfIconLevelForZero(icon.type) == CcfIconLevelForOne(icon.type))
        return false;
    CCcfIcon again;
    if (!CcfEncodeIcon(pixels, icon.type, again, nullptr, CcfIconTailByte(icon)))
        return false;
    return again.data == icon.data;
}

CCcfPixels CcfPixelsToColour(const CCcfPixels& pixels)
{
    if (pixels.colour)
        return pixels;
    CCcfPixels out = pixels;
    out.colour = true;
    out.indices.resize(pixels.levels.size());
    for (std::size_t i = 0; i < pixels.levels.size(); ++i)
        out.indices[i] = kCcfGreyMap[pixels.levels[i] & 3u];
    return out;
}

CCcfPixels CcfPixelsToGrey(const CCcfPixels& pixels)
{
    if (!pixels.colour)
        return pixels;
    CCcfPixels out;
    out.width = pixels.width;
    out.height = pixels.height;
    out.levels.resize(pixels.indices.size());
    for (std::size_t i = 0; i < pixels.indices.size(); ++i)
        out.levels[i] = CcfLuminanceLevel(kCcfPalette[pixels.indices[i]]);
    return out;
}
