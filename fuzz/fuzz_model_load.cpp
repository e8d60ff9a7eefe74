// Fuzzes the players and library loaders: any bytes are parsed as an XML document and
// loaded as both files (the root decides which one takes it), then the model is linked,
// shown and written back.

#include "core/XmlDocument.h"
#include "model/Library.h"
#include "model/ModelFiles.h"

#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool initialised = (InitXmlLibrary(), true);
    (void)initialised;

    CErrorRecord errors;
    CWarningList warnings;
    CXmlDocPtr doc =
        ParseXmlMemory(reinterpret_cast<const char*>(data), size, "fuzz.xml", &errors, &warnings);
    if (!doc)
        return 0;

    CPlayers players;
    players.SetKeepSorted(true);
    CLibrary library;
    LoadPlayersDocument(&errors, &warnings, players, doc.get(), "fuzz.xml");
    LoadLibraryDocument(&errors, &warnings, library, doc.get(), "fuzz.xml");
    library.LinkPlayers(players, nullptr);
    GetText(&errors);

    std::size_t total = 0;
    for (const CLibList* list : library.GetLists()) {
        total += list->GetDeleteQuestion().size();
        for (const CArtist* artist : list->GetArtists()) {
            total += artist->GetDisplayText().size() + artist->GetDeleteQuestion().size();
            for (const CDisc* disc : artist->GetDiscs())
                total += disc->GetDisplayText().size() + disc->GetFullName().size();
        }
    }
    (void)total;

    // What the saves write must parse again and load the same way.
    for (const std::string& text : {WritePlayersText(players), WriteLibraryText(library)}) {
        CXmlDocPtr again = ParseXmlMemory(text.data(), text.size(), "again.xml", nullptr, nullptr);
        if (!again)
            __builtin_trap();
    }
    return 0;
}
