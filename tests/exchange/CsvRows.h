#pragma once

// Tables of CSV cells built in memory, for the importer and exporter tests.

#include "exchange/CsvExchange.h"
#include "model/Library.h"

#include <string>
#include <utility>
#include <vector>

namespace dwtest {

using Rows = std::vector<std::vector<std::string>>;

inline CCsvColumnMap Map(std::initializer_list<std::pair<int, int>> columns)
{
    CCsvColumnMap map;
    for (auto [field, column] : columns)
        map.SetColumn(field, column);
    return map;
}

inline CCsvTable Table(const Rows& rows, int columns)
{
    CCsvTable table(columns);
    for (const auto& cells : rows) {
        auto row = table.AddRow();
        for (std::size_t i = 0; i < cells.size(); ++i)
            table.SetCell(row, static_cast<int>(i), cells[i].c_str());
    }
    return table;
}

inline Rows Cells(const CCsvTable& table)
{
    Rows rows;
    for (auto row = table.FirstRow(); row != table.EndOfRows(); row = CCsvTable::NextRow(row))
        rows.push_back(*row);
    return rows;
}

inline bool Import(CLibrary& library, const CCsvColumnMap& map, const Rows& rows,
                   CErrorRecord* errors = nullptr, const char* source = nullptr)
{
    CCsvTable table = Table(rows, map.GetColumnCount());
    return ImportTableIntoLibrary(library, errors, CCsvRowContext(map), table, source);
}

} // namespace dwtest
