#pragma once

// An image of the remote's four grey levels (0 black, 1 dark grey, 2 light grey,
// 3 white), or for the colour remotes of indices into their 256-colour palette
// (ccfdll/CcfPalette.h), the BMP pictures a configuration carries read into it, and PNG
// output.

#include "core/ErrorRecord.h"

#include <cstdint>
#include <string>
#include <vector>

struct SPreviewRect
{
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
    SPreviewRect Intersect(const SPreviewRect& o) const;
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

class CPreviewImage
{
public:
    CPreviewImage() = default;
    // A colour image holds palette indices; a grey one levels 0..3.
    CPreviewImage(int width, int height, std::uint8_t level, bool colour = false);
    bool IsColour() const { return m_bColour; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // Out of the image: reads 0, writes nothing.
    std::uint8_t Get(int x, int y) const;
    void Set(int x, int y, std::uint8_t level);
    void Fill(const SPreviewRect& rect, std::uint8_t level);
    // Copies `source` with its top left corner at (x, y), only inside `clip`. A grey source
    // on a colour image is shown through the grey map.
    void Blit(const CPreviewImage& source, int x, int y, const SPreviewRect& clip);
    SPreviewRect Bounds() const { return {0, 0, m_nWidth, m_nHeight}; }

private:
    int m_nWidth = 0, m_nHeight = 0;
    bool m_bColour = false;
    std::vector<std::uint8_t> m_levels;
};

// The 8-bit grey value of a level (0x00, 0x55, 0xAA, 0xFF).
std::uint8_t GreyOfLevel(std::uint8_t level);

// Reads an uncompressed 1-, 4- or 8-bit BMP file (at most 4096 pixels a side), each
// palette colour turned into the nearest grey level (the codec's shades 0x00, 0x80, 0xC0
// and 0xFF, as it reads pictures when compiling). False with a reason otherwise.
// colour: read into palette indices as the codec stores the picture in a colour file: a
// file with the remote's palette keeps its indices, one drawn in the four grey shades goes
// through the grey map, any other takes each colour's nearest palette entry.
bool ReadPreviewBmp(const std::string& path, CPreviewImage& image, CErrorRecord* errors, bool colour = false);

// Writes an 8-bit greyscale PNG (an RGB PNG of the palette's colours for a colour image),
// each pixel `scale` × `scale` (1 to 16), through a temporary file renamed over the
// target, so a failure leaves no half-written file.
bool WritePreviewPng(const CPreviewImage& image, const std::string& path, int scale, CErrorRecord* errors);
