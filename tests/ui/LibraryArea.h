#pragma once

// The demo's players (CD Changer, DVD Changer) with a small library of our own, saved
// to the area's library file:
//   Jazz (artists kept sorted): Coltrane: Giant Steps (CD 2);
//                               Miles Davis: Kind of Blue (CD 5), Bitches Brew (DVD 9)
//   Rock:                       Queen: A Night at the Opera (CD 20)

#include "DemoArea.h"

#include "model/DWModel.h"
#include "model/Library.h"

#include <QTest>

namespace dwuitest {

class CLibraryArea : public CDemoArea
{
public:
    // False (with the reason) when the demo area cannot be set up.
    bool Setup(std::string* why)
    {
        if (!Load(why))
            return false;
        CPlayers& players = GetPlayers(Config());
        if (players.GetCount() < 2) {
            *why = "the demo has fewer than two players";
            return false;
        }
        cd = players.GetAt(0);
        dvd = players.GetAt(1);
        CLibrary& library = Library();
        library.GetLists().RemoveAll();
        CLibList* jazz = AddList("Jazz");
        CLibList* rock = AddList("Rock");
        CArtist* miles = AddArtist(jazz, "Miles Davis");
        AddArtist(jazz, "Coltrane");
        AddDisc(miles, "Kind of Blue", cd, 5);
        AddDisc(miles, "Bitches Brew", dvd, 9);
        AddDisc(jazz->GetArtists().FindByName("Coltrane"), "Giant Steps", cd, 2);
        AddDisc(AddArtist(rock, "Queen"), "A Night at the Opera", cd, 20);
        CErrorRecord errors;
        if (!Config().SaveLibrary(&errors)) {
            *why = GetText(&errors);
            return false;
        }
        return true;
    }

    CLibrary& Library() { return GetLibrary(Config()); }
    CLibList* List(const char* name) { return Library().GetLists().FindByName(name); }
    CArtist* Artist(const char* list, const char* name) { return List(list)->GetArtists().FindByName(name); }
    CDisc* Disc(const char* list, const char* artist, const char* name)
    {
        return Artist(list, artist)->GetDiscs().FindByName(name);
    }

    CPlayer* cd = nullptr;
    CPlayer* dvd = nullptr;

private:
    CLibList* AddList(const char* name) { return AddNamed<CLibList>(&Library(), Library().GetLists(), name); }
    static CArtist* AddArtist(CLibList* list, const char* name)
    {
        return AddNamed<CArtist>(list, list->GetArtists(), name);
    }
    static CDisc* AddDisc(CArtist* artist, const char* name, CPlayer* player, int number)
    {
        CDisc* disc = AddNamed<CDisc>(artist, artist->GetDiscs(), name);
        disc->SetPlayer(player);
        disc->SetNumber(number);
        return disc;
    }
};

} // namespace dwuitest
