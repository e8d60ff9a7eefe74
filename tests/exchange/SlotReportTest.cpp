#include "exchange/SlotReport.h"
#include "model/Library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A library of one list "Jazz" whose discs name their player by device name only (the
// report falls back to it when a disc is not linked).
struct CSlotLibrary
{
    CLibrary library;
    CLibList* list = nullptr;

    CSlotLibrary()
    {
        auto* l = new CLibList(&library);
        l->GetName().SetPlain("Jazz");
        list = library.GetLists().Add(nullptr, l);
    }

    CArtist* Artist(const char* name)
    {
        CNameText n;
        n.SetPlain(name);
        if (CArtist* found = list->GetArtists().FindByName(n, nullptr))
            return found;
        auto* artist = new CArtist(list);
        artist->GetName().SetPlain(name);
        return list->GetArtists().Add(nullptr, artist);
    }

    void Disc(const char* artist, const char* name, const char* player, int number)
    {
        CArtist* a = Artist(artist);
        auto* disc = new CDisc(a);
        disc->GetName().SetPlain(name);
        disc->SetNumber(number);
        CNameText device;
        device.SetPlain(player);
        disc->SetDeviceName(device);
        a->GetDiscs().Add(nullptr, disc);
    }

    CSlotReportRows Rows(ESlotTab tab) const
    {
        CSlotReportData data;
        BuildSlotReport(data, library);
        return BuildSlotRows(data, tab);
    }
};

std::vector<std::string> Cells(const CSlotReportRows& rows)
{
    std::vector<std::string> lines;
    for (const CSlotRow& row : rows.rows) {
        std::string line;
        for (const std::string& cell : row.cells)
            line += (line.empty() ? "" : " | ") + cell;
        lines.push_back(line);
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(SlotReport, LowestHighestAndGapsOfOnePlayer)
{
    CSlotLibrary lib;
    lib.Disc("Monk", "Brilliant Corners", "Changer", 5);
    lib.Disc("Monk", "Monk's Dream", "Changer", 1);
    lib.Disc("Monk", "Underground", "Changer", 2);

    EXPECT_EQ(Cells(lib.Rows(ESlotTab::Lowest)), Lines{"Changer | 1 | Jazz: Monk: Monk's Dream"});
    EXPECT_EQ(Cells(lib.Rows(ESlotTab::Highest)), Lines{"Changer | 5 | Jazz: Monk: Brilliant Corners"});
    CSlotReportRows gaps = lib.Rows(ESlotTab::Gaps);
    EXPECT_EQ(gaps.columns, (Lines{"Player", "Range", "Disc Before", "Disc After"}));
    EXPECT_EQ(Cells(gaps),
              Lines{"Changer | 3 - 4 | Jazz: Monk: Underground | Jazz: Monk: Brilliant Corners"});
    EXPECT_EQ(Cells(lib.Rows(ESlotTab::Duplicates)), Lines{"No duplicates in any player."});
    EXPECT_EQ(lib.Rows(ESlotTab::Duplicates).columns, Lines{"Note"});
}

TEST(SlotReport, SingleSlotGapDuplicatesAndUnknownDevices)
{
    CSlotLibrary lib;
    lib.Disc("Davis", "Kind of Blue", "Nowhere", 3);
    lib.Disc("Davis", "Milestones", "Nowhere", 5);
    lib.Disc("Evans", "Sunday", "Nowhere", 7);
    lib.Disc("Evans", "Waltz", "Nowhere", 7);
    lib.Disc("Evans", "No Player", "", 9);

    EXPECT_EQ(Cells(lib.Rows(ESlotTab::Gaps)),
              (Lines{"Nowhere | 4 | Jazz: Davis: Kind of Blue | Jazz: Davis: Milestones",
                     "Nowhere | 6 | Jazz: Davis: Milestones | Jazz: Evans: Sunday"}));
    EXPECT_EQ(Cells(lib.Rows(ESlotTab::Duplicates)),
              (Lines{"Nowhere | 7 | Jazz: Evans: Sunday", "Nowhere | 7 | Jazz: Evans: Waltz"}));
    // The disc without any player name is in no tab.
    Lines all = Cells(lib.Rows(ESlotTab::AllDiscs));
    EXPECT_EQ(all.size(), 4u);
    for (const std::string& line : all)
        EXPECT_EQ(line.find("No Player"), std::string::npos);
}

TEST(SlotReport, SortingNumbersNumericallyAndDiscsByLibraryOrder)
{
    CSlotLibrary lib;
    lib.Disc("Ayler", "Spirits", "b", 10);
    lib.Disc("Ayler", "Bells", "b", 9);
    lib.Disc("Coltrane", "Ascension", "A", 100);
    lib.Disc("Coltrane", "Ballads", "A", 20);

    CSlotReportRows rows = lib.Rows(ESlotTab::AllDiscs);
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
