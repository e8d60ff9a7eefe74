// The library editor at the size of a large collection: opening Edit Lists on 5,000
// discs with 60,000 tracks (levels are filled when expanded, so this is the lists and
// the window), expanding one list of 1,000 artists, and "Sort Artists" on it. Runs on
// Qt's offscreen platform.

#include "core/DWConfig.h"
#include "model/DWModel.h"
#include "model/Library.h"
#include "ui/EditListsDlg.h"

#include <QApplication>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kLists = 5, kArtistsPerList = 100, kDiscsPerArtist = 10, kTracksPerDisc = 12;
constexpr int kSortArtists = 1000;

CArtist* AddArtist(CLibList* list, const std::string& name)
{
    auto* artist = new CArtist(list);
    artist->GetName().SetPlain(name);
    return list->GetArtists().Add(nullptr, artist);
}

void AddDiscs(CArtist* artist, int discs, int tracks)
{
    for (int d = 0; d < discs; ++d) {
        auto* disc = new CDisc(artist);
        disc->GetName().SetPlain("Disc " + std::to_string(d));
        disc->SetNumber(d + 1);
        for (int t = 1; t <= tracks; ++t) {
            auto* track = new CTrack(disc);
            track->SetNumber(t);
            track->GetTitle().SetPlain("Track " + std::to_string(t));
            disc->GetTracks().Add(nullptr, track);
        }
        artist->GetDiscs().Add(nullptr, disc);
    }
}

CLibList* AddList(CLibrary& library, const std::string& name)
{
    auto* list = new CLibList(&library);
    list->GetName().SetPlain(name);
    return library.GetLists().Add(nullptr, list);
}

void BM_OpenEditLists(benchmark::State& state)
{
    CDWConfig config;
    CLibrary& library = GetLibrary(config);
    for (int l = 0; l < kLists; ++l) {
        CLibList* list = AddList(library, "List " + std::to_string(l));
        for (int a = 0; a < kArtistsPerList; ++a)
            AddDiscs(AddArtist(list, "Artist " + std::to_string(a)), kDiscsPerArtist, kTracksPerDisc);
    }
    for (auto _ : state) {
        auto dialog = std::make_unique<CEditListsDlg>(&config, nullptr);
        dialog->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.get());
    }
    state.counters["discs"] = static_cast<double>(library.GetDiscCount());
    state.counters["tracks"] = static_cast<double>(library.GetTrackCount());
}
BENCHMARK(BM_OpenEditLists)->Unit(benchmark::kMillisecond);

void BM_ExpandListOf1000Artists(benchmark::State& state)
{
    CDWConfig config;
    CLibList* list = AddList(GetLibrary(config), "Big");
    for (int a = 0; a < kSortArtists; ++a)
        AddDiscs(AddArtist(list, "Artist " + std::to_string(a)), 5, kTracksPerDisc);
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<CEditListsDlg>(&config, nullptr);
        dialog->show();
        QApplication::processEvents();
        state.ResumeTiming();
        dialog->SelectObject(list->GetArtists().GetFirst());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ExpandListOf1000Artists)->Unit(benchmark::kMillisecond);

void BM_SortListOf1000Artists(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        CDWConfig config;
        CLibList* list = AddList(GetLibrary(config), "Big");
        list->GetArtists().SetKeepSorted(false);
        // Names that sort in the reverse of their order of addition.
        for (int a = kSortArtists; a > 0; --a)
            AddDiscs(AddArtist(list, "Artist " + std::to_string(100000 + a)), 5, kTracksPerDisc);
        auto dialog = std::make_unique<CEditListsDlg>(&config, nullptr);
        dialog->show();
        dialog->SelectObject(list->GetArtists().GetFirst());
        QApplication::processEvents();
        QPushButton* sort = dialog->findChild<QPushButton*>("sort");
        state.ResumeTiming();
        sort->click();
        QApplication::processEvents();
        state.PauseTiming();
        if (list->GetArtists().GetFirst()->GetName().GetPlain() != std::string("Artist 100001"))
            state.SkipWithError("not sorted");
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortListOf1000Artists)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
