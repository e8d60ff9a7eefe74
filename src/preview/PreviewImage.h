#pragma once

// An image of the remote's four grey levels (0 black, 1 dark grey, 2 light grey,
// 3 white), the BMP pictures a configuration carries read into it, and PNG output.

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
    CPreviewImage(int width, int height, std::uint8_t level);
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // Out of the image: reads 0, writes nothing.
    std::uint8_t Get(int x, int y) const;
    void Set(int x, int y, std::uint8_t level);
    void Fill(const SPreviewRect& rect, std::uint8_t level);
    // Copies `source` with its top left corner at (x, y), only inside `clip`.
    void Blit(const CPreviewImage& source, int x, int y, const SPreviewRect& clip);
    SPreviewRect Bounds() const { return {0, 0, m_nWidth, m_nHeight}; }

private:
    int m_nWidth = 0, m_nHeight = 0;
    std::vector<std::uint8_t> m_levels;
};

// The 8-bit grey value of a level (0x00, 0x55, 0xAA, 0xFF).
std::uint8_t GreyOfLevel(std::uint8_t level);

// Reads an uncompressed 1-, 4- or 8-bit BMP file (at most 4096 pixels a side), each
// palette colour turned into the nearest grey level (the codec's shades 0x00, 0x80, 0xC0
// and 0xFF, as it reads pictures when compiling). False with a reason otherwise.
bool ReadPreviewBmp(const std::string& path, CPreviewImage& image, CErrorRecord* errors);

// Writes an 8-bit greyscale PNG, each pixel `scale` × `scale` (1 to 16), through a
// temporary file renamed over the target, so a failure leaves no half-written file.
bool WritePreviewPng(const CPreviewImage& image, const std::string& path, int scale, CErrorRecord* errors);
