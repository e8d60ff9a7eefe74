#include "model/InitialLetter.h"

#include <array>

namespace {

// Built once, before any thread can ask for it.
constexpr std::array<char, 256> MakeInitialTable()
{
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        if (c >= 'A' && c <= 'Z')
            table[c] = static_cast<char>(c);
        else if (c >= 'a' && c <= 'z')
            table[c] = static_cast<char>(c - 'a' + 'A');
        else
            table[c] = '#';
    }
    return table;
}

constexpr std::array<char, 256> kInitialTable = MakeInitialTable();

} // namespace

char GetInitialLetter(const char* text)
{
    if (!text)
        return '#';
    return kInitialTable[static_cast<unsigned char>(text[0])];
}

int CompareSortKeys(const CNameText& a, const CNameText& b)
{
    const char* ka = a.GetPlain();
    const char* kb = b.GetPlain();
    bool hashA = GetInitialLetter(ka) == '#';
    bool hashB = GetInitialLetter(kb) == '#';
    if (hashA != hashB)
        return hashA ? -1 : 1;
    return CompareNoCase(ka, kb);
}
