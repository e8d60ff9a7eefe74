#include "core/CsvTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

class CsvTableTest : public ::testing::Test
{
protected:
    std::string path = ::testing::TempDir() + "csv_table_test_" + std::to_string(::getpid()) + ".csv";
    void TearDown() override { std::remove(path.c_str()); }

    void WriteRaw(const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    std::string ReadRaw()
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::vector<std::string>> Load(int* columns = nullptr)
    {
        CCsvTable table(path.c_str());
        if (columns != nullptr)
            *columns = table.GetColumnCount();
        CErrorRecord errors;
        EXPECT_TRUE(table.Load(&errors, path.c_str())) << GetText(&errors);
        std::vector<std::vector<std::string>> rows;
        for (auto row = table.FirstRow(); row != table.EndOfRows(); row = CCsvTable::NextRow(row)) {
            std::vector<std::string> cells;
            for (int c = 0; c < table.GetColumnCount(); ++c)
                cells.push_back(table.GetCell(row, c));
            rows.push_back(cells);
        }
        return rows;
    }
};

using Rows = std::vector<std::vector<std::string>>;

TEST_F(CsvTableTest, ReadsQuotedCellsAndCrLf)
{
    WriteRaw("1, \"Smith, John\" ,x\r\n\"a \"\"b\"\"\",c,d\r\n");
    int columns = 0;
    Rows rows = Load(&columns);
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(rows, (Rows{{"1", "Smith, John", "x"}, {"a \"b\"", "c", "d"}}));
}

TEST_F(CsvTableTest, FirstMultiFieldLineFixesTheColumns)
{
    WriteRaw("Title\n1,2,3,4,5\n   \t \na,b,c,d,e,f,g\nshort,x\n,\n");
    int columns = 0;
    Rows rows = Load(&columns);
    EXPECT_EQ(columns, 5);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Title", "", "", "", ""}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"short", "x", "", "", ""}));
    EXPECT_EQ(rows[4], (std::vector<std::string>{"", "", "", "", ""}));
}

TEST_F(CsvTableTest, SingleValuesAndEmptyFilesHaveOneColumn)
{
    WriteRaw("one\ntwo\n");
    int columns = 0;
    EXPECT_EQ(Load(&columns).size(), 2u);
    EXPECT_EQ(columns, 1);
    WriteRaw("");
    EXPECT_TRUE(Load(&columns).empty());
    EXPECT_EQ(columns, 1);
}

TEST_F(CsvTableTest, UnreadableFileHasNoColumns)
{
    CCsvTable table("/nonexistent/file.csv");
    EXPECT_EQ(table.GetColumnCount(), 0);
    CErrorRecord errors;
    EXPECT_FALSE(table.Load(&errors, "/nonexistent/file.csv"));
    EXPECT_STREQ(GetText(&errors),
                 "Input file appears to have no columns. Could not read from /nonexistent/file.csv");
    CCsvTable sized(2);
    CErrorRecord openErrors;
    EXPECT_FALSE(sized.Load(&openErrors, "/nonexistent/file.csv"));
    EXPECT_STREQ(GetText(&openErrors), "Could not read from /nonexistent/file.csv");
    CErrorRecord saveErrors;
    EXPECT_FALSE(sized.Save(&saveErrors, "/nonexistent-dir/x.csv"));
    EXPECT_EQ(std::string(GetText(&saveErrors)).rfind("Could not write to /nonexistent-dir/x.csv", 0), 0u)
        << GetText(&saveErrors);
}

TEST_F(CsvTableTest, SaveQuotesOnlyWhatNeedsIt)
{
    CCsvTable table(5);
    auto row = table.AddRow();
    table.SetCell(row, 0, "word");
    table.SetCell(row, 1, "two words");
    table.SetCell(row, 2, "a,b");
    table.SetCell(row, 3, "say \"\"hi\"\"");
    table.SetCell(row, 4, "\ttab");
    table.SetCell(row, 5, "ignored");
    EXPECT_EQ(table.GetCell(row, 5), "");
    table.AddRow();
    CErrorRecord errors;
    ASSERT_TRUE(table.Save(&errors, path.c_str())) << GetText(&errors);
    EXPECT_EQ(ReadRaw(), "word,\"two words\",\"a,b\",\"say \"\"\"\"hi\"\"\"\"\",\"\ttab\"\n,,,,\n");
    Rows rows = Load();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"word", "two words", "a,b", "say \"\"hi\"\"", "\ttab"}));
}

} // namespace
