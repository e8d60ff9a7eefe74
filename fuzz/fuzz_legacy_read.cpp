// Fuzzes the legacy text import: any bytes are read, parsed and built into a library.

#include "exchange/LegacyImporter.h"
#include "model/Library.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::tmpfile();
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::rewind(file);
    CLegacyImporter importer;
    CErrorRecord errors;
    CLibrary library;
    if (importer.Read(&errors, file) && importer.Parse(&errors))
        importer.Build(&errors, library);
    std::fclose(file);
    return 0;
}
