#include "core/CsvTable.h"

#include "core/AtomicFile.h"
#include "core/NextToken.h"
#include "core/RegularFile.h"

#include <cstdio>
#include <iterator>
#include <memory>

namespace {

// Reads one line of any length without its line end. A line ends at LF, at CR LF (a
// file from Windows) or at a lone CR (a spreadsheet's "CSV (Macintosh)"). False at the
// end of the file when nothing was read.
bool ReadLine(std::FILE* file, std::string& line)
{
    line.clear();
    int c = getc_unlocked(file);
    if (c == EOF)
        return false;
    for (; c != EOF; c = getc_unlocked(file)) {
        if (c == '\n')
            return true;
        if (c == '\r') {
            int next = getc_unlocked(file);
            if (next != '\n' && next != EOF)
                ungetc(next, file);
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
    return true;
}

bool IsBlankLine(const std::string& line)
{
    for (char c : line) {
        if (!IsBlankChar(c))
            return false;
    }
    return true;
}

struct CFileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

CCsvTable::CCsvTable(int columnCount) : m_nColumnCount(columnCount < 0 ? 0 : columnCount) {}

CCsvTable::CCsvTable(const char* fileName)
{
    std::unique_ptr<std::FILE, CFileCloser> file(OpenRegularFileStream(fileName, nullptr));
    if (!file)
        return;
    std::string line;
    int count = 1; // the scan of the empty text after the last line has one field
    while (ReadLine(file.get(), line)) {
        int n = CountFields(line);
        if (n > 1) {
            count = n;
            break;
        }
        count = n;
    }
    m_nColumnCount = count;
}

int CCsvTable::CountFields(const std::string& line)
{
    int n = 0;
    const char* p = line.c_str();
    while (NextToken(&p, ",", nullptr, nullptr, 0, false, true, true))
        ++n;
    return n;
}

CCsvTable::Row CCsvTable::SplitLine(const std::string& line, int columns)
{
    Row row(static_cast<std::size_t>(columns > 0 ? columns : 0));
    std::string buffer(line.size() + 1, '\0');
    const char* p = line.c_str();
    for (int column = 0; column < columns; ++column) {
        if (!NextToken(&p, ",", nullptr, buffer.data(), buffer.size(), false, true, true))
            break;
        row[static_cast<std::size_t>(column)] = buffer.c_str();
    }
    return row;
}

bool CCsvTable::Load(CErrorRecord* errors, const char* fileName)
{
    if (m_nColumnCount == 0) {
        // The column scan could not open the file; a special file is named as such.
        (void)CheckRegularFile(fileName, errors);
        SetMessage(errors, "Input file appears to have no columns. Could not read from %s", fileName);
        return false;
    }
    std::unique_ptr<std::FILE, CFileCloser> file(OpenRegularFileStream(fileName, errors));
    if (!file) {
        SetMessage(errors, "Could not read from %s", fileName);
        return false;
    }
    std::string line;
    while (ReadLine(file.get(), line)) {
        if (IsBlankLine(line))
            continue;
        m_rows.push_back(SplitLine(line, m_nColumnCount));
    }
    return true;
}

std::string CCsvTable::FormatRow(const Row& row) const
{
    std::string out;
    for (int column = 0; column < m_nColumnCount; ++column) {
        if (column > 0)
            out += ',';
        const std::string& cell = static_cast<std::size_t>(column) < row.size() ? row[column] : std::string();
        // A tab is quoted as well as a space: the reader trims blanks outside quotes,
        // so an unquoted leading or trailing tab would be lost.
        if (cell.find_first_of(" \t,\"") == std::string::npos) {
            out += cell;
            continue;
        }
        out += '"';
        for (char c : cell) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

bool CCsvTable::Save(CErrorRecord* errors, const char* fileName) const
{
    std::string text;
    for (const Row& row : m_rows) {
        text += FormatRow(row);
        text += '\n';
    }
    bool wasEmpty = IsEmpty(errors);
    if (!WriteFileAtomically(fileName, text, errors)) {
        if (wasEmpty)
            AddContext(errors, "Could not write to %s", fileName);
        return false;
    }
    return true;
}

CCsvTable::RowIterator CCsvTable::AddRow()
{
    m_rows.emplace_back(static_cast<std::size_t>(m_nColumnCount));
    return std::prev(m_rows.end());
}

void CCsvTable::SetCell(RowIterator row, int column, const char* text)
{
    if (column < 0 || column >= m_nColumnCount)
        return;
    (*row)[static_cast<std::size_t>(column)] = text != nullptr ? text : "";
}

void CCsvTable::SetCell(RowIterator row, int column, std::string&& text)
{
    if (column < 0 || column >= m_nColumnCount)
        return;
    (*row)[static_cast<std::size_t>(column)] = std::move(text);
}

std::string CCsvTable::GetCell(ConstRowIterator row, int column) const
{
    return GetCellText(row, column);
}

const std::string& CCsvTable::GetCellText(ConstRowIterator row, int column) const
{
    static const std::string empty;
    if (column < 0 || column >= m_nColumnCount || static_cast<std::size_t>(column) >= row->size())
        return empty;
    return (*row)[static_cast<std::size_t>(column)];
}
