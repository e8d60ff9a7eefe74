// Fuzzes the CSV path of the import: any bytes as a file, detected, loaded, imported
// with every field mapped (and with a sparse map), then exported again.

#include "core/CsvTable.h"
#include "exchange/CsvExchange.h"
#include "model/Library.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/fuzz_csv_read_" + std::to_string(getpid()) + ".csv";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    CCsvTable table(path.c_str());
    CErrorRecord errors;
    bool loaded = table.Load(&errors, path.c_str());
    std::remove(path.c_str());
    if (!loaded)
        return 0;

    CCsvColumnMap sparse;
    sparse.SetColumn(kCsvArtistName, 2);
    sparse.SetColumn(kCsvDiscName, 1);
    sparse.SetColumn(kCsvTrackNumber, 3);
    for (const CCsvColumnMap& map : {CCsvColumnMap::Canonical(), sparse}) {
        CLibrary library;
        CErrorRecord importErrors;
        ImportTableIntoLibrary(library, &importErrors, CCsvRowContext(map), table);
        CCsvTable out(map.GetColumnCount());
        ExportLibraryToTable(library, CCsvRowContext(map), out);
        for (auto row = out.FirstRow(); row != out.EndOfRows(); row = CCsvTable::NextRow(row))
            (void)out.FormatRow(*row);
    }
    return 0;
}
