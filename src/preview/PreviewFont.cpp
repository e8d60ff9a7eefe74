#include "preview/PreviewFont.h"

#include "generate/FitText.h"

#include <cctype>

namespace {

// 3×5 block glyphs: five rows of three bits (bit 2 the left column).
struct SGlyph
{
    char c;
    unsigned char rows[5];
};

constexpr SGlyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}}, {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}},
    {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'.', {0, 0, 0, 0, 2}}, {',', {0, 0, 0, 2, 4}}, {'-', {0, 0, 7, 0, 0}}, {':', {0, 2, 0, 2, 0}},
    {'\'', {2, 2, 0, 0, 0}}, {'/', {1, 1, 2, 4, 4}}, {'!', {2, 2, 2, 0, 2}}, {'?', {7, 1, 2, 0, 2}},
    {'(', {1, 2, 2, 2, 1}}, {')', {4, 2, 2, 2, 4}}, {'&', {2, 5, 2, 5, 3}}, {'+', {0, 2, 7, 2, 0}},
    {'<', {1, 2, 4, 2, 1}}, {'>', {4, 2, 1, 2, 4}}, {'=', {0, 7, 0, 7, 0}}, {'#', {5, 7, 5, 7, 5}},
    {'"', {5, 5, 0, 0, 0}}, {'_', {0, 0, 0, 0, 7}}, {'*', {5, 2, 7, 2, 5}}, {';', {0, 2, 0, 2, 4}},
};

constexpr unsigned char kBox[5] = {7, 5, 5, 5, 7};

const unsigned char* GlyphRows(unsigned char c)
{
    unsigned char upper = static_cast<unsigned char>(std::toupper(c));
    for (const SGlyph& g : kGlyphs)
        if (static_cast<unsigned char>(g.c) == upper)
            return g.rows;
    return kBox;
}

} // namespace

int PreviewCharAdvance(unsigned char c, unsigned size)
{
    if (size == 0 || c == 0)
        return 0;
    if (size == 8)
        return GetCharWidth(c, false);
    if (size == 10)
        return GetCharWidth(c, true);
    bool font10 = size >= 10;
    int base = GetCharWidth(c, font10);
    return (base * static_cast<int>(size) + (font10 ? 5 : 4)) / (font10 ? 10 : 8);
}

int PreviewTextWidth(const std::string& text, unsigned size)
{
    int width = 0;
    for (unsigned char c : text)
        width += PreviewCharAdvance(c, size);
    return width;
}

int PreviewLineHeight(unsigned size) { return size == 0 ? 0 : static_cast<int>(size) + 2; }

void DrawPreviewText(CPreviewImage& image, int x, int y, const std::string& text, unsigned size, std::uint8_t level,
                     const SPreviewRect& clip)
{
    const int capHeight = static_cast<int>(size) * 3 / 4 > 0 ? static_cast<int>(size) * 3 / 4 : 1;
    const SPreviewRect area = clip.Intersect(image.Bounds());
    for (unsigned char c : text) {
        const int advance = PreviewCharAdvance(c, size);
        const int cellWidth = advance - 1; // one column of spacing
        if (c != ' ' && cellWidth > 0) {
            // Lower case is the same block letter, shorter by a quarter.
            const bool lower = std::islower(c) != 0;
            const int height = lower ? capHeight * 3 / 4 : capHeight;
            const int top = y + 1 + (capHeight - height);
            for (int py = 0; py < height; ++py) {
                for (int px = 0; px < cellWidth; ++px) {
                    const int gx = px * 3 / cellWidth, gy = py * 5 / height;
                    bool on;
                    if (c >= 128)
                        on = px == 0 || py == 0 || px == cellWidth - 1 || py == height - 1 || ((px + py) & 1) == 0;
                    else
                        on = (GlyphRows(c)[gy] >> (2 - gx)) & 1;
                    const int ix = x + px, iy = top + py;
                    if (on && ix >= area.left && ix < area.right && iy >= area.top && iy < area.bottom)
                        image.Set(ix, iy, level);
                }
            }
        }
        x += advance;
    }
}
