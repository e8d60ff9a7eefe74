#include "generate/FitText.h"

#include <array>
#include <cstddef>

namespace {

// A run of character codes that share one width.
struct SWidthRun
{
    int first;
    int last;
    int width;
};

// The remote's "Pronto" font at size 8, measured per character code.
constexpr SWidthRun kFont8Runs[] = {
    {1, 31, 12},    {32, 33, 3},    {34, 34, 6},   {35, 35, 10},   {36, 36, 8},    {37, 37, 10},
    {38, 38, 9},    {39, 41, 4},    {42, 42, 9},   {43, 43, 8},    {44, 44, 4},    {45, 45, 5},
    {46, 46, 4},    {47, 47, 5},    {48, 57, 8},   {58, 59, 4},    {60, 62, 8},    {63, 63, 7},
    {64, 64, 10},   {65, 65, 9},    {66, 66, 8},   {67, 68, 9},    {69, 69, 8},    {70, 70, 7},
    {71, 72, 9},    {73, 74, 6},    {75, 75, 7},   {76, 76, 6},    {77, 77, 10},   {78, 79, 9},
    {80, 80, 8},    {81, 81, 9},    {82, 83, 8},   {84, 84, 6},    {85, 85, 9},    {86, 86, 8},
    {87, 87, 12},   {88, 89, 8},    {90, 90, 9},   {91, 91, 5},    {92, 92, 4},    {93, 93, 5},
    {94, 94, 6},    {95, 95, 7},    {96, 96, 5},   {97, 98, 7},    {99, 99, 6},    {100, 101, 7},
    {102, 102, 5},  {103, 104, 7},  {105, 106, 4}, {107, 107, 7},  {108, 108, 4},  {109, 109, 10},
    {110, 113, 7},  {114, 114, 5},  {115, 115, 7}, {116, 116, 5},  {117, 117, 7},  {118, 118, 6},
    {119, 119, 10}, {120, 121, 6},  {122, 122, 7}, {123, 123, 6},  {124, 124, 4},  {125, 125, 6},
    {126, 126, 9},  {127, 160, 12}, {161, 161, 3}, {162, 163, 6},  {164, 164, 5},  {165, 165, 8},
    {166, 166, 4},  {167, 167, 6},  {168, 168, 5}, {169, 169, 8},  {170, 171, 6},  {172, 172, 7},
    {173, 173, 6},  {174, 174, 8},  {175, 175, 7}, {176, 176, 3},  {177, 177, 8},  {178, 179, 3},
    {180, 180, 5},  {181, 181, 7},  {182, 182, 8}, {183, 183, 1},  {184, 184, 5},  {185, 185, 3},
    {186, 187, 6},  {188, 190, 9},  {191, 191, 7}, {192, 197, 9},  {198, 198, 11}, {199, 199, 9},
    {200, 203, 8},  {204, 207, 3},  {208, 209, 9}, {210, 214, 7},  {215, 215, 6},  {216, 216, 9},
    {217, 220, 7},  {221, 223, 8},  {224, 229, 7}, {230, 230, 10}, {231, 231, 6},  {232, 235, 7},
    {236, 237, 3},  {238, 238, 4},  {239, 239, 5}, {240, 240, 8},  {241, 246, 7},  {247, 247, 6},
    {248, 248, 8},  {249, 252, 7},  {253, 255, 6},
};

// The same font at size 10.
constexpr SWidthRun kFont10Runs[] = {
    {1, 31, 12},    {32, 32, 2},   {33, 33, 3},    {34, 34, 6},   {35, 35, 10},  {36, 36, 9},
    {37, 37, 10},   {38, 38, 11},  {39, 39, 4},    {40, 41, 5},   {42, 43, 9},   {44, 44, 4},
    {45, 45, 6},    {46, 47, 4},   {48, 57, 9},    {58, 59, 4},   {60, 62, 9},   {63, 63, 6},
    {64, 64, 10},   {65, 65, 9},   {66, 67, 8},    {68, 68, 10},  {69, 70, 7},   {71, 72, 10},
    {73, 73, 6},    {74, 74, 5},   {75, 75, 9},    {76, 76, 7},   {77, 77, 12},  {78, 79, 10},
    {80, 80, 8},    {81, 81, 10},  {82, 82, 9},    {83, 84, 8},   {85, 85, 10},  {86, 86, 9},
    {87, 87, 11},   {88, 88, 8},   {89, 90, 9},    {91, 91, 5},   {92, 92, 4},   {93, 93, 5},
    {94, 94, 10},   {95, 95, 7},   {96, 96, 6},    {97, 98, 8},   {99, 99, 7},   {100, 101, 8},
    {102, 102, 5},  {103, 104, 8}, {105, 106, 4},  {107, 107, 7}, {108, 108, 4}, {109, 109, 12},
    {110, 113, 8},  {114, 114, 5}, {115, 115, 7},  {116, 116, 5}, {117, 118, 8}, {119, 119, 12},
    {120, 121, 8},  {122, 122, 7}, {123, 123, 6},  {124, 124, 4}, {125, 125, 6}, {126, 126, 10},
    {127, 160, 12}, {161, 161, 4}, {162, 163, 8},  {164, 164, 6}, {165, 165, 9}, {166, 166, 4},
    {167, 167, 7},  {168, 168, 5}, {169, 169, 10}, {170, 172, 7}, {173, 173, 6}, {174, 174, 10},
    {175, 175, 7},  {176, 176, 4}, {177, 177, 9},  {178, 179, 4}, {180, 180, 6}, {181, 181, 8},
    {182, 182, 9},  {183, 183, 2}, {184, 184, 6},  {185, 185, 4}, {186, 187, 7}, {188, 190, 11},
    {191, 191, 6},  {192, 197, 9}, {198, 198, 12}, {199, 199, 8}, {200, 203, 7}, {204, 207, 3},
    {208, 209, 10}, {210, 215, 8}, {216, 216, 10}, {217, 220, 8}, {221, 221, 9}, {222, 222, 8},
    {223, 223, 9},  {224, 229, 8}, {230, 230, 12}, {231, 231, 7}, {232, 235, 8}, {236, 237, 3},
    {238, 238, 4},  {239, 239, 5}, {240, 240, 9},  {241, 246, 8}, {247, 247, 7}, {248, 248, 9},
    {249, 255, 8},
};

using WidthTable = std::array<unsigned char, 256>;

template <std::size_t N> constexpr WidthTable MakeTable(const SWidthRun (&runs)[N])
{
    WidthTable table{};
    for (const SWidthRun& run : runs)
        for (int c = run.first; c <= run.last; ++c)
            table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(run.width);
    return table;
}

// Every code from 1 to 255 must be covered exactly once, in order.
template <std::size_t N> constexpr bool RunsCoverAllCodes(const SWidthRun (&runs)[N])
{
    int next = 1;
    for (const SWidthRun& run : runs) {
        if (run.first != next || run.last < run.first || run.width < 1)
            return false;
        next = run.last + 1;
    }
    return next == 256;
}

static_assert(RunsCoverAllCodes(kFont8Runs), "font 8 widths must cover codes 1 to 255");
static_assert(RunsCoverAllCodes(kFont10Runs), "font 10 widths must cover codes 1 to 255");

constexpr WidthTable kFont8 = MakeTable(kFont8Runs);
constexpr WidthTable kFont10 = MakeTable(kFont10Runs);

bool IsTrimmedBeforeEllipsis(char c)
{
    return c == ' ' || c == '.';
}

} // namespace

