// CSV import and export of 100,000 rows (10,000 discs of 10 tracks) against reading and
// writing the same file with the table alone.

#include "core/CsvTable.h"
#include "exchange/CsvExchange.h"
#include "model/Library.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& SourceFile()
{
    static const std::string path = [] {
        std::string file = "/tmp/bench_exchange_" + std::to_string(getpid()) + ".csv";
        CCsvTable table(kCsvFieldCount);
        for (int disc = 0; disc < 10000; ++disc) {
            std::string artist = "Artist " + std::to_string(disc / 10);
            std::string title = "Disc " + std::to_string(disc);
            for (int track = 1; track <= 10; ++track) {
                auto row = table.AddRow();
                table.SetCell(row, kCsvListName, (disc % 2) ? "Rock" : "Jazz");
                table.SetCell(row, kCsvPlayerName, "Changer");
                table.SetCell(row, kCsvArtistName, artist.c_str());
                table.SetCell(row, kCsvDiscNumber, std::to_string(disc % 300 + 1).c_str());
                table.SetCell(row, kCsvDiscName, title.c_str());
                table.SetCell(row, kCsvTrackNumber, std::to_string(track).c_str());
                table.SetCell(row, kCsvTrackName, ("Track " + std::to_string(track)).c_str());
            }
        }
        table.Save(nullptr, file.c_str());
        return file;
    }();
    return path;
}

std::string OutFile()
{
    return "/tmp/bench_exchange_out_" + std::to_string(getpid()) + ".csv";
}

void BM_TableRead(benchmark::State& state)
{
    for (auto _ : state) {
        CCsvTable table(SourceFile().c_str());
        table.Load(nullptr, SourceFile().c_str());
        benchmark::DoNotOptimize(table.GetRowCount());
    }
}

void BM_CsvImport(benchmark::State& state)
{
    CCsvColumnMap map = CCsvColumnMap::Canonical();
    CPlayers players;
    for (auto _ : state) {
        CLibrary library;
        if (!RunCsvImport(library, players, nullptr, nullptr, SourceFile().c_str(), map))
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(library.GetTrackCount());
    }
}

void BM_TableWrite(benchmark::State& state)
{
    CCsvTable table(SourceFile().c_str());
    table.Load(nullptr, SourceFile().c_str());
    for (auto _ : state)
        table.Save(nullptr, OutFile().c_str());
    std::remove(OutFile().c_str());
}

void BM_CsvExport(benchmark::State& state)
{
    CCsvColumnMap map = CCsvColumnMap::Canonical();
    CLibrary library;
    CPlayers players;
    RunCsvImport(library, players, nullptr, nullptr, SourceFile().c_str(), map);
    for (auto _ : state)
        RunCsvExport(library, nullptr, nullptr, OutFile().c_str(), map);
    std::remove(OutFile().c_str());
}

BENCHMARK(BM_TableRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(SourceFile().c_str());
    return 0;
}
