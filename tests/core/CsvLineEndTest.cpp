// Spreadsheets write CSV with LF (Unix), CR LF (Windows) or a lone CR ("CSV (Macintosh)").
// Each is a line end; a file of one kind must read as the same rows as the others.

#include "common/TempDir.h"
#include "core/CsvTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows LoadRows(const std::string& bytes, int columns)
{
    dwtest::CTempDir dir("dw-csv-ends");
    const std::string path = dir / "in.csv";
    dwtest::WriteText(path, bytes);
    CCsvTable table(columns);
    CErrorRecord errors;
    EXPECT_TRUE(table.Load(&errors, path.c_str())) << GetText(&errors);
    Rows rows;
    for (auto row = table.FirstRow(); row != table.EndOfRows(); row = CCsvTable::NextRow(row)) {
        rows.emplace_back();
        for (int c = 0; c < columns; ++c)
            rows.back().push_back(table.GetCell(row, c));
    }
    return rows;
}

struct CLineEndCase
{
    const char* name;
    std::string bytes;
    Rows expected;
};

class CsvLineEnds : public testing::TestWithParam<CLineEndCase>
{
};

TEST_P(CsvLineEnds, ReadAsRows)
{
    EXPECT_EQ(LoadRows(GetParam().bytes, 2), GetParam().expected);
}

const Rows kThree = {{"Queen", "Jazz"}, {"Abba", "Gold"}, {"a,b", "c"}};

INSTANTIATE_TEST_SUITE_P(
    Files, CsvLineEnds,
    testing::Values(CLineEndCase{"Lf", "Queen,Jazz\nAbba,Gold\n\"a,b\",c\n", kThree},
                    CLineEndCase{"CrLf", "Queen,Jazz\r\nAbba,Gold\r\n\"a,b\",c\r\n", kThree},
                    CLineEndCase{"LoneCr", "Queen,Jazz\rAbba,Gold\r\"a,b\",c\r", kThree},
                    CLineEndCase{"LoneCrWithoutLastEnd", "Queen,Jazz\rAbba,Gold\r\"a,b\",c", kThree},
                    CLineEndCase{"Mixed", "Queen,Jazz\rAbba,Gold\r\n\"a,b\",c\n", kThree},
                    // Two CRs are an empty line between, which is skipped like any blank one.
                    CLineEndCase{"BlankLinesOfEachKind", "Queen,Jazz\r\rAbba,Gold\n\n\"a,b\",c\r\n\r\n",
                                 kThree},
                    CLineEndCase{"CrAtTheVeryEnd", "Queen,Jazz\r", {{"Queen", "Jazz"}}}),
    [](const testing::TestParamInfo<CLineEndCase>& info) { return std::string(info.param.name); });

TEST(CsvLineEnds, ColumnCountIsFoundInACrFile)
{
    dwtest::CTempDir dir("dw-csv-ends");
    dwtest::WriteText(dir / "in.csv", "one\rA,B,C\r");
    EXPECT_EQ(CCsvTable((dir / "in.csv").c_str()).GetColumnCount(), 3);
}

} // namespace
