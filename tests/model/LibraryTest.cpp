#include "ModelTestUtil.h"

#include "model/InitialLetter.h"
#include "model/NumberText.h"

#include <gmock/gmock.h>

namespace {

using ::testing::HasSubstr;

struct LetterCase
{
    const char* text;
    char letter;
};

class InitialLetterTest : public ::testing::TestWithParam<LetterCase>
{
};

TEST_P(InitialLetterTest, FoldsAsciiLettersOnly)
{
    EXPECT_EQ(GetInitialLetter(GetParam().text), GetParam().letter);
}

INSTANTIATE_TEST_SUITE_P(Texts, InitialLetterTest,
                         ::testing::Values(LetterCase{"abba", 'A'}, LetterCase{"Zappa", 'Z'},
                                           LetterCase{"z", 'Z'}, LetterCase{"", '#'},
                                           LetterCase{nullptr, '#'}, LetterCase{"10cc", '#'},
                                           LetterCase{"[x]", '#'}, LetterCase{"\xc9tienne", '#'},
                                           LetterCase{"@", '#'}, LetterCase{"`", '#'}, LetterCase{"{", '#'}));

TEST(NumberText, PaddingAndDigits)
{
    CNumberText seven(7, 3);
    EXPECT_STREQ(seven.GetText(), "007");
    EXPECT_EQ(seven.GetLength(), 3u);
    EXPECT_EQ(seven.GetDigit(0), 0u);
    EXPECT_EQ(seven.GetDigit(2), 7u);
    EXPECT_EQ(seven.GetDigit(3), 0u);
    EXPECT_STREQ(CNumberText(1234, 2).GetText(), "1234");
    EXPECT_STREQ(CNumberText(0, 0).GetText(), "0");
    EXPECT_STREQ(CNumberText(4294967295u, -4).GetText(), "4294967295");
    EXPECT_EQ(CNumberText(5, 1000).GetLength(), static_cast<std::uint32_t>(CNumberText::kMaxWidth));
}

// A small library built in memory: list "Rock" with artists and discs.
struct CSmallLibrary
{
    CLibrary library;
    CPlayers players;
    CLibList* list = nullptr;

    CSmallLibrary()
    {
        players.Add(nullptr, MakePlayer("Changer").release());
        players.GetFirst()->SetDigitsToPadTo(3);
        auto* l = new CLibList(&library);
        l->GetName().SetPlain("Rock");
        list = library.GetLists().Add(nullptr, l);
    }

    CArtist* AddArtist(const char* name, const char* sortAs = nullptr)
    {
        auto* artist = new CArtist(list);
        artist->GetName().SetPlain(name);
        if (sortAs)
            artist->GetSortAsName().SetPlain(sortAs);
        CErrorRecord errors;
        CArtist* added = list->GetArtists().Add(&errors, artist);
        EXPECT_TRUE(added) << GetText(&errors);
        return added;
    }

    CDisc* AddDisc(CArtist* artist, const char* name, int number, bool linked = true)
    {
        auto* disc = new CDisc(artist);
        disc->GetName().SetPlain(name);
        disc->SetNumber(number);
        if (linked)
            disc->SetPlayer(players.GetFirst());
        return artist->GetDiscs().Add(nullptr, disc);
    }
};

std::vector<std::string> ArtistOrder(const CLibList& list)
{
    std::vector<std::string> names;
    for (const CArtist* a : list.GetArtists())
        names.push_back(a->GetName().GetPlain());
    return names;
}

TEST(LibrarySort, NonLettersFirstThenCaseInsensitive)
{
    CSmallLibrary lib;
    ASSERT_TRUE(lib.list);
    lib.AddArtist("beatles");
    lib.AddArtist("ABBA");
    lib.AddArtist("10cc");
    lib.AddArtist("\xc9"
                  "dith Piaf");
    lib.AddArtist("The Who", "Who");
    lib.AddArtist("Cream");
    EXPECT_THAT(ArtistOrder(*lib.list), ::testing::ElementsAre("10cc",
                                                               "\xc9"
                                                               "dith Piaf",
                                                               "ABBA", "beatles", "Cream", "The Who"));
}

TEST(LibraryPresentation, DisplayTextsLabelsAndQuestions)
{
    CSmallLibrary lib;
    EXPECT_EQ(lib.list->GetDeleteQuestion(), "");
    CArtist* artist = lib.AddArtist("Queen");
    EXPECT_EQ(lib.list->GetDeleteQuestion(), "Delete list \"Rock\" containing 1 artist?");
    EXPECT_EQ(artist->GetDeleteQuestion(), "");
    lib.AddArtist("Yes");
    CDisc* disc = lib.AddDisc(artist, "Jazz", 7);
    EXPECT_EQ(lib.list->GetDeleteQuestion(), "Delete list \"Rock\" containing 2 artists and 1 disc?");
    lib.AddDisc(artist, "News", 8);
    EXPECT_EQ(artist->GetDeleteQuestion(), "Delete artist \"Queen\" containing 2 discs?");

    // The display texts are checked on the command line's "show"; the short name too.
    artist->GetShortName().SetPlain("Q");
    EXPECT_EQ(artist->GetDisplayText(), "Queen (Q)");
    disc->GetShortName().SetPlain("J");
    EXPECT_EQ(disc->GetDisplayText(), "Jazz (Changer, 007) (J)");
}

TEST(LibraryPlayers, LinkRemoveAndHighestNumber)
{
    CSmallLibrary lib;
    CArtist* a = lib.AddArtist("A");
    CArtist* b = lib.AddArtist("B");
    CDisc* d1 = lib.AddDisc(a, "One", 12);
    lib.AddDisc(b, "Two", 13);
    CDisc* loose = lib.AddDisc(b, "Three", 99, false);
    CPlayer* changer = lib.players.GetFirst();
    EXPECT_EQ(lib.library.GetHighestDiscNumber(changer), 13);
    EXPECT_EQ(a->GetHighestDiscNumber(changer), 12);
    EXPECT_EQ(lib.library.GetHighestDiscNumber(nullptr), 99);

    lib.library.PlayerRemoved(changer);
    EXPECT_EQ(d1->GetPlayer(), nullptr);
    EXPECT_STREQ(d1->GetDeviceName().GetPlain(), "Changer");
    EXPECT_EQ(lib.library.GetHighestDiscNumber(changer), 0);

    // Linking by name ignores case; discs without a match are collected once each.
    d1->SetDeviceName(CNameText::FromPlain("CHANGER"));
    loose->SetDeviceName(CNameText::FromPlain("Elsewhere"));
    std::set<CDisc*> unlinked;
    lib.library.LinkPlayers(lib.players, &unlinked);
    lib.library.LinkPlayers(lib.players, &unlinked);
    EXPECT_EQ(d1->GetPlayer(), changer);
    EXPECT_FALSE(d1->GetDeviceName().HasText());
    EXPECT_THAT(unlinked, ::testing::ElementsAre(loose));
}

} // namespace
