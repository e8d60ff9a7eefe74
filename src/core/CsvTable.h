#pragma once

// CCsvTable: an in-memory table of text cells read from and written to comma-separated
// files. The only file format the CSV import, export and preview touch directly; it
// knows nothing of the library (the CSV import maps its columns to library fields).
//
// Dialect, both ways: the comma alone separates fields, one record per line, no field
// spans lines, quoted fields with "" for a quote. Reading accepts LF, CR LF and a lone
// CR as line ends; writing uses LF. Cells are 8-bit bytes with no encoding conversion.
// Only regular files are read: a directory, FIFO or device is refused with a message.

#include "core/ErrorRecord.h"

#include <list>
#include <string>
#include <vector>

class CCsvTable
{
public:
    using Row = std::vector<std::string>;
    using RowIterator = std::list<Row>::iterator;
    using ConstRowIterator = std::list<Row>::const_iterator;

    // An empty table for writing, with that many columns.
    explicit CCsvTable(int columnCount);
    // Detects the column count of a file without reading rows: the field count of the
    // first line with more than one field; 1 when no line has more (also for an empty
    // file); 0 when the file cannot be opened.
    explicit CCsvTable(const char* fileName);
    virtual ~CCsvTable() = default;

    // Appends a row for every line of the file that is not empty or blank; fields beyond
    // the column count are ignored, missing ones stay empty. No line is treated as a
    // header. On failure the rows read so far stay.
    bool Load(CErrorRecord* errors, const char* fileName);

    // Writes every row through the atomic-save helper (a failure leaves an existing file
    // as it was). A cell holding a space, tab, comma or double quote is enclosed in
    // double quotes with its quotes doubled; others are written unchanged.
    bool Save(CErrorRecord* errors, const char* fileName) const;

    RowIterator AddRow();
    void SetCell(RowIterator row, int column, const char* text);
    void SetCell(RowIterator row, int column, std::string&& text);
    std::string GetCell(ConstRowIterator row, int column) const;
    // The same cell without a copy; an empty text outside the table. Valid while the
    // row is unchanged.
    const std::string& GetCellText(ConstRowIterator row, int column) const;

    RowIterator FirstRow() { return m_rows.begin(); }
    RowIterator EndOfRows() { return m_rows.end(); }
    ConstRowIterator FirstRow() const { return m_rows.begin(); }
    ConstRowIterator EndOfRows() const { return m_rows.end(); }
    static RowIterator NextRow(RowIterator row) { return ++row; }
    static ConstRowIterator NextRow(ConstRowIterator row) { return ++row; }

    int GetColumnCount() const { return m_nColumnCount; }
    std::size_t GetRowCount() const { return m_rows.size(); }

    // One line of the file for a row, without its line end (the writer's quoting rule).
    std::string FormatRow(const Row& row) const;
    // Splits one line into at most `columns` cells as Load does (missing cells empty).
    static Row SplitLine(const std::string& line, int columns);
    static int CountFields(const std::string& line);

private:
    int m_nColumnCount = 0;
    std::list<Row> m_rows;
};
