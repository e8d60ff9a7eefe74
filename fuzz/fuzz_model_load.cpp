// Fuzzes the players and library loaders: any bytes are parsed as an XML document and
// loaded as both files (the root decides which one takes it), then the model is linked,
// shown and written back.

#include "core/XmlDocument.h"
#include "model/Library.h"
#include "model/ModelFiles.h"

#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool initialised = (InitXmlLibrary(), true);
    (void)initialised;

    CErrorRecord errors;
    CWarningList warnings;
    CXmlDocPtr doc = ParseXmlMemory(reinterpret_cast<const char*>(data), size, "fuzz.xml", &errors, &warnings);
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

    CXmlDocPtr outputs[] = {BuildPlayersDocument(nullptr, players), BuildLibraryDocument(nullptr, library)};
    for (CXmlDocPtr& out : outputs) {
        if (!out)
            continue;
        xmlChar* text = nullptr;
        int length = 0;
        xmlDocDumpFormatMemory(out.get(), &text, &length, 1);
        xmlFree(text);
    }
    return 0;
}
