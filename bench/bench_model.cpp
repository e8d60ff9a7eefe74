// The players and library files at the size of a large collection: 20 lists, 10,000
// discs and 120,000 tracks. Loading is compared with libxml2 parsing the same file
// with the same options, saving with libxml2 dumping an equivalent tree it already
// holds.

#include "core/XmlDocument.h"
#include "csf/CSFPath.h"
#include "model/Library.h"
#include "model/ModelFiles.h"

#include <benchmark/benchmark.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

constexpr int kLists = 20, kArtistsPerList = 50, kDiscsPerArtist = 10, kTracksPerDisc = 12;

struct CBenchFiles
{
    std::string dir;
    std::string library; // the generated library file
    CPlayers players;

    CBenchFiles()
    {
        char pattern[] = "/tmp/dw-bench-model-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        dir = pattern;
        library = dir + "/DW_Library.xml";
        players.SetKeepSorted(true);
        auto* player = new CPlayer();
        player->GetName().SetPlain("Changer");
        for (int d = 0; d < 10; ++d) {
            CCSFButtonPath path;
            path.SetDeviceNamePlain("CD");
            path.SetPanelNamePlain("Keys");
            path.SetButtonNamePlain(std::to_string(d).c_str());
            player->SetNumberButton(d, &path);
        }
        players.Add(nullptr, player);

        CLibrary lib;
        Generate(lib);
        CErrorRecord errors;
        if (!SaveLibraryFile(&errors, lib, library.c_str(), true)) {
            std::fprintf(stderr, "%s\n", GetText(&errors));
            std::abort();
        }
    }

    ~CBenchFiles()
    {
        std::remove(library.c_str());
        std::remove((dir + "/dump.xml").c_str());
        std::remove((dir + "/saved.xml").c_str());
        rmdir(dir.c_str());
    }

    void Generate(CLibrary& lib)
    {
        char name[64];
        int slot = 0;
        for (int l = 0; l < kLists; ++l) {
            auto* list = new CLibList(&lib);
            std::snprintf(name, sizeof name, "List %02d", l);
            list->GetName().SetPlain(name);
            lib.GetLists().Add(nullptr, list);
            for (int a = 0; a < kArtistsPerList; ++a) {
                auto* artist = new CArtist(list);
                std::snprintf(name, sizeof name, "Artist %c%03d & Friends", 'A' + a % 26, a);
                artist->GetName().SetPlain(name);
                list->GetArtists().Add(nullptr, artist);
                for (int d = 0; d < kDiscsPerArtist; ++d) {
                    auto* disc = new CDisc(artist);
                    std::snprintf(name, sizeof name, "Disc_%d/%d of %d", d, a, l);
                    disc->GetName().SetPlain(name);
                    disc->SetNumber(++slot % 32767);
                    disc->SetPlayer(players.GetFirst());
                    artist->GetDiscs().Add(nullptr, disc);
                    for (int t = 1; t <= kTracksPerDisc; ++t) {
                        auto* track = new CTrack(disc);
                        std::snprintf(name, sizeof name, "Track title number %d", t);
                        track->GetTitle().SetPlain(name);
                        track->SetNumber(t);
                        disc->GetTracks().Add(nullptr, track);
                    }
                }
            }
        }
    }
};

CBenchFiles& Files()
{
    static CBenchFiles files;
    return files;
}

void BM_LibxmlReadFile(benchmark::State& state)
{
    InitXmlLibrary();
    const std::string& path = Files().library;
    for (auto _ : state) {
        xmlDoc* doc = xmlReadFile(path.c_str(), nullptr, kXmlParseOptions);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
}
BENCHMARK(BM_LibxmlReadFile)->Unit(benchmark::kMillisecond);

void BM_LoadLibrary(benchmark::State& state)
{
    CBenchFiles& files = Files();
    CLibrary library;
    for (auto _ : state) {
        CErrorRecord errors;
        CWarningList warnings;
        if (!LoadLibraryFile(&errors, &warnings, library, files.players, files.library.c_str(), false))
            state.SkipWithError(GetText(&errors));
    }
    state.counters["discs"] = library.GetDiscCount();
    state.counters["tracks"] = library.GetTrackCount();
}
BENCHMARK(BM_LoadLibrary)->Unit(benchmark::kMillisecond);

void BM_LibxmlDump(benchmark::State& state)
{
    CBenchFiles& files = Files();
    CXmlDocPtr doc(xmlReadFile(files.library.c_str(), nullptr, kXmlParseOptions));
    std::string out = files.dir + "/dump.xml";
    for (auto _ : state) {
        FILE* f = std::fopen(out.c_str(), "w");
        xmlDocFormatDump(f, doc.get(), 1);
        std::fclose(f);
    }
}
BENCHMARK(BM_LibxmlDump)->Unit(benchmark::kMillisecond);

void BM_SaveLibrary(benchmark::State& state)
{
    CBenchFiles& files = Files();
    CLibrary library;
    CErrorRecord errors;
    CWarningList warnings;
    LoadLibraryFile(&errors, &warnings, library, files.players, files.library.c_str(), false);
    std::string out = files.dir + "/saved.xml";
    for (auto _ : state) {
        if (!SaveLibraryFile(&errors, library, out.c_str(), true))
            state.SkipWithError(GetText(&errors));
    }
}
BENCHMARK(BM_SaveLibrary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
