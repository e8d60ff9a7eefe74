#pragma once

// The mapping between the library tree and comma-separated tables: the user's column
// assignment of the eleven library fields (kept in the "CSV" settings key), the tree
// walk that turns the library into rows, the import that turns rows back into lists,
// artists, discs and tracks, and the toolkit-free work of the CSV job and its preview.

#include "core/CsvTable.h"
#include "core/ErrorRecord.h"
#include "core/Progress.h"
#include "exchange/ImportLimits.h"

#include <memory>
#include <optional>
#include <string>

class CLibrary;
#include "model/Player.h"

// The fields in their canonical order; the index is the field's place in the map.
enum ECsvField {
    kCsvListName = 0,
    kCsvPlayerName,
    kCsvArtistName,
    kCsvArtistShortName,
    kCsvArtistSortAsName,
    kCsvDiscNumber,
    kCsvDiscName,
    kCsvDiscShortName,
    kCsvDiscSortAsName,
    kCsvTrackNumber,
    kCsvTrackName,
    kCsvFieldCount
};

struct CCsvFieldInfo
{
    const char* key;     // settings value name, also the --columns name
    const char* heading; // data preview column heading
    const char* label;   // check box text
};
const CCsvFieldInfo& GetCsvFieldInfo(int index);
// The index of a field key (exact letter case first, then ignoring it); -1 when none.
int FindCsvField(const char* key);

constexpr int kCsvMaxColumn = 99;

// Column numbers per field: 0 not used, 1..99 the 1-based table column.
class CCsvColumnMap
{
public:
    CCsvColumnMap() = default;
    static CCsvColumnMap Canonical();

    int GetColumn(int field) const { return (field >= 0 && field < kCsvFieldCount) ? m_columns[field] : 0; }
    void SetColumn(int field, int column)
    {
        if (field >= 0 && field < kCsvFieldCount)
            m_columns[field] = column;
    }
    // The largest column used (values below 1 count as 0).
    int GetColumnCount() const;
    // The largest column that two or more fields use; 0 when none.
    int GetDuplicateColumn() const;

    // Reads the "CSV" settings key (a missing value is 0); writes used fields and deletes
    // the values of the others.
    void LoadSettings();
    bool SaveSettings() const;

    // Parses "ListName=1,ArtistName=2,..." (fields not named are unused). Records
    // a message and returns false on an unknown field or a column outside 0..99.
    bool Parse(CErrorRecord* errors, const std::string& text);
    // Checks an assignment before use: "No columns defined." or
    // "Column %d defined for multiple fields.".
    bool Validate(CErrorRecord* errors) const;

private:
    int m_columns[kCsvFieldCount] = {};
};

// One branch of the tree walk or one table row: per field a present flag and a value.
class CCsvRowContext
{
public:
    explicit CCsvRowContext(const CCsvColumnMap& map) : m_pMap(&map) {}

    // Every field with a column is present.
    bool IsComplete() const;
    // Does nothing and returns false for a field without a column.
    bool StoreField(int field, const std::string& text);
    const std::optional<std::string>& GetField(int field) const { return m_values[field]; }
    // Present exactly for the mapped fields whose cell is not empty.
    void FillFromRow(const CCsvTable& table, CCsvTable::ConstRowIterator row);
    void AddRow(CCsvTable& table) const&;
    // The same, handing the texts over to the row.
    void AddRow(CCsvTable& table) &&;

private:
    const CCsvColumnMap* m_pMap;
    std::optional<std::string> m_values[kCsvFieldCount];
};

// One row per node at the deepest level a used column needs; true when a row was written.
bool ExportLibraryToTable(const CLibrary& library, const CCsvRowContext& context, CCsvTable& table);
// Adds the rows to the library, finding lists, artists, discs and tracks by name. A
// failure stops at once; what was added before stays. A row the library cannot hold is
// refused, naming its place ("FILE, row N: ..." with sourceName, else "Row N: ..."):
// a text longer than kMaxImportedNameBytes, or a track number outside 0 to 99, which
// would otherwise be clamped onto another track.
bool ImportTableIntoLibrary(CLibrary& library, CErrorRecord* errors, const CCsvRowContext& context,
                            const CCsvTable& table, const char* sourceName = nullptr);

// The work of the CSV job. Import: read the file, import it, then link the discs to
// the players. Export: build the table with the map's column count and save it.
bool RunCsvImport(CLibrary& library, const CPlayers& players, CErrorRecord* errors, CProgressSink* progress,
                  const char* fileName, const CCsvColumnMap& map);
bool RunCsvExport(const CLibrary& library, CErrorRecord* errors, CProgressSink* progress,
                  const char* fileName, const CCsvColumnMap& map);

// The preview's work. Import: the raw table of the file, and the data a temporary
// library would hold after importing it (exported with the canonical map); the real
// library is not touched. Export: the data of the library (canonical map) and the
// table an export with the user's map would write. Null outputs are not produced.
bool RunCsvImportPreview(CErrorRecord* errors, CProgressSink* progress, const char* fileName,
                         const CCsvColumnMap& map, std::unique_ptr<CCsvTable>* csv,
                         std::unique_ptr<CCsvTable>* data);
bool RunCsvExportPreview(const CLibrary& library, CProgressSink* progress, const CCsvColumnMap& map,
                         std::unique_ptr<CCsvTable>* csv, std::unique_ptr<CCsvTable>* data);
