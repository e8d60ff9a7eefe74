#include "preview/PreviewFont.h"

#include "generate/FitText.h"

#include "preview/PreviewFontGlyphs.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How a glyph of the nine-row design is stretched into one size: which design row and
// column each output row and column shows. Size 8 keeps the design's rows; size 10
// repeats rows 1 and 5 (capitals grow from 7 to 9 rows, strokes stay one pixel). Both
// widen a glyph by repeating up to two inner columns that are not stems, as far as the
// advance leaves two columns of space, so that letters fill their cells as the remote's
// do. Other sizes scale by the nearest pixel.
class CGlyphShape
{
public:
    CGlyphShape(const SPreviewGlyph& glyph, unsigned size, int advance) : m_glyph(glyph), m_nSize(size)
    {
        const int room = std::max(advance - 1, 1);
        if (size == 8 || size == 10) {
            m_nRows = size == 8 ? kGlyphRows : kGlyphRows + 2;
            ChooseRepeats(std::min(advance - 2, room) - glyph.width);
            m_nColumns = glyph.width + m_nRepeats;
        } else {
            m_nRows = std::max(1, kGlyphRows * static_cast<int>(size) / 8);
            m_nColumns =
                glyph.width == 0 ? 0 : std::clamp((glyph.width * static_cast<int>(size) + 4) / 8, 1, room);
        }
        m_nColumns = std::min(m_nColumns, room);
    }
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }
    bool IsInk(int row, int column) const
    {
        int r = row, c = column;
        if (m_nSize == 8 || m_nSize == 10) {
            static const int rowOf10[kGlyphRows + 2] = {0, 1, 1, 2, 3, 4, 5, 5, 6, 7, 8};
            if (m_nSize == 10)
                r = rowOf10[row];
            // Output columns past a repeated design column show the one before them.
            for (int i = 0; i < m_nRepeats; ++i)
                if (column > m_repeats[i] + i)
                    --c;
        } else {
            r = row * kGlyphRows / m_nRows;
            c = column * m_glyph.width / m_nColumns;
        }
        return r >= 0 && r < kGlyphRows && c >= 0 && c < m_glyph.width && ((m_glyph.rows[r] >> c) & 1) != 0;
    }

private:
    bool IsThin(int column) const
    {
        int ink = 0;
        for (int r = 0; r < kGlyphRows; ++r)
            ink += (m_glyph.rows[r] >> column) & 1;
        return ink <= 3;
    }

    // Up to `wanted` (at most two) inner thin columns: a pair mirrored about the centre
    // when two are wanted and one exists, else the one nearest the centre.
    void ChooseRepeats(int wanted)
    {
        const int w = m_glyph.width;
        if (wanted <= 0 || w < 3)
            return;
        if (wanted >= 2)
            for (int c = (w - 1) / 2; c >= 1; --c)
                if (c != w - 1 - c && IsThin(c) && IsThin(w - 1 - c)) {
                    m_repeats[0] = c, m_repeats[1] = w - 1 - c, m_nRepeats = 2;
                    return;
                }
        int best = -1;
        for (int c = 1; c < w - 1; ++c)
            if (IsThin(c) && (best < 0 || std::abs(2 * c - (w - 1)) < std::abs(2 * best - (w - 1))))
                best = c;
        if (best >= 0)
            m_repeats[0] = best, m_nRepeats = 1;
    }

    const SPreviewGlyph& m_glyph;
    unsigned m_nSize;
    int m_nRows = 0, m_nColumns = 0;
    int m_repeats[2] = {0, 0}; // ascending
    int m_nRepeats = 0;
};

// Rows of a capital at a size: the height of placeholders.
int CapRows(unsigned size)
{
    if (size == 8)
        return 7;
    if (size == 10)
        return 9;
    return std::max(1, 7 * static_cast<int>(size) / 8);
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

int PreviewLineHeight(unsigned size)
{
    return size == 0 ? 0 : static_cast<int>(size) + 2;
}

void DrawPreviewText(CPreviewImage& image, int x, int y, const std::string& text, unsigned size,
                     std::uint8_t level, const SPreviewRect& clip)
{
    const SPreviewRect area = clip.Intersect(image.Bounds());
    auto plot = [&](int px, int py) {
        if (px >= area.left && px < area.right && py >= area.top && py < area.bottom)
            image.Set(px, py, level);
    };
    const int top = y + 1;
    for (unsigned char c : text) {
        const int advance = PreviewCharAdvance(c, size);
        if (advance > 0) {
            if (const SPreviewGlyph* glyph = FindPreviewGlyph(c)) {
                const CGlyphShape shape(*glyph, size, advance);
                const int left = x + (advance - shape.GetColumns()) / 2;
                for (int row = 0; row < shape.GetRows(); ++row)
                    for (int column = 0; column < shape.GetColumns(); ++column)
                        if (shape.IsInk(row, column))
                            plot(left + column, top + row);
            } else {
                // Bytes the font has no glyph for: a hatched box for 128-255 (the
                // remote's own symbols), an empty box for control bytes.
                const int width = std::max(1, advance - 1), height = CapRows(size);
                const int left = x + (advance - width) / 2;
                for (int row = 0; row < height; ++row)
                    for (int column = 0; column < width; ++column) {
                        const bool edge = row == 0 || column == 0 || row == height - 1 || column == width - 1;
                        if (edge || (c >= 128 && ((row + column) & 1) == 0))
                            plot(left + column, top + row);
                    }
            }
        }
        x += advance;
    }
}
