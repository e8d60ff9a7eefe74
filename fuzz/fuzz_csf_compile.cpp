// libFuzzer target for the compiler's CSF reader: any text must be read or refused with a
// line and reason, never crash or loop; whatever it accepts must be writable as a CCF and
// read back by the binary reader.

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Pictures come from memory: a name containing "missing" has none, any other one gets a
// small picture whose size depends on the name, so icon table entries sometimes fit.
bool FakePicture(const std::string& path, CCcfPixels& pixels, CCcfError* error)
{
    if (path.find("missing") != std::string::npos) {
        SetCcfError(error, "no such picture");
        return false;
    }
    pixels.width = std::uint16_t(1 + path.size() % 7);
    pixels.height = std::uint16_t(1 + path.size() % 5);
    pixels.levels.assign(std::size_t(pixels.width) * pixels.height, 0);
    for (std::size_t i = 0; i < pixels.levels.size(); ++i)
        pixels.levels[i] = std::uint8_t((i + path.size()) & 3u);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CCcfFile file;
    CCcfError error;
    if (!ReadCsf(text, file, &error, FakePicture)) {
        if (error.IsEmpty())
            __builtin_trap(); // a refusal always says why
        return 0;
    }
    std::vector<std::uint8_t> bytes;
    if (!WriteCcf(file, bytes, &error))
        return 0;
    CCcfFile back;
    if (!ReadCcf(bytes.data(), bytes.size(), back, &error))
        __builtin_trap(); // the writer's output must always read back
    CCsfText again;
    FormatCsf(back, again, &error);
    return 0;
}
