#include "exchange/LegacyImporter.h"
#include "model/Library.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Reads, parses and builds `text` into the library.
bool ImportText(CLibrary& library, const std::string& text, CErrorRecord* errors = nullptr)
{
    std::FILE* file = tmpfile();
    if (!file)
        return false;
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    CLegacyImporter importer;
    bool ok = importer.Read(errors, file) && importer.Parse(errors) && importer.Build(errors, library);
    std::fclose(file);
    return ok;
}

// "artist|disc|number|sort-as|short" per disc, in collection order.
std::vector<std::string> Discs(const CLibList& list)
{
    std::vector<std::string> result;
    for (const CArtist* artist : list.GetArtists())
        for (const CDisc* disc : artist->GetDiscs())
            result.push_back(std::string(artist->GetName().GetPlain()) + "|" + disc->GetName().GetPlain() +
                             "|" + std::to_string(disc->GetNumber()) + "|" +
                             artist->GetSortAsName().GetPlain() + "|" + artist->GetShortName().GetPlain());
    return result;
}

TEST(LegacyImport, NumbersAndArtistsCarryOverSkippedLinesIgnored)
{
    CLibrary library;
    ASSERT_TRUE(ImportText(library, " ~ ~ ~ First\n"
                                    "7 ~ Queen ~ Q ~ Jazz\n"
                                    "// a comment\n"
                                    "\n"
                                    "   \t\n"
                                    "~~~Innuendo\n"
                                    "~ The Beatles ~ ~ Help\n"
                                    "~~ Fab ~ The White Album ~ ignored\n"));
    ASSERT_EQ(library.GetLists().GetCount(), 1u);
    const CLibList& list = *library.GetLists().GetAt(0);
    EXPECT_STREQ(list.GetName().GetPlain(), "CD List");
    // Artists sort by their sort-as name; discs stay in file order.
    EXPECT_EQ(Discs(list), (std::vector<std::string>{
                               "The Beatles|Help|9|Beatles|Fab", "The Beatles|The White Album|10|Beatles|Fab",
                               "Queen|Jazz|7||Q", "Queen|Innuendo|8||Q", "Unknown Artist|First|1||"}));
    const CDisc* album =
        list.GetArtists().FindByName("The Beatles")->GetDiscs().FindByName("The White Album");
    EXPECT_STREQ(album->GetSortAsName().GetPlain(), "White Album");
    EXPECT_EQ(album->GetPlayer(), nullptr);
}

TEST(LegacyImport, SortAsDropsALeadingThe)
{
    const struct
    {
        const char* name;
        const char* sortAs; // null: none
    } cases[] = {{"The Who", "Who"},   {"the who", "who"}, {"THE  Who ", "Who"}, {"The The", nullptr},
                 {"The the", nullptr}, {"The ", nullptr},  {"Theatre", nullptr}, {"Who", nullptr}};
    for (const auto& c : cases) {
        std::optional<std::string> sortAs = LegacySortAsName(c.name);
        EXPECT_EQ(sortAs.value_or("<none>"), c.sortAs ? c.sortAs : "<none>") << c.name;
    }
}

TEST(LegacyImport, AnInvalidLineImportsNothing)
{
    const struct
    {
        const char* text;
        const char* message;
    } cases[] = {
        {"1~A~~Good\n12\n", "Invalid line in input file (no artist column):\n12"},
        {"1~A~~Good\n  12 ~ Queen  \n", "Invalid line in input file (no short artist column):\n12 ~ Queen"},
        {"3~Queen~Q\n", "Invalid line in input file (no title column):\n3~Queen~Q"},
        {"3~Queen~~\n", "Invalid line in input file (empty title column):\n3~Queen~~"},
    };
    for (const auto& c : cases) {
        CLibrary library;
        CErrorRecord errors;
        EXPECT_FALSE(ImportText(library, c.text, &errors));
        EXPECT_EQ(std::string(GetText(&errors)), c.message);
        EXPECT_EQ(library.GetLists().GetCount(), 0u) << c.text;
    }
}

TEST(LegacyImport, LongLinesAreCutIntoPiecesAndFileErrorsReported)
{
    // 1023 bytes make the first piece; the rest of the line is a line of its own.
    std::string line = "1~A~~" + std::string(1018, 'x') + "2~B~~Tail\n";
    CLibrary library;
    ASSERT_TRUE(ImportText(library, line));
    EXPECT_EQ(library.GetDiscCount(), 2u);

    CErrorRecord errors;
    EXPECT_FALSE(ImportLegacyFile(library, &errors, nullptr, "/nonexistent/legacy.txt"));
    EXPECT_STREQ(GetText(&errors), "Cannot open /nonexistent/legacy.txt");
}

} // namespace
