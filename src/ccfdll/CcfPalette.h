#pragma once

// The colour remotes' fixed 256-entry palette (ProntoPro TSU-6000, RU-970): every index in a
// colour word and in an 8-bit icon selects one entry. No file stores it; this is the one
// table the codec and the preview draw it from.
//
// Indices 0..215 are the 6x6x6 cube, red varying fastest: index = r + 6 g + 36 b with
// r, g, b in 0..5, RGB = (51 r, 51 g, 51 b). Indices 216..239 are blue-grey and mauve tints,
// 240..255 a grey ramp from white down to #101010. White occurs twice (215, 240), as does
// #908090 (234, 236), so an index cannot be recovered from its colour alone.
//
// Header-only and free of dependencies, so the preview renderer can share the table.

#include <array>
#include <cstdint>

struct CCcfRgb
{
    std::uint8_t r = 0, g = 0, b = 0;
    constexpr bool operator==(const CCcfRgb&) const = default;
};

namespace ccf_palette_detail {

constexpr std::uint32_t kExtra[40] = {
    0xC0D0F0, 0x90B0F0, 0x7090D0, 0x5070D0, 0x3060E0, 0x4050E0, 0x2040C0, 0x2030B0, // 216..223
    0xA0A0D0, 0x7070A0, 0x505090, 0x304090, 0x303080, 0x202070, 0x101070, 0x101050, // 224..231
    0xD0B0D0, 0xB090B0, 0x908090, 0xA080A0, 0x908090, 0x907090, 0x807080, 0x806080, // 232..239
    0xFFFFFF, 0xF0F0F0, 0xE0E0E0, 0xD0D0D0, 0xC0C0C0, 0xB0B0B0, 0xA0A0A0, 0x909090, // 240..247
    0x808080, 0x707070, 0x606060, 0x505050, 0x404040, 0x303030, 0x202020, 0x101010, // 248..255
};

constexpr std::array<CCcfRgb, 256> Build()
{
    std::array<CCcfRgb, 256> table{};
    for (int i = 0; i < 216; ++i)
        table[i] = {std::uint8_t(51 * (i % 6)), std::uint8_t(51 * (i / 6 % 6)), std::uint8_t(51 * (i / 36))};
    for (int i = 0; i < 40; ++i)
        table[216 + i] = {std::uint8_t(kExtra[i] >> 16), std::uint8_t(kExtra[i] >> 8),
                          std::uint8_t(kExtra[i])};
    return table;
}

} // namespace ccf_palette_detail

inline constexpr std::array<CCcfRgb, 256> kCcfPalette = ccf_palette_detail::Build();

// Nearest entry by squared distance in RGB; ties go to the lower index (so white is 215).
constexpr std::uint8_t CcfNearestPaletteIndex(CCcfRgb c)
{
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; ++i) {
        const long dr = long(c.r) - kCcfPalette[i].r;
        const long dg = long(c.g) - kCcfPalette[i].g;
        const long db = long(c.b) - kCcfPalette[i].b;
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return std::uint8_t(best);
}

// Grey level (0 black .. 3 white) a colour is shown as on a grayscale remote: the
// luminance rule floor((30 R + 59 G + 11 B) / 6400).
constexpr std::uint8_t CcfLuminanceLevel(CCcfRgb c)
{
    return std::uint8_t((30u * c.r + 59u * c.g + 11u * c.b) / 6400u);
}

// The four grey levels on a colour remote: black, #505050, #B0B0B0 and white, the shades the
// grayscale remotes show. One map serves colour words and icon pixels alike, so a level looks
// the same everywhere (white is 215 in both, not the ramp's duplicate 240).
inline constexpr std::array<std::uint8_t, 4> kCcfGreyMap = {0x00, 0xFB, 0xF5, 0xD7};

// Colour word of a colour remote: text index in the top byte, then the background index three
// times (only the low copy is read by the remote's editor; the others are kept).
constexpr std::uint32_t CcfColourWord(std::uint8_t text, std::uint8_t background)
{
    return (std::uint32_t(text) << 24) | (std::uint32_t(background) * 0x010101u);
}
constexpr std::uint8_t CcfColourWordText(std::uint32_t word)
{
    return std::uint8_t(word >> 24);
}
constexpr std::uint8_t CcfColourWordBackground(std::uint32_t word)
{
    return std::uint8_t(word);
}
// True when the three background copies agree.
constexpr bool CcfColourWordIsClean(std::uint32_t word)
{
    return ((word >> 16) & 0xFF) == (word & 0xFF) && ((word >> 8) & 0xFF) == (word & 0xFF);
}
