#pragma once

// The glyph data of the preview's bitmap font: one design for printable ASCII on a grid
// of nine rows (capitals in rows 0-6, descenders in rows 7-8), each glyph as wide as its
// ink. PreviewFont places and stretches them into the advance widths of each size.

#include <cstdint>

constexpr int kGlyphRows = 9;

struct SPreviewGlyph
{
    bool defined = false;
    int width = 0;                       // ink columns; 0 for the blank
    std::uint16_t rows[kGlyphRows] = {}; // bit n: column n (from the left) is ink
};

// The glyph of a printable ASCII byte; null for every other byte.
const SPreviewGlyph* FindPreviewGlyph(unsigned char c);
