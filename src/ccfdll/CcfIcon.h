#pragma once

// Icon pixels. A decoded grey picture is one grey level per pixel (0 black, 1 dark grey,
// 2 light grey, 3 white), row after row, no padding; a colour picture is one palette index
// per pixel (CcfPalette.h).
//
// Type 0x0701 (colour files): 256 colours, one palette index per pixel, rows top to bottom
// without padding, the data zero-padded to a multiple of 16 bytes. 0x8701 is a compressed
// variant nobody has seen written (kept as raw bytes, never decoded or written anew);
// types with all bits of 0x0781 set are the Tonto editor's own 32-bit pictures (refused).
//
// Type word: 0x0100 four levels uncompressed (rows padded to an even byte count);
// 0x8100 four levels run-length compressed; bit 0x0100 clear: one bit per pixel (rows of
// ceil(w/8) bytes, one 0x00 byte appended when the data is odd), where bits 12-11 give the
// level drawn for a 1 bit and bits 10-9 the level for a 0 bit.

#include "ccfdll/CcfError.h"
#include "ccfdll/CcfModel.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::uint16_t kCcfIconFourLevels = 0x0100;
constexpr std::uint16_t kCcfIconCompressed = 0x8000;

constexpr std::uint16_t kCcfIconColour = 0x0701;

// Tested before the grey bits: 0x0701 shares bit 0x0100 with the four-level type.
inline bool CcfIconIsTontoPicture(std::uint16_t type)
{
    return (type & 0x0781) == 0x0781;
}
inline bool CcfIconIsColour(std::uint16_t type)
{
    return (type & kCcfIconColour) == kCcfIconColour && !CcfIconIsTontoPicture(type);
}
inline bool CcfIconIsCompressed(std::uint16_t type)
{
    return (type & kCcfIconCompressed) != 0;
}
inline bool CcfIconIsFourLevel(std::uint16_t type)
{
    return (type & kCcfIconFourLevels) != 0;
}
inline std::uint8_t CcfIconLevelForOne(std::uint16_t type)
{
    return (type >> 11) & 3u;
}
inline std::uint8_t CcfIconLevelForZero(std::uint16_t type)
{
    return (type >> 9) & 3u;
}
// Type word of a two-level icon drawing 0 bits in `zeroLevel` and 1 bits in `oneLevel`.
inline std::uint16_t CcfIconTwoLevelType(std::uint8_t zeroLevel, std::uint8_t oneLevel)
{
    return static_cast<std::uint16_t>(((oneLevel & 3u) << 11) | ((zeroLevel & 3u) << 9));
}

// Largest picture decoded (pixels); far above any remote's screen.
constexpr std::size_t kCcfMaxIconPixels = std::size_t(4096) * 4096;

// A decoded picture.
struct CCcfPixels
{
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::vector<std::uint8_t> levels; // width * height grey levels 0..3 (a colour picture's grey look)
    // A colour picture: width * height palette indices. Empty for a grey picture.
    std::vector<std::uint8_t> indices{};
    bool colour = false;

    std::uint8_t At(int x, int y) const { return levels[std::size_t(y) * width + x]; }
    bool SameAs(const CCcfPixels& other) const
    {
        return width == other.width && height == other.height && colour == other.colour &&
               (colour ? indices == other.indices : levels == other.levels);
    }
};

// Padded data length of a 256-colour icon of `pixels` pixels.
inline std::size_t CcfColourIconDataSize(std::size_t pixels)
{
    return (pixels + 15) / 16 * 16;
}

// The picture as a colour remote shows it: grey levels become palette indices through the
// grey map (CcfPalette.h); a colour picture is returned unchanged.
CCcfPixels CcfPixelsToColour(const CCcfPixels& pixels);
// The picture as a grayscale remote shows it: each palette index becomes the grey level of
// its colour's luminance; a grey picture is returned unchanged.
CCcfPixels CcfPixelsToGrey(const CCcfPixels& pixels);

// Decodes any grayscale icon type and the uncompressed 256-colour type. Fails (with the
// reason) when the data is too short for the picture or the type cannot be decoded
// (compressed colour, Tonto pictures, unknown low bits). Bytes beyond the picture are
// ignored.
bool CcfDecodeIcon(const CCcfIcon& icon, CCcfPixels& pixels, CCcfError* error);

// Encodes pixels as an icon of the given type (0x0100, 0x8100, a two-level type, or 0x0701
// from a colour picture, zero-padded to 16). A grey type takes the levels, 0x0701 the
// indices (a grey picture is mapped first). For a two-level type every pixel must be one of
// its two levels (else false). `tailByte` is the
// byte appended after the run-length codes when their count is odd (the editor writes 0x00).
// The results are the editor's bytes: unused bits 0, even row padding for four levels, the
// odd-data pad for two levels.
bool CcfEncodeIcon(const CCcfPixels& pixels, std::uint16_t type, CCcfIcon& icon, CCcfError* error,
                   std::uint8_t tailByte = 0x00);

// Run-length stream of the editor's encoder (runs of 4..35 equal pixels, else three literal
// pixels), without the even padding.
std::vector<std::uint8_t> CcfRleEncode(const std::uint8_t* levels, std::size_t count);
// Decodes `count` pixels; false when the data ends first.
bool CcfRleDecode(const std::uint8_t* data, std::size_t size, std::size_t count, std::uint8_t* levels);

// Byte that follows the run-length codes of a compressed icon (to re-encode it identically);
// 0x00 when the icon is not compressed or has no such byte.
std::uint8_t CcfIconTailByte(const CCcfIcon& icon);

// True when decode followed by CcfEncodeIcon(type, CcfIconTailByte) gives back exactly the
// icon's bytes, i.e. a text form may carry the icon as a picture (bitmap) plus its type word.
// False for icons with junk in unused bits, extra bytes, or two equal levels in a 1-bit type;
// those must be carried as raw bytes.
bool CcfIconRoundTrips(const CCcfIcon& icon);
