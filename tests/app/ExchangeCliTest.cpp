#include "CliTestUtil.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using dwtest::ReadText;
using dwtest::WriteText;

// A temporary configuration area and settings stores for each test.
class ExchangeCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_root.Path().empty());
        m_area = m_root / "area";
        // An area named on the command line must exist.
        std::filesystem::create_directory(m_area);
        setenv("DISCWEAVER_SETTINGS", (m_root / "settings").c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", (m_root / "machine").c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("DISCWEAVER_SETTINGS");
        unsetenv("DISCWEAVER_MACHINE_SETTINGS");
    }

    CliRun Run(std::vector<std::string> args)
    {
        args.push_back("--config-area");
        args.push_back(m_area);
        return RunCliCaptured(args);
    }
    // Writes `text` to `name` in the temporary directory and imports it with `columns`.
    CliRun ImportCsv(const char* name, const std::string& text, const char* columns)
    {
        WriteText(m_root / name, text);
        return Run({"import", "csv", m_root / name, "--columns", columns});
    }
    std::string LibraryFile() const { return ReadText(m_area + "/DW_Config/DW_Library.xml"); }

    dwtest::CTempDir m_root{"dw-exchange-cli"};
    std::string m_area;
};

TEST_F(ExchangeCli, CsvImportSavesAndExportUsesTheSavedColumns)
{
    CliRun imported =
        ImportCsv("in.csv", "Rock,Queen,Jazz,1,Mustapha\nRock,Abba,\"Gold, Greatest Hits\",1,Dancing Queen\n",
                  "ListName=1,ArtistName=2,DiscName=3,TrackNumber=4,TrackName=5");
    ASSERT_EQ(imported.status, 0) << imported.err;

    CliRun show = Run({"show"});
    EXPECT_NE(show.out.find("Queen"), std::string::npos) << show.out;

    // Without --columns the map saved by the import is used.
    CliRun exported = Run({"export", "csv", m_root / "out.csv"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(ReadText(m_root / "out.csv"),
              "Rock,Abba,\"Gold, Greatest Hits\",1,\"Dancing Queen\"\nRock,Queen,Jazz,1,Mustapha\n");

    CliRun artists = Run({"export", "csv", m_root / "artists.csv", "--columns", "ArtistName=1"});
    ASSERT_EQ(artists.status, 0) << artists.err;
    EXPECT_EQ(ReadText(m_root / "artists.csv"), "Abba\nQueen\n");
}

TEST_F(ExchangeCli, FailedCsvImportLeavesTheLibraryFile)
{
    ASSERT_EQ(ImportCsv("in.csv", "Queen,Jazz,1\n", "ArtistName=1,DiscName=2,TrackNumber=3").status, 0);
    std::string before = LibraryFile();

    // A list column so that the rows find the existing list; 01 then clashes with track 1.
    CliRun clash = ImportCsv("clash.csv", "CD List,Abba,Gold,1\nCD List,Queen,Jazz,01\n",
                             "ListName=1,ArtistName=2,DiscName=3,TrackNumber=4");
    EXPECT_EQ(clash.status, 1);
    EXPECT_NE(clash.err.find("Another track is already named \"1\""), std::string::npos) << clash.err;
    EXPECT_NE(clash.err.find("the library file was not changed"), std::string::npos) << clash.err;
    EXPECT_EQ(LibraryFile(), before);
}

TEST_F(ExchangeCli, ColumnErrorsAreUsageErrors)
{
    for (const char* columns : {"ListName=1,DiscName=1", "Bogus=2", "ListName=0"})
        EXPECT_EQ(ImportCsv("in.csv", "a,b\n", columns).status, 2) << columns;
    CliRun none = Run({"export", "csv", m_root / "out.csv"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("No columns defined."), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(m_root / "out.csv"));
}

TEST_F(ExchangeCli, LegacyImportAddsAListAndRejectsBadLines)
{
    WriteText(m_root / "old.txt", "// discs\n5 ~ The Who ~ Who ~ Tommy\n~~~Quadrophenia\n");
    CliRun ok = Run({"import", "legacy", m_root / "old.txt"});
    ASSERT_EQ(ok.status, 0) << ok.err;
    CliRun show = Run({"show"});
    EXPECT_NE(show.out.find("CD List"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("Quadrophenia"), std::string::npos) << show.out;
    std::string before = LibraryFile();

    WriteText(m_root / "bad.txt", "1~Queen~~Jazz\n2~Abba\n");
    CliRun bad = Run({"import", "legacy", m_root / "bad.txt"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Invalid line in input file (no short artist column):\n2~Abba"), std::string::npos)
        << bad.err;
    EXPECT_EQ(LibraryFile(), before);
}

TEST_F(ExchangeCli, XmlExportThenImportIntoAnotherAreaAndTwice)
{
    ASSERT_EQ(ImportCsv("in.csv", "Rock,Queen,Jazz\n", "ListName=1,ArtistName=2,DiscName=3").status, 0);
    std::string file = m_root / "copy.xml";
    CliRun exported = Run({"export", "xml", file});
    ASSERT_EQ(exported.status, 0) << exported.err;

    m_area = m_root / "other";
    std::filesystem::create_directory(m_area);
    CliRun first = Run({"import", "xml", file});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(Run({"show"}).out.find("Jazz"), std::string::npos);
    std::string before = LibraryFile();

    CliRun second = Run({"import", "xml", file});
    EXPECT_EQ(second.status, 1);
    EXPECT_NE(second.err.find("Another list is already named \"Rock\""), std::string::npos) << second.err;
    EXPECT_EQ(LibraryFile(), before);
}

} // namespace
