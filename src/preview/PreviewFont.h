#pragma once

// The preview's own bitmap font. Its advance widths are exactly the widths FitText
// measures with for font sizes 8 and 10 (other sizes scaled from the nearer of the two),
// so that a label the generator fitted into a frame fits there in the picture as well.
// Glyphs are our own pixel design (capitals seven rows high at size 8, nine at size 10),
// centred in each character's advance and never wider than it less one column; bytes
// 128-255 draw as a visible placeholder (a hatched box), control bytes as an empty box.

#include "preview/PreviewImage.h"

#include <string>

// Pixel advance of one byte at a point size (0 for size 0 and for byte 0).
int PreviewCharAdvance(unsigned char c, unsigned size);
int PreviewTextWidth(const std::string& text, unsigned size);
// Height of a line of text at a size.
int PreviewLineHeight(unsigned size);

// Draws text with its top left at (x, y) in `level`, only inside `clip`. Capitals begin
// one row below y; descenders reach down to the line height.
void DrawPreviewText(CPreviewImage& image, int x, int y, const std::string& text, unsigned size,
                     std::uint8_t level, const SPreviewRect& clip);
