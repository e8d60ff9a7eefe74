// Build-time tool: turns the text-art sources of the generated panels' bitmaps into one
// C++ source that embeds each of them as a complete 4-bit Windows bitmap file.
//
//   dw_bitmap_compiler OUTPUT.cpp NAME.bmp=PALETTE=SOURCE.txt ...
//
// PALETTE is 4 (entries light grey, white, dark grey, black) or 16 (black, dark grey,
// light grey, white, then twelve unused black entries). A source is a text file: lines
// that begin with ';' are comments, every other line is one row of pixels, top row first,
// one character per pixel:
//
//   '#' black   '+' dark grey   ':' light grey   '.' white
//
// All rows must have the same length. Files with the four-entry palette carry two zero
// bytes after the pixel rows (included in the file size), as the files the remote's
// editor produced always did.
//
// The tool depends on nothing but the C++ library, so it builds before everything else.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum Grey { kBlack, kDarkGrey, kLightGrey, kWhite };

struct Source
{
    std::string fileName;
    int paletteSize = 4;
    std::string path;
    int width = 0;
    int height = 0;
    std::vector<Grey> pixels; // top row first
};

bool Fail(const std::string& text)
{
    std::fprintf(stderr, "dw_bitmap_compiler: %s\n", text.c_str());
    return false;
}

bool ParseGrey(char c, Grey& grey)
{
    switch (c) {
    case '#':
        grey = kBlack;
        return true;
    case '+':
        grey = kDarkGrey;
        return true;
    case ':':
        grey = kLightGrey;
        return true;
    case '.':
        grey = kWhite;
        return true;
    default:
        return false;
    }
}

bool ReadSource(Source& source)
{
    std::ifstream in(source.path, std::ios::binary);
    if (!in)
        return Fail("cannot open " + source.path);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        if (source.width == 0)
            source.width = static_cast<int>(line.size());
        if (static_cast<int>(line.size()) != source.width)
            return Fail(source.path + ":" + std::to_string(lineNumber) + ": row is " +
                        std::to_string(line.size()) + " pixels wide, expected " +
                        std::to_string(source.width));
        for (char c : line) {
            Grey grey;
            if (!ParseGrey(c, grey))
                return Fail(source.path + ":" + std::to_string(lineNumber) + ": unknown pixel character '" +
                            std::string(1, c) + "'");
            source.pixels.push_back(grey);
        }
        ++source.height;
    }
    if (source.width == 0 || source.height == 0)
        return Fail(source.path + ": no pixel rows");
    return true;
}

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xff));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

void PutColour(std::vector<std::uint8_t>& out, std::uint8_t level)
{
    out.push_back(level); // blue
    out.push_back(level); // green
    out.push_back(level); // red
    out.push_back(0);
}

// The remote's four greys.
constexpr std::uint8_t kLevel[4] = {0x00, 0x80, 0xc0, 0xff};

