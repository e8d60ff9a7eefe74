// libFuzzer target for the bitmap reader the CCF compiler uses on icon files: any bytes
// must be read or refused with a reason, and what is read converts to icon pixels that
// write back as a bitmap reading to the same picture (grey levels, or the palette indices
// of a colour picture).

#include "ccfdll/Bmp.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CBmpImage image;
    CCcfError error;
    if (!ReadBmp(data, size, image, &error)) {
        if (error.IsEmpty())
            __builtin_trap();
        return 0;
    }
    CCcfPixels pixels;
    if (!BmpToPixels(image, pixels, &error))
        __builtin_trap(); // sides are limited to 4096, so every read picture fits an icon
    const std::vector<std::uint8_t> file = WriteBmp(pixels);
    CBmpImage again;
    CCcfPixels back;
    if (!ReadBmp(file.data(), file.size(), again, &error) || !BmpToPixels(again, back, &error) ||
        !back.SameAs(pixels))
        __builtin_trap();
    return 0;
}
