#pragma once

// The slot report: per player, which slots of the jukebox the library's discs use.
// Collecting cannot fail; the rows of each tab are plain text so that the report dialog,
// the command line and CSV output all show the same thing.

#include <map>
#include <string>
#include <vector>

class CDisc;
class CLibrary;

// The discs of one player, indexed by disc number (slot 0 up to the highest in use).
// The discs are not owned; they stay valid while the library is not edited.
struct CSlotTable
{
    std::string playerName;
    // (not "slots": that word is a macro wherever Qt's headers are included)
    std::vector<std::vector<const CDisc*>> slotDiscs;
};

class CSlotReportData
{
public:
    virtual ~CSlotReportData() = default;

    void Clear() { m_tables.clear(); }
    CSlotTable& FindOrAdd(const std::string& playerName);
    // Keyed by the exact player name, so names that differ in case stay apart.
    const std::map<std::string, CSlotTable>& GetTables() const { return m_tables; }

private:
    std::map<std::string, CSlotTable> m_tables;
};

// Clears `data` and fills it from every disc of every list and artist in collection
// order. A disc's player name is its linked player's name, else its device name; discs
// with neither are left out.
void BuildSlotReport(CSlotReportData& data, const CLibrary& library);

enum class ESlotTab : int { Lowest = 0, Highest = 1, Gaps = 2, Duplicates = 3, AllDiscs = 4 };
constexpr int kSlotTabCount = 5;
const char* GetSlotTabName(ESlotTab tab); // "Lowest", "Highest", "Gaps", "Duplicates", "All Discs"

// How a column sorts.
enum class ESlotColumnKind { Player, Number, Disc, Note };

struct CSlotRow
{
    std::vector<std::string> cells;
    int number = 0;                             // the slot, or the first slot of a gap
    const CDisc* discs[2] = {nullptr, nullptr}; // the disc column(s), left to right
};

struct CSlotReportRows
{
    std::vector<std::string> columns;
    std::vector<ESlotColumnKind> kinds;
    std::vector<CSlotRow> rows;
};

// The rows of one tab, sorted by the player column ascending. A tab without rows has the
// single column "Note" and one row saying so.
CSlotReportRows BuildSlotRows(const CSlotReportData& data, ESlotTab tab);

// Sorts by `column`; ties are broken by the other columns from left to right, always
// ascending. Numbers sort numerically, players as text ignoring case, discs by their
// place in the library (list, artist, disc in collection order).
void SortSlotRows(CSlotReportRows& rows, int column, bool ascending);