std::vector<std::uint8_t> BuildBitmap(const Source& source)
{
    const unsigned rowBytes = ((static_cast<unsigned>(source.width) * 4 + 31) / 32) * 4;
    const unsigned imageBytes = rowBytes * static_cast<unsigned>(source.height);
    const unsigned paletteBytes = static_cast<unsigned>(source.paletteSize) * 4;
    const unsigned offset = 14 + 40 + paletteBytes;
    const unsigned trailer = source.paletteSize == 4 ? 2 : 0;
    const unsigned fileSize = offset + imageBytes + trailer;

    // Index of each grey in the file's palette.
    int index[4];
    if (source.paletteSize == 4) {
        index[kLightGrey] = 0;
        index[kWhite] = 1;
        index[kDarkGrey] = 2;
        index[kBlack] = 3;
    } else {
        index[kBlack] = 0;
        index[kDarkGrey] = 1;
        index[kLightGrey] = 2;
        index[kWhite] = 3;
    }

    std::vector<std::uint8_t> out;
    out.reserve(fileSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0); // reserved
    Put32(out, offset);

    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(source.width));
    Put32(out, static_cast<std::uint32_t>(source.height)); // positive: rows bottom-up
    Put16(out, 1);                                         // planes
    Put16(out, 4);                                         // bits per pixel
    Put32(out, 0);                                         // BI_RGB, uncompressed
    Put32(out, imageBytes);
    Put32(out, 2835); // 72 dots per inch
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(source.paletteSize));
    Put32(out, static_cast<std::uint32_t>(source.paletteSize));

    if (source.paletteSize == 4) {
        PutColour(out, kLevel[kLightGrey]);
        PutColour(out, kLevel[kWhite]);
        PutColour(out, kLevel[kDarkGrey]);
        PutColour(out, kLevel[kBlack]);
    } else {
        PutColour(out, kLevel[kBlack]);
        PutColour(out, kLevel[kDarkGrey]);
        PutColour(out, kLevel[kLightGrey]);
        PutColour(out, kLevel[kWhite]);
        for (int i = 4; i < source.paletteSize; ++i)
            PutColour(out, 0);
    }

    for (int row = source.height - 1; row >= 0; --row) {
        std::vector<std::uint8_t> bytes(rowBytes, 0);
        for (int x = 0; x < source.width; ++x) {
            const int value = index[source.pixels[static_cast<std::size_t>(row) * source.width + x]];
            bytes[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? value << 4 : value);
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    out.insert(out.end(), trailer, 0);
    return out;
}

std::string Identifier(std::size_t index)
{
    return "kBitmap" + std::to_string(index);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: dw_bitmap_compiler OUTPUT.cpp NAME.bmp=PALETTE=SOURCE.txt ...\n");
        return 2;
    }
    std::vector<Source> sources;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t first = arg.find('=');
        const std::size_t second = first == std::string::npos ? first : arg.find('=', first + 1);
        if (second == std::string::npos) {
            Fail("bad argument " + arg);
            return 2;
        }
        Source source;
        source.fileName = arg.substr(0, first);
        const std::string palette = arg.substr(first + 1, second - first - 1);
        if (palette != "4" && palette != "16") {
            Fail("palette must be 4 or 16 in " + arg);
            return 2;
        }
        source.paletteSize = palette == "4" ? 4 : 16;
        source.path = arg.substr(second + 1);
        if (!ReadSource(source))
            return 1;
        sources.push_back(source);
    }

    std::ostringstream code;
    code << "// Generated by dw_bitmap_compiler from src/generate/bitmaps/*.txt; do not edit.\n"
         << "#include \"generate/Bitmaps.h\"\n\n#include <cstring>\n\nnamespace {\n\n";
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::vector<std::uint8_t> bytes = BuildBitmap(sources[i]);
        code << "// " << sources[i].fileName << ": " << sources[i].width << " x " << sources[i].height << ", "
             << bytes.size() << " bytes\n";
        code << "const std::uint8_t " << Identifier(i) << "[" << bytes.size() << "] = {";
        for (std::size_t b = 0; b < bytes.size(); ++b) {
            if (b % 16 == 0)
                code << "\n   ";
            code << " " << static_cast<unsigned>(bytes[b]) << ",";
        }
        code << "\n};\n\n";
    }
    code << "const SEmbeddedBitmap kBitmaps[] = {\n";
    for (std::size_t i = 0; i < sources.size(); ++i)
        code << "    {\"" << sources[i].fileName << "\", sizeof(" << Identifier(i) << "), " << Identifier(i)
             << "},\n";
    code << "};\n\n} // namespace\n\n"
         << "std::size_t GetEmbeddedBitmapCount()\n{\n    return sizeof(kBitmaps) / "
            "sizeof(kBitmaps[0]);\n}\n\n"
         << "const SEmbeddedBitmap& GetEmbeddedBitmap(std::size_t index)\n{\n    return "
            "kBitmaps[index];\n}\n\n"
         << "const SEmbeddedBitmap* FindEmbeddedBitmap(const char* fileName)\n{\n"
         << "    if (!fileName)\n        return nullptr;\n"
         << "    for (const SEmbeddedBitmap& entry : kBitmaps)\n"
         << "        if (std::strcmp(entry.fileName, fileName) == 0)\n            return &entry;\n"
         << "    return nullptr;\n}\n";

    // Write only when the text changed, so an unchanged picture does not rebuild the library.
    const std::string output = argv[1];
    {
        std::ifstream old(output, std::ios::binary);
        std::ostringstream oldText;
        oldText << old.rdbuf();
        if (old && oldText.str() == code.str())
            return 0;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << code.str();
    out.close();
    if (!out) {
        Fail("cannot write " + output);
        return 1;
    }
    return 0;
}