int GetCharWidth(unsigned char c, bool font10)
{
    return font10 ? kFont10[c] : kFont8[c];
}

int GetTextWidth(const std::string& text, bool font10)
{
    const WidthTable& table = font10 ? kFont10 : kFont8;
    int width = 0;
    for (char c : text)
        width += table[static_cast<unsigned char>(c)];
    return width;
}

void FitText(std::string& text, bool font10, int width)
{
    if (width < 1) {
        text.clear();
        return;
    }
    int current = GetTextWidth(text, font10);
    if (current <= width)
        return;

    const int dot = GetCharWidth('.', font10);
    // The last character gives way to the ellipsis.
    current -= GetCharWidth(static_cast<unsigned char>(text.back()), font10);
    text.back() = '.';
    text.append("..");
    current += 3 * dot;

    // Shorten the part before the ellipsis, never leaving it ending in a space or a stop.
    while (text.size() > 4 && current > width) {
        std::size_t cut = text.size() - 4;
        current -= GetCharWidth(static_cast<unsigned char>(text[cut]), font10);
        text.erase(cut, 1);
        while (text.size() > 3 && IsTrimmedBeforeEllipsis(text[text.size() - 4])) {
            cut = text.size() - 4;
            current -= GetCharWidth(static_cast<unsigned char>(text[cut]), font10);
            text.erase(cut, 1);
        }
    }

    // Too narrow even for one character and the ellipsis: keep whatever prefix fits.
    while (!text.empty() && current > width) {
        current -= GetCharWidth(static_cast<unsigned char>(text.back()), font10);
        text.pop_back();
    }
}
