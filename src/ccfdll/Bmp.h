#pragma once

// Windows bitmap files for the icons of the CCF codec.
//
// Reading accepts uncompressed (BI_RGB) files with 1, 4, 8, 24 or 32 bits per pixel,
// bottom-up or top-down, with a 40-byte or larger information header (or the old 12-byte
// core header), and checks every size and offset against the file before using it. The
// pixels come back as 8-bit grey values (0.299 R + 0.587 G + 0.114 B), which CcfGreyToLevel
// maps to the remote's four levels, and as their colours. An 8-bit file whose palette is the
// colour remotes' palette (CcfPalette.h) also gives its indices as they stand, so that
// duplicate palette colours keep their index.
//
// Writing produces the decompiler's forms: for a grey picture 4 bits per pixel and a palette
// of exactly four entries whose index is the level (0 black #000000, 1 dark grey #808080,
// 2 light grey #C0C0C0, 3 white #FFFFFF); for a colour picture 8 bits per pixel and the
// 256-entry palette; bottom-up rows padded to four bytes.

#include "ccfdll/CcfError.h"
#include "ccfdll/CcfIcon.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CBmpImage
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> grey; // width * height, top row first
    std::vector<std::uint8_t> rgb;  // width * height * 3 (red, green, blue), top row first
    // Palette indices when the file is 8-bit with exactly the colour remotes' palette.
    std::vector<std::uint8_t> paletteIndices;
};

// Largest picture accepted (each side); the remote's screen is 240 x 220 and icons are
// 16-bit sized.
constexpr std::uint32_t kBmpMaxSide = 4096;

bool ReadBmp(const std::uint8_t* data, std::size_t size, CBmpImage& image, CCcfError* error);
bool ReadBmpFile(const std::string& path, CBmpImage& image, CCcfError* error);

// Nearest of the four level shades above (0x00, 0x80, 0xC0, 0xFF); ties go to the darker.
std::uint8_t CcfGreyToLevel(std::uint8_t grey);
// The shade written for a level.
std::uint8_t CcfLevelToGrey(std::uint8_t level);

// Converts a read bitmap to icon pixels (fails when a side exceeds 65535). The grey levels
// are always filled. A picture that uses only the four level shades stays a grey picture;
// any other becomes a colour picture too: its own indices when it carries the remote's
// palette, else each pixel's nearest palette entry.
bool BmpToPixels(const CBmpImage& image, CCcfPixels& pixels, CCcfError* error);

// The file for a picture: 4-bit four-entry palette for grey, 8-bit 256-entry for colour.
std::vector<std::uint8_t> WriteBmp(const CCcfPixels& pixels);
// Writes it through a temporary file and rename (no partial file on failure).
bool WriteBmpFile(const std::string& path, const CCcfPixels& pixels, CCcfError* error);
