#include "exchange/CsvExchange.h"
#include "CsvRows.h"
#include "common/SettingsGuard.h"
#include "common/TempDir.h"
#include "core/Registry.h"
#include "model/Library.h"
#include "model/ModelTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dwtest::Cells;
using dwtest::Import;
using dwtest::Map;
using dwtest::Rows;
using dwtest::Table;

Rows Export(const CLibrary& library, const CCsvColumnMap& map)
{
    CCsvTable table(map.GetColumnCount());
    ExportLibraryToTable(library, CCsvRowContext(map), table);
    return Cells(table);
}

// Export cases start from two lists: "Rock" (Queen with two discs of two and no tracks,
// Abba with none) and the empty "Empty".
class CsvExport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Import(library, CCsvColumnMap::Canonical(),
                           {{"Rock", "CD1", "Queen", "Q", "Queen", "12", "Jazz", "", "", "1", "Mustapha"},
                            {"Rock", "CD1", "Queen", "", "", "12", "Jazz", "", "", "2", "Fat Bottomed Girls"},
                            {"Rock", "CD2", "Queen", "", "", "3", "Innuendo", "Inn", "", "", ""},
                            {"Rock", "", "Abba", "", "", "", "", "", "", "", ""},
                            {"Empty", "", "", "", "", "", "", "", "", "", ""}}));
    }
    CLibrary library;
};

TEST(CsvColumnMap, CountsDuplicatesAndParses)
{
    CCsvColumnMap map = Map({{kCsvListName, 3}, {kCsvArtistName, 5}, {kCsvDiscName, 3}, {kCsvTrackName, 5}});
    EXPECT_EQ(map.GetColumnCount(), 5);
    CErrorRecord errors;
    EXPECT_FALSE(map.Validate(&errors));
    EXPECT_STREQ(GetText(&errors), "Column 5 defined for multiple fields.");

    CErrorRecord none;
    EXPECT_FALSE(CCsvColumnMap().Validate(&none));
    EXPECT_STREQ(GetText(&none), "No columns defined.");

    CCsvColumnMap parsed;
    ASSERT_TRUE(parsed.Parse(nullptr, "ListName=1,artistname=2,TrackNumber=11"));
    EXPECT_EQ(parsed.GetColumn(kCsvListName), 1);
    EXPECT_EQ(parsed.GetColumn(kCsvArtistName), 2);
    EXPECT_EQ(parsed.GetColumn(kCsvTrackNumber), 11);
    EXPECT_EQ(parsed.GetColumn(kCsvDiscName), 0);
    for (const char* bad : {"Nothing=1", "ListName=100", "ListName=-1", "ListName=x", "ListName"}) {
        CErrorRecord e;
        EXPECT_FALSE(parsed.Parse(&e, bad)) << bad;
        EXPECT_EQ(parsed.GetColumn(kCsvListName), 1) << "a failed parse keeps the map";
    }
}

TEST(CsvColumnMap, SettingsKeepOnlyUsedFields)
{
    dwtest::CTempDir dir("dw-csv-map");
    ASSERT_FALSE(dir.Path().empty());
    dwtest::CSettingsGuard settings(dir.Path());

    Map({{kCsvListName, 1}, {kCsvDiscName, 2}}).SaveSettings();
    ASSERT_TRUE(Map({{kCsvArtistName, 4}, {kCsvDiscName, 99}}).SaveSettings());
    CCsvColumnMap loaded = Map({{kCsvTrackName, 9}});
    loaded.LoadSettings();
    EXPECT_EQ(loaded.GetColumn(kCsvListName), 0);
    EXPECT_EQ(loaded.GetColumn(kCsvArtistName), 4);
    EXPECT_EQ(loaded.GetColumn(kCsvDiscName), 99) << "the last column there is";
    EXPECT_EQ(loaded.GetColumn(kCsvTrackName), 0);
    std::uint32_t value = 7;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kCsvSettingsKey, "ListName", &value));
}

// The deepest level with a column decides what a row is; artists are kept sorted.
struct SExportCase
{
    const char* name;
    std::vector<std::pair<int, int>> columns;
    Rows rows;
};

class CsvExportRows : public CsvExport, public ::testing::WithParamInterface<SExportCase>
{
};

