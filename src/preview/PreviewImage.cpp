#include "preview/PreviewImage.h"

#include "ccfdll/CcfPalette.h"
#include "core/AtomicFile.h"
#include "core/RegularFile.h"

#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

SPreviewRect SPreviewRect::Intersect(const SPreviewRect& o) const
{
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
}

CPreviewImage::CPreviewImage(int width, int height, std::uint8_t level, bool colour)
    : m_nWidth(std::max(width, 0)), m_nHeight(std::max(height, 0)), m_bColour(colour),
      m_levels(static_cast<std::size_t>(m_nWidth) * static_cast<std::size_t>(m_nHeight),
               colour ? level : std::uint8_t(level & 3))
{
}

std::uint8_t CPreviewImage::Get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0;
    return m_levels[static_cast<std::size_t>(y) * m_nWidth + x];
}

void CPreviewImage::Set(int x, int y, std::uint8_t level)
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return;
    m_levels[static_cast<std::size_t>(y) * m_nWidth + x] = m_bColour ? level : std::uint8_t(level & 3);
}

void CPreviewImage::Fill(const SPreviewRect& rect, std::uint8_t level)
{
    SPreviewRect r = rect.Intersect(Bounds());
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            m_levels[static_cast<std::size_t>(y) * m_nWidth + x] =
                m_bColour ? level : std::uint8_t(level & 3);
}

void CPreviewImage::Blit(const CPreviewImage& source, int x, int y, const SPreviewRect& clip)
{
    SPreviewRect r =
        SPreviewRect{x, y, x + source.m_nWidth, y + source.m_nHeight}.Intersect(clip).Intersect(Bounds());
    const bool map = m_bColour && !source.m_bColour;
    for (int py = r.top; py < r.bottom; ++py)
        for (int px = r.left; px < r.right; ++px) {
            const std::uint8_t value = source.Get(px - x, py - y);
            Set(px, py, map ? kCcfGreyMap[value & 3] : value);
        }
}

std::uint8_t GreyOfLevel(std::uint8_t level)
{
    return static_cast<std::uint8_t>((level & 3) * 0x55);
}

namespace {

std::uint32_t U32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
// The nearest of the shades the codec writes its pictures with and reads them back by
// (a tie keeps the darker level), so that a picture shows the levels the remote gets.
std::uint8_t LevelOfGrey(unsigned grey)
{
    static const unsigned shades[4] = {0x00, 0x80, 0xC0, 0xFF};
    std::uint8_t best = 0;
    unsigned bestDistance = ~0u;
    for (std::uint8_t level = 0; level < 4; ++level) {
        const unsigned distance = grey > shades[level] ? grey - shades[level] : shades[level] - grey;
        if (distance < bestDistance)
            best = level, bestDistance = distance;
    }
    return best;
}

std::uint16_t U16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// libpng reports errors by longjmp out of these calls. The work lives in a function of
// its own, kept out of line, so that nothing it changes lives in the frame that called
// setjmp (such locals would be undefined after the jump), and it owns nothing with a
// destructor the jump would skip.
[[gnu::noinline]] void WritePngBody(png_structp png, png_infop info, std::FILE* file,
                                    const CPreviewImage& image, int scale, std::vector<png_byte>& row)
{
    const int width = image.GetWidth() * scale, height = image.GetHeight() * scale;
    const bool colour = image.IsColour();
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colour ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t value = image.Get(x / scale, y / scale);
            if (colour) {
                const CCcfRgb rgb = kCcfPalette[value];
                png_byte* p = &row[3 * static_cast<std::size_t>(x)];
                p[0] = rgb.r, p[1] = rgb.g, p[2] = rgb.b;
            } else {
                row[static_cast<std::size_t>(x)] = GreyOfLevel(value);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
}

// Only the arguments live across setjmp, and none of them is changed after it.
bool WritePngRows(png_structp png, png_infop info, std::FILE* file, const CPreviewImage& image, int scale,
                  std::vector<png_byte>& row)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    WritePngBody(png, info, file, image, scale, row);
    return true;
}

bool WritePng(std::FILE* file, const CPreviewImage& image, int scale)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(static_cast<std::size_t>(std::max(image.GetWidth() * scale, 1)) *
                              (image.IsColour() ? 3 : 1));
    bool ok = info && WritePngRows(png, info, file, image, scale, row);
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return ok;
}

} // namespace

