#include "core/CsvTable.h"
#include "common/TempAreaTest.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class CsvTableTest : public dwtest::CTempAreaTest
{
protected:
    std::string path = Path("table.csv");

    // The rows of the file as the table reads them, and its column count.
    Rows Load(const std::string& bytes, int* columns = nullptr)
    {
        WriteFile(path, bytes);
        CCsvTable table(path.c_str());
        if (columns != nullptr)
            *columns = table.GetColumnCount();
        CErrorRecord errors;
        EXPECT_TRUE(table.Load(&errors, path.c_str())) << GetText(&errors);
        Rows rows;
        for (auto row = table.FirstRow(); row != table.EndOfRows(); row = CCsvTable::NextRow(row)) {
            rows.emplace_back();
            for (int c = 0; c < table.GetColumnCount(); ++c)
                rows.back().push_back(table.GetCell(row, c));
        }
        return rows;
    }
};

struct SCsvCase
{
    const char* name;
    const char* bytes;
    int columns;
    Rows rows;
};

const Rows kThree = {{"Queen", "Jazz"}, {"Abba", "Gold"}, {"a,b", "c"}};

class CsvTableRead : public CsvTableTest, public ::testing::WithParamInterface<SCsvCase>
{
};

TEST_P(CsvTableRead, FirstMultiFieldLineFixesTheColumns)
{
    int columns = 0;
    EXPECT_EQ(Load(GetParam().bytes, &columns), GetParam().rows);
    EXPECT_EQ(columns, GetParam().columns);
}

INSTANTIATE_TEST_SUITE_P(
    All, CsvTableRead,
    ::testing::Values(
        SCsvCase{"QuotedCellsAndCrLf",
                 "1, \"Smith, John\" ,x\r\n\"a \"\"b\"\"\",c,d\r\n",
                 3,
                 {{"1", "Smith, John", "x"}, {"a \"b\"", "c", "d"}}},
        SCsvCase{"LaterLinesCutOrPadded",
                 "Title\n1,2,3,4,5\n   \t \na,b,c,d,e,f,g\nshort,x\n,\n",
                 5,
                 {{"Title", "", "", "", ""},
                  {"1", "2", "3", "4", "5"},
                  {"a", "b", "c", "d", "e"},
                  {"short", "x", "", "", ""},
                  {"", "", "", "", ""}}},
        SCsvCase{"TwoFields", "a,b\n1,2,3\n", 2, {{"a", "b"}, {"1", "2"}}},
        SCsvCase{"SingleValues", "one\ntwo\n", 1, {{"one"}, {"two"}}}, SCsvCase{"Empty", "", 1, {}},
        // Spreadsheets end lines with LF, CR LF or a lone CR
        // ("CSV (Macintosh)"); blank lines of each kind are skipped.
        SCsvCase{"LoneCr", "Queen,Jazz\rAbba,Gold\r\"a,b\",c", 2, kThree},
        SCsvCase{"MixedEnds", "Queen,Jazz\rAbba,Gold\r\n\"a,b\",c\n", 2, kThree},
        SCsvCase{"BlankLinesOfEachKind", "Queen,Jazz\r\rAbba,Gold\n\n\"a,b\",c\r\n\r\n", 2, kThree},
        SCsvCase{"CrAtTheVeryEnd", "Queen,Jazz\r", 2, {{"Queen", "Jazz"}}},
        SCsvCase{"ColumnsFoundInACrFile", "one\rA,B,C\r", 3, {{"one", "", ""}, {"A", "B", "C"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CsvTableTest, SaveQuotesOnlyWhatNeedsIt)
{
    CCsvTable table(5);
    auto row = table.AddRow();
    const std::vector<std::string> cells{"word", "two words", "a,b", "say \"\"hi\"\"", "\ttab"};
    for (int c = 0; c < 5; ++c)
        table.SetCell(row, c, cells[c].c_str());
    table.SetCell(row, 5, "ignored");
    EXPECT_EQ(table.GetCell(row, 5), "");
    table.AddRow();
    CErrorRecord errors;
    ASSERT_TRUE(table.Save(&errors, path.c_str())) << GetText(&errors);
    EXPECT_EQ(ReadFile(path), "word,\"two words\",\"a,b\",\"say \"\"\"\"hi\"\"\"\"\",\"\ttab\"\n,,,,\n");
    CCsvTable back(path.c_str());
    ASSERT_TRUE(back.Load(&errors, path.c_str()));
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(back.GetCell(back.FirstRow(), c), cells[c]);
}

} // namespace
