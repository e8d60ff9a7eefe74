// The desktop program's two heaviest list fills: "Update Preview" of the CSV import on a
// 100,000-row file (10,000 discs of 10 tracks), both preview lists filled, and the slot
// report's "All Discs" tab on 10,000 discs, collected and shown. Wall-clock time: the
// preview's reading runs on the job's worker thread. Runs on Qt's offscreen platform.

#include "core/CsvTable.h"
#include "core/DWConfig.h"
#include "exchange/CsvExchange.h"
#include "exchange/SlotReport.h"
#include "model/DWModel.h"
#include "model/Library.h"
#include "ui/CsvDlg.h"
#include "ui/DialogIds.h"
#include "ui/SlotReportDlg.h"

#include <QApplication>
#include <QTabBar>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr int kDiscs = 10000;

const std::string& SourceFile()
{
    static const std::string path = [] {
        std::string file = "/tmp/bench_ui_" + std::to_string(getpid()) + ".csv";
        CCsvTable table(kCsvFieldCount);
        for (int disc = 0; disc < kDiscs; ++disc) {
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

// A top-level dialog to open the measured ones from, as the program does.
class COwner : public CTidemarkDialog
{
public:
    COwner() : CTidemarkDialog(900) {}
};

void BM_CsvUpdatePreview(benchmark::State& state)
{
    CDWConfig config;
    AttachModel(config);
    CCsvColumnMap::Canonical().SaveSettings();
    COwner owner;
    owner.show();
    std::size_t rows = 0;
    for (auto _ : state) {
        auto* csv = new CCsvDlg(true, config, SourceFile(), &owner);
        owner.OpenChild(csv, kCsvDialog, false, true);
        csv->UpdatePreview();
        while (csv->GetPreviewRuns() == 0 || !csv->IsIdle())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        rows = static_cast<std::size_t>(csv->GetCsvView()->model()->rowCount() +
                                        csv->GetDataView()->model()->rowCount());
        state.PauseTiming();
        csv->Close(2);
        while (!owner.IsIdle())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CsvUpdatePreview)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The worker's share of the preview alone (read, import into a scratch library, export
// it again), to tell it from the list fills above.
void BM_CsvImportPreviewWork(benchmark::State& state)
{
    CCsvColumnMap map = CCsvColumnMap::Canonical();
    for (auto _ : state) {
        std::unique_ptr<CCsvTable> csv;
        std::unique_ptr<CCsvTable> data;
        RunCsvImportPreview(nullptr, nullptr, SourceFile().c_str(), map, &csv, &data);
        benchmark::DoNotOptimize(data.get());
    }
}
BENCHMARK(BM_CsvImportPreviewWork)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SlotReportAllDiscs(benchmark::State& state)
{
    CLibrary library;
    auto* list = new CLibList(&library);
    list->GetName().SetPlain("Everything");
    library.GetLists().Add(nullptr, list);
    for (int a = 0; a < kDiscs / 10; ++a) {
        auto* artist = new CArtist(list);
        artist->GetName().SetPlain(("Artist " + std::to_string(a)).c_str());
        list->GetArtists().Add(nullptr, artist);
        for (int d = 0; d < 10; ++d) {
            auto* disc = new CDisc(artist);
            disc->GetName().SetPlain(("Disc " + std::to_string(a * 10 + d)).c_str());
            disc->SetNumber((a * 10 + d) % 400 + 1);
            disc->SetDeviceName(CNameText::FromPlain((a % 3) ? "Changer A" : "Changer B"));
            artist->GetDiscs().Add(nullptr, disc);
        }
    }
    std::size_t rows = 0;
    for (auto _ : state) {
        CSlotReportData data;
        BuildSlotReport(data, library);
        CSlotReportDlg report(data, nullptr);
        report.GetTabs()->setCurrentIndex(static_cast<int>(ESlotTab::AllDiscs));
        rows = static_cast<std::size_t>(report.GetList()->topLevelItemCount());
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_SlotReportAllDiscs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    // Never the user's own settings, and no display needed.
    std::string settings = "/tmp/bench_ui_settings_" + std::to_string(getpid());
    setenv("DISCWEAVER_SETTINGS", settings.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(SourceFile().c_str());
    std::remove(settings.c_str());
    return 0;
}
