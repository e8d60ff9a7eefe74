// import and export on the command line: what the commands save and write, and that the
// importers' refusals arrive with their text and leave the library file alone. The
// import rules themselves are tested in the importers.

#include "common/CliRun.h"

#include <gtest/gtest.h>

namespace {

class ExchangeCli : public CCliTest
{
protected:
    // Writes `text` to `name` in the temporary directory and imports it with `columns`.
    CliRun ImportCsv(const char* name, const std::string& text, const char* columns)
    {
        WriteFile(Path(name), text);
        return Run({"import", "csv", Path(name), "--columns", columns});
    }
};

TEST_F(ExchangeCli, CsvImportSavesAndExportUsesTheSavedColumns)
{
    CliRun imported =
        ImportCsv("in.csv", "Rock,Queen,Jazz,1,Mustapha\nRock,Abba,\"Gold, Greatest Hits\",1,Dancing Queen\n",
                  "ListName=1,ArtistName=2,DiscName=3,TrackNumber=4,TrackName=5");
    ASSERT_EQ(imported.status, kExitOk) << imported.err;

    // Without --columns the map saved by the import is used.
    CliRun exported = Run({"export", "csv", Path("out.csv")});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    EXPECT_EQ(ReadFile(Path("out.csv")),
              "Rock,Abba,\"Gold, Greatest Hits\",1,\"Dancing Queen\"\nRock,Queen,Jazz,1,Mustapha\n");
}

TEST_F(ExchangeCli, FailedImportsSayWhyAndLeaveTheLibraryFile)
{
    ASSERT_EQ(ImportCsv("in.csv", "Queen,Jazz,1\n", "ArtistName=1,DiscName=2,TrackNumber=3").status, kExitOk);
    const std::string before = LibraryFile();

    CliRun clash = ImportCsv("clash.csv", "CD List,Abba,Gold,1\nCD List,Queen,Jazz,01\n",
                             "ListName=1,ArtistName=2,DiscName=3,TrackNumber=4");
    EXPECT_EQ(clash.status, kExitFailure);
    EXPECT_TRUE(Contains(clash.err, "Another track is already named \"1\"")) << clash.err;
    EXPECT_TRUE(Contains(clash.err, "the library file was not changed")) << clash.err;
    EXPECT_EQ(LibraryFile(), before);
}

TEST_F(ExchangeCli, LegacyAndXmlImportsFillTheArea)
{
    WriteFile(Path("old.txt"), "// discs\n5 ~ The Who ~ Who ~ Tommy\n~~~Quadrophenia\n");
    CliRun legacy = Run({"import", "legacy", Path("old.txt")});
    ASSERT_EQ(legacy.status, kExitOk) << legacy.err;

    CliRun exported = Run({"export", "xml", Path("copy.xml")});
    ASSERT_EQ(exported.status, kExitOk) << exported.err;
    m_area = Path("other");
    std::filesystem::create_directory(m_area);
    CliRun imported = Run({"import", "xml", Path("copy.xml")});
    ASSERT_EQ(imported.status, kExitOk) << imported.err;
    EXPECT_TRUE(Contains(Run({"show"}).out, "Quadrophenia"));
}

} // namespace
