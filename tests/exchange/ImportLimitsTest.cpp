// The import refuses a row the library cannot hold, naming it, instead of clamping it
// onto another element or saving a library file that no longer loads.

#include "CsvRows.h"
#include "exchange/CsvExchange.h"
#include "model/Library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dwtest::Import;
using dwtest::Map;

const CCsvColumnMap kTracks = Map({{kCsvArtistName, 1}, {kCsvDiscName, 2}, {kCsvTrackNumber, 3}});

TEST(ImportLimits, TrackNumbersOutsideTheLibrarysRangeAreRefused)
{
    // "abc" is no number at all and reads as track 0, as before.
    const struct
    {
        const char* cell;
        bool accepted;
    } cases[] = {{"0", true},   {"99", true},           {"100", false},
                 {"-1", false}, {"99999999999", false}, {"abc", true}};
    for (const auto& c : cases) {
        CLibrary library;
        CErrorRecord errors;
        EXPECT_EQ(Import(library, kTracks, {{"A", "D", c.cell}}, &errors), c.accepted) << c.cell;
        if (!c.accepted) {
            EXPECT_EQ(std::string(GetText(&errors)).rfind("Row 1 cannot be imported: track number ", 0), 0u);
        }
    }
}

struct CLongNameCase
{
    const char* name;
    int field;
    const char* heading;
};

class ImportLongName : public testing::TestWithParam<CLongNameCase>
{
};

TEST_P(ImportLongName, OverTheLimitIsRefusedAtTheLimitKept)
{
    // Every field in its own column; the row is complete down to a track.
    CCsvColumnMap map = CCsvColumnMap::Canonical();
    std::vector<std::string> row = {"List", "Player", "Artist", "A", "Artist", "1",
                                    "Disc", "D",      "Disc",   "1", "T"};
    const std::size_t column = static_cast<std::size_t>(GetParam().field);

    row[column] = std::string(kMaxImportedNameBytes, 'x');
    CLibrary kept;
    CErrorRecord keptErrors;
    EXPECT_TRUE(Import(kept, map, {row}, &keptErrors)) << GetText(&keptErrors);

    row[column] = std::string(kMaxImportedNameBytes + 1, 'x');
    CLibrary refused;
    CErrorRecord errors;
    EXPECT_FALSE(Import(refused, map, {{"List", "", "Other"}, row}, &errors, "big.csv"));
    EXPECT_EQ(GetText(&errors), "big.csv, row 2 cannot be imported: its " + std::string(GetParam().heading) +
                                    " text is 4097 bytes long, more than the 4096 a name may have");
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ImportLongName,
    testing::Values(CLongNameCase{"List", kCsvListName, "List"},
                    CLongNameCase{"Player", kCsvPlayerName, "Player"},
                    CLongNameCase{"Artist", kCsvArtistName, "Artist"},
                    CLongNameCase{"ArtistShort", kCsvArtistShortName, "Artist (Short)"},
                    CLongNameCase{"ArtistSortAs", kCsvArtistSortAsName, "Artist (Sort As)"},
                    CLongNameCase{"Disc", kCsvDiscName, "Disc"},
                    CLongNameCase{"DiscShort", kCsvDiscShortName, "Disc (Short)"},
                    CLongNameCase{"DiscSortAs", kCsvDiscSortAsName, "Disc (Sort As)"},
                    CLongNameCase{"Track", kCsvTrackName, "Track"}),
    [](const testing::TestParamInfo<CLongNameCase>& info) { return std::string(info.param.name); });

} // namespace