bool ReadPreviewBmp(const std::string& path, CPreviewImage& image, CErrorRecord* errors, bool colour)
{
    constexpr std::size_t kMaxFile = 16u << 20;
    // Only regular files: a picture path naming a FIFO or a device would block or never end.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        SetSystemError(errors, "Unable to read %s", path.c_str());
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        SetMessage(errors, "Unable to read %s: it is %s, not a regular file\n", path.c_str(),
                   DescribeFileKind(info.st_mode));
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetSystemError(errors, "Unable to read %s", path.c_str());
        return false;
    }
    std::vector<unsigned char> data;
    data.reserve(4096);
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        data.insert(data.end(), buffer, buffer + in.gcount());
        if (data.size() > kMaxFile) {
            SetMessage(errors, "%s is too large for a picture\n", path.c_str());
            return false;
        }
    }
    if (data.size() < 54 || data[0] != 'B' || data[1] != 'M') {
        SetMessage(errors, "%s is not a BMP picture\n", path.c_str());
        return false;
    }
    std::uint32_t offset = U32(&data[10]);
    std::uint32_t headerSize = U32(&data[14]);
    std::int32_t width = static_cast<std::int32_t>(U32(&data[18]));
    std::int32_t height = static_cast<std::int32_t>(U32(&data[22]));
    unsigned bits = U16(&data[28]);
    std::uint32_t compression = U32(&data[30]);
    std::uint32_t colours = U32(&data[46]);
    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (headerSize < 40 || headerSize > data.size() - 14 || width <= 0 || height <= 0 || width > 4096 ||
        height > 4096 || (bits != 1 && bits != 4 && bits != 8) || compression != 0) {
        SetMessage(errors, "%s is not an uncompressed 1-, 4- or 8-bit BMP picture\n", path.c_str());
        return false;
    }
    std::uint32_t maxColours = 1u << bits;
    if (colours == 0 || colours > maxColours)
        colours = maxColours;
    std::size_t paletteAt = 14 + headerSize;
    std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    if (paletteAt + 4 * static_cast<std::size_t>(colours) > data.size() || offset > data.size() ||
        stride * static_cast<std::size_t>(height) > data.size() - offset) {
        SetMessage(errors, "%s is cut short\n", path.c_str());
        return false;
    }
    std::uint8_t levels[256] = {};
    for (std::uint32_t i = 0; i < colours; ++i) {
        const unsigned char* c = &data[paletteAt + 4 * i]; // blue, green, red
        levels[i] = LevelOfGrey((c[2] * 299u + c[1] * 587u + c[0] * 114u + 500u) / 1000u);
    }
    if (colour) {
        // What the codec stores for the picture in a colour file (the palette's own indices,
        // the grey map for the four shades, else the nearest entry), palette entry by entry.
        static const unsigned shades[4] = {0x00, 0x80, 0xC0, 0xFF};
        bool remote = bits == 8 && colours == 256, fourShades = true;
        CCcfRgb rgb[256];
        for (std::uint32_t i = 0; i < colours; ++i) {
            const unsigned char* c = &data[paletteAt + 4 * i];
            rgb[i] = {c[2], c[1], c[0]};
            remote = remote && rgb[i] == kCcfPalette[i];
            fourShades = fourShades && c[0] == c[1] && c[1] == c[2] && c[0] == shades[levels[i]];
        }
        for (std::uint32_t i = 0; i < colours; ++i)
            levels[i] = remote       ? std::uint8_t(i)
                        : fourShades ? kCcfGreyMap[levels[i]]
                                     : CcfNearestPaletteIndex(rgb[i]);
    }
    image = CPreviewImage(width, height, colour ? kCcfGreyMap[3] : 3, colour);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row =
            &data[offset + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            unsigned index;
            if (bits == 8)
                index = row[x];
            else if (bits == 4)
                index = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F;
            else
                index = (row[x / 8] >> (7 - (x & 7))) & 1;
            image.Set(x, y, index < colours ? levels[index] : 0);
        }
    }
    return true;
}

bool WritePreviewPng(const CPreviewImage& image, const std::string& path, int scale, CErrorRecord* errors)
{
    if (scale < 1 || scale > 16) {
        SetMessage(errors, "The scale must be between 1 and 16\n");
        return false;
    }
    CAtomicFile file;
    if (!file.Open(path.c_str(), errors))
        return false;
    if (!WritePng(file.GetFile(), image, scale)) {
        file.Abort();
        SetMessage(errors, "Unable to write %s\n", path.c_str());
        return false;
    }
    return file.Commit(errors);
}
