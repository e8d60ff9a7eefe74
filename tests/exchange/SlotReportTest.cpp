#include "exchange/SlotReport.h"
#include "CsvRows.h"
#include "model/Library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A library of one list "Jazz" whose discs name their player by device name only (the
// report falls back to it when a disc is not linked).
class SlotReport : public ::testing::Test
{
protected:
    // Rows of artist, disc, player and disc number.
    void AddDiscs(const dwtest::Rows& discs)
    {
        auto map =
            dwtest::Map({{kCsvArtistName, 1}, {kCsvDiscName, 2}, {kCsvPlayerName, 3}, {kCsvDiscNumber, 4}});
        ASSERT_TRUE(dwtest::Import(library, map, discs));
        library.GetLists().GetAt(0)->GetName().SetPlain("Jazz");
    }

    CSlotReportRows Rows(ESlotTab tab) const
    {
        CSlotReportData data;
        BuildSlotReport(data, library);
        return BuildSlotRows(data, tab);
    }

    CLibrary library;
};

Lines Cells(const CSlotReportRows& rows)
{
    Lines lines;
    for (const CSlotRow& row : rows.rows) {
        std::string line;
        for (const std::string& cell : row.cells)
            line += (line.empty() ? "" : " | ") + cell;
        lines.push_back(line);
    }
    return lines;
}

TEST_F(SlotReport, LowestHighestAndGapsOfOnePlayer)
{
    AddDiscs({{"Monk", "Brilliant Corners", "Changer", "5"},
              {"Monk", "Monk's Dream", "Changer", "1"},
              {"Monk", "Underground", "Changer", "2"}});

    EXPECT_EQ(Cells(Rows(ESlotTab::Lowest)), Lines{"Changer | 1 | Jazz: Monk: Monk's Dream"});
    EXPECT_EQ(Cells(Rows(ESlotTab::Highest)), Lines{"Changer | 5 | Jazz: Monk: Brilliant Corners"});
    CSlotReportRows gaps = Rows(ESlotTab::Gaps);
    EXPECT_EQ(gaps.columns, (Lines{"Player", "Range", "Disc Before", "Disc After"}));
    EXPECT_EQ(Cells(gaps),
              Lines{"Changer | 3 - 4 | Jazz: Monk: Underground | Jazz: Monk: Brilliant Corners"});
    EXPECT_EQ(Cells(Rows(ESlotTab::Duplicates)), Lines{"No duplicates in any player."});
    EXPECT_EQ(Rows(ESlotTab::Duplicates).columns, Lines{"Note"});
}

TEST_F(SlotReport, SingleSlotGapDuplicatesAndUnknownDevices)
{
    AddDiscs({{"Davis", "Kind of Blue", "Nowhere", "3"},
              {"Davis", "Milestones", "Nowhere", "5"},
              {"Evans", "Sunday", "Nowhere", "7"},
              {"Evans", "Waltz", "Nowhere", "7"},
              {"Evans", "No Player", "", "9"}});

    EXPECT_EQ(Cells(Rows(ESlotTab::Gaps)),
              (Lines{"Nowhere | 4 | Jazz: Davis: Kind of Blue | Jazz: Davis: Milestones",
                     "Nowhere | 6 | Jazz: Davis: Milestones | Jazz: Evans: Sunday"}));
    EXPECT_EQ(Cells(Rows(ESlotTab::Duplicates)),
              (Lines{"Nowhere | 7 | Jazz: Evans: Sunday", "Nowhere | 7 | Jazz: Evans: Waltz"}));
    // The disc without any player name is in no tab.
    EXPECT_EQ(Cells(Rows(ESlotTab::AllDiscs)),
              (Lines{"Nowhere | 3 | Jazz: Davis: Kind of Blue", "Nowhere | 5 | Jazz: Davis: Milestones",
                     "Nowhere | 7 | Jazz: Evans: Sunday", "Nowhere | 7 | Jazz: Evans: Waltz"}));
}

TEST_F(SlotReport, SortingNumbersNumericallyAndDiscsByLibraryOrder)
{
    AddDiscs({{"Ayler", "Spirits", "b", "10"},
              {"Ayler", "Bells", "b", "9"},
              {"Coltrane", "Ascension", "A", "100"},
              {"Coltrane", "Ballads", "A", "20"}});

    CSlotReportRows rows = Rows(ESlotTab::AllDiscs);
    // Column 0 sorts players ignoring case, ties by number ascending.
    EXPECT_EQ(Cells(rows), (Lines{"A | 20 | Jazz: Coltrane: Ballads", "A | 100 | Jazz: Coltrane: Ascension",
                                  "b | 9 | Jazz: Ayler: Bells", "b | 10 | Jazz: Ayler: Spirits"}));

    SortSlotRows(rows, 1, false); // numbers descending: 100 before 20, not as text
    EXPECT_EQ(rows.rows.front().cells[1], "100");
    EXPECT_EQ(rows.rows.back().cells[1], "9");

    // Discs sort by their place: artist Ayler before Coltrane, and within an artist by
    // the disc collection's order (here the order they were added), not by their text.
    SortSlotRows(rows, 2, true);
    EXPECT_EQ(rows.rows[0].cells[2], "Jazz: Ayler: Spirits");
    EXPECT_EQ(rows.rows[1].cells[2], "Jazz: Ayler: Bells");
    EXPECT_EQ(rows.rows[2].cells[2], "Jazz: Coltrane: Ascension");

    // Descending on the player column keeps the tie-break ascending.
    SortSlotRows(rows, 0, false);
    EXPECT_EQ(Cells(rows)[0], "b | 9 | Jazz: Ayler: Bells");
    EXPECT_EQ(Cells(rows)[1], "b | 10 | Jazz: Ayler: Spirits");
}

} // namespace