TEST_P(CsvExportRows, OneRowPerObjectOfTheDeepestLevel)
{
    CCsvColumnMap map;
    for (auto [field, column] : GetParam().columns)
        map.SetColumn(field, column);
    EXPECT_EQ(Export(library, map), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    All, CsvExportRows,
    ::testing::Values(SExportCase{"Artists", {{kCsvArtistName, 1}}, {{"Abba"}, {"Queen"}}},
                      SExportCase{"DiscsAndEmptyLists",
                                  {{kCsvListName, 1}, {kCsvDiscName, 2}},
                                  {{"Rock", "Jazz"}, {"Rock", "Innuendo"}, {"Empty", ""}}},
                      SExportCase{"Tracks",
                                  {{kCsvTrackNumber, 3}, {kCsvDiscName, 1}, {kCsvDiscNumber, 2}},
                                  {{"Jazz", "12", "1"}, {"Jazz", "12", "2"}, {"Innuendo", "3", ""}}},
                      SExportCase{"NoColumns", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CsvExport, RoundTripWithEveryColumnImportsTheSameLibrary)
{
    Rows first = Export(library, CCsvColumnMap::Canonical());
    CLibrary copy;
    CCsvTable table = Table(first, kCsvFieldCount);
    ASSERT_TRUE(ImportTableIntoLibrary(copy, nullptr, CCsvRowContext(CCsvColumnMap::Canonical()), table));
    // Every column includes the player's name and one row per track.
    EXPECT_EQ(Export(copy, CCsvColumnMap::Canonical()), first);
}

TEST(CsvImport, DiscNumbersCountTheirLeadingDigits)
{
    const struct
    {
        const char* cell;
        int number;
    } cases[] = {{"12abc", 12}, {"abc", 0}, {"99999999999999999999", 32767}};
    for (const auto& c : cases) {
        CLibrary library;
        ASSERT_TRUE(Import(library, Map({{kCsvArtistName, 1}, {kCsvDiscName, 2}, {kCsvDiscNumber, 3}}),
                           {{"A", "D", c.cell}}));
        EXPECT_EQ(library.GetLists().GetAt(0)->GetArtists().GetAt(0)->GetDiscs().GetAt(0)->GetNumber(),
                  c.number)
            << c.cell;
    }
}

TEST(CsvImport, WithoutListColumnEachImportFillsANewDefaultList)
{
    CLibrary library;
    CCsvColumnMap map = Map({{kCsvArtistName, 1}});
    ASSERT_TRUE(Import(library, map, {{"Queen"}}));
    ASSERT_TRUE(Import(library, map, {{"Queen"}}));
    const CCsvColumnMap lists = Map({{kCsvListName, 1}});
    EXPECT_EQ(Export(library, lists), (Rows{{"CD List"}, {"CD List 1"}}));

    CLibrary gap;
    ASSERT_TRUE(Import(gap, lists, {{"cd list"}, {"CD List 1"}}));
    ASSERT_TRUE(Import(gap, map, {{"Abba"}}));
    EXPECT_EQ(Export(gap, lists), (Rows{{"cd list"}, {"CD List 1"}, {"CD List 2"}}));
}

TEST(CsvImport, PlayerColumnSetsDeviceNameAndJobLinksPlayers)
{
    dwtest::CTempDir dir("dw-csv-job");
    ASSERT_FALSE(dir.Path().empty());
    const std::string file = dir / "in.csv";
    CCsvTable written = Table({{"Queen", "Jazz", "Changer"}, {"Abba", "Gold", "Nobody"}}, 3);
    ASSERT_TRUE(written.Save(nullptr, file.c_str()));

    CPlayers players;
    CPlayer* player = players.Add(nullptr, MakePlayer("changer").release());
    ASSERT_NE(player, nullptr);
    CLibrary library;
    CCsvColumnMap map = Map({{kCsvArtistName, 1}, {kCsvDiscName, 2}, {kCsvPlayerName, 3}});
    ASSERT_TRUE(RunCsvImport(library, players, nullptr, nullptr, file.c_str(), map));
    CNamedCollection<CArtist>& artists = library.GetLists().GetAt(0)->GetArtists();
    EXPECT_EQ(artists.FindByName("Queen")->GetDiscs().GetAt(0)->GetPlayer(), player);
    EXPECT_EQ(artists.FindByName("Abba")->GetDiscs().GetAt(0)->GetPlayer(), nullptr);

    // A linked disc exports its player's name, an unlinked one the name it was given.
    EXPECT_EQ(Export(library, map), (Rows{{"Abba", "Gold", "Nobody"}, {"Queen", "Jazz", "changer"}}));

    std::unique_ptr<CCsvTable> csv, data;
    ASSERT_TRUE(RunCsvImportPreview(nullptr, nullptr, file.c_str(), map, &csv, &data));
    ASSERT_TRUE(csv && data);
    EXPECT_EQ(csv->GetRowCount(), 2u);
    EXPECT_EQ(Cells(*data)[1],
              (std::vector<std::string>{"CD List", "Changer", "Queen", "", "", "0", "Jazz", "", "", "", ""}));

    CErrorRecord errors;
    EXPECT_FALSE(RunCsvImport(library, players, &errors, nullptr, (dir / "none.csv").c_str(), map));
    EXPECT_NE(std::string(GetText(&errors)).find("Could not read from"), std::string::npos);
}

} // namespace
