// libFuzzer target for the binary CCF reader, grayscale and colour files alike. Beyond "no
// crash, no hang", it checks the reader's promise to the writer: a model the reader accepts
// can be written (unless it holds 256-colour data not padded to 16, which the writer
// refuses), the result reads back, and writing that again gives the same bytes; and a file
// converted to the other family (grey <-> colour) can be written too.

#include "ccfdll/CcfConvert.h"
#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CCcfFile file;
    CCcfError error;
    CCcfWarnings warnings;
    if (!ReadCcf(data, size, file, &error, &warnings)) {
        if (error.IsEmpty())
            __builtin_trap(); // a refusal must say why
        return 0;
    }
    for (const CCcfIcon& icon : file.icons) {
        CCcfPixels pixels;
        if (CcfDecodeIcon(icon, pixels, nullptr)) {
            CCcfIcon again;
            CcfEncodeIcon(pixels, icon.type, again, nullptr, CcfIconTailByte(icon));
        }
    }
    bool unpadded = false;
    for (const CCcfIcon& icon : file.icons)
        unpadded = unpadded || (file.IsColour() && CcfIconIsColour(icon.type) &&
                                !CcfIconIsCompressed(icon.type) && icon.data.size() % 16 != 0);
    std::vector<std::uint8_t> first;
    if (!WriteCcf(file, first, &error)) {
        if (unpadded)
            return 0;
        __builtin_trap();
    }
    CCcfFile converted = file;
    std::vector<std::string> dropped;
    if (CcfConvertFamily(converted, file.IsColour() ? 0x00020001u : kCcfCapProntoPro, dropped, nullptr)) {
        std::vector<std::uint8_t> other;
        if (!WriteCcf(converted, other, &error))
            __builtin_trap();
    }
    CCcfFile back;
    if (!ReadCcf(first.data(), first.size(), back, &error))
        __builtin_trap();
    std::vector<std::uint8_t> second;
    if (!WriteCcf(back, second, &error) || second != first)
        __builtin_trap();
    return 0;
}
