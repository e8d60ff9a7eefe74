// A job that reports 100,000 body updates: once to no progress display, once through the
// progress dialog (hidden for its first 500 ms, and shown from the start). The dialog's
// folding should keep the job within 1.5 times the time it takes with no display: the
// worker only copies each text under a lock, and the user-interface thread applies the
// latest one per posted call instead of one call per update.
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "ui/DialogIds.h"
#include "ui/ProgressDlg.h"
#include "ui/ThreadJob.h"
#include "ui/TidemarkDialog.h"

#include <QApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

constexpr int kUpdates = 100000;

// The job's own work per item: the text it reports, as an import job builds it.
void RunItems(CProgressSink* sink)
{
    char label[128];
    for (int i = 0; i < kUpdates; ++i) {
        std::snprintf(label, sizeof label, "Disc %05d of %d: Artist %d - Title %d", i, kUpdates, i % 97, i);
        ProgressBody(sink, "Importing %s", label);
    }
}

class COwner : public CTidemarkDialog
{
public:
    COwner() : CTidemarkDialog(900) {}
    QEventLoop* loop = nullptr;

protected:
    void OnChildClose(int, int) override
    {
        if (loop)
            loop->quit();
    }
};

void BM_BodyUpdatesToNoDisplay(benchmark::State& state)
{
    for (auto _ : state) {
        std::thread worker([] { RunItems(nullptr); });
        worker.join();
    }
    state.SetItemsProcessed(state.iterations() * kUpdates);
}
BENCHMARK(BM_BodyUpdatesToNoDisplay)->Unit(benchmark::kMillisecond)->UseRealTime();

// Where the difference goes: formatting the texts into a sink that keeps nothing.
class CDiscardingSink : public CProgressSink
{
public:
    void Update(std::uint32_t, std::uint32_t, const char*, const char*, const char* body, int, bool) override
    {
        benchmark::DoNotOptimize(body);
    }
};

void BM_BodyUpdatesToDiscardingSink(benchmark::State& state)
{
    CDiscardingSink sink;
    for (auto _ : state) {
        std::thread worker([&sink] { RunItems(&sink); });
        worker.join();
    }
    state.SetItemsProcessed(state.iterations() * kUpdates);
}
BENCHMARK(BM_BodyUpdatesToDiscardingSink)->Unit(benchmark::kMillisecond)->UseRealTime();

// The job's own work on one thread, for the processor time beside the next one's (on a
// busy machine the wall-clock times above mostly measure the scheduler).
void BM_ItemsOnOneThreadToNoDisplay(benchmark::State& state)
{
    for (auto _ : state)
        RunItems(nullptr);
    state.SetItemsProcessed(state.iterations() * kUpdates);
}
BENCHMARK(BM_ItemsOnOneThreadToNoDisplay)->Unit(benchmark::kMillisecond);

// The worker's share of reporting to the dialog: formatting, then copying under its lock.
void BM_ProgressDialogUpdateCall(benchmark::State& state)
{
    CProgressDlg progress(CProgressDlg::kWithBar, false, nullptr, nullptr);
    for (auto _ : state)
        RunItems(&progress);
    state.SetItemsProcessed(state.iterations() * kUpdates);
}
BENCHMARK(BM_ProgressDialogUpdateCall)->Unit(benchmark::kMillisecond);

void BM_BodyUpdatesThroughProgressDialog(benchmark::State& state)
{
    const bool showAtOnce = state.range(0) != 0;
    const bool report = state.range(1) != 0;
    COwner owner;
    owner.show();
    for (auto _ : state) {
        QEventLoop loop;
        owner.loop = &loop;
        auto* job = new CFunctionJob(
            kJobCsvExchange, [report](CProgressJob& j) { RunItems(report ? j.GetProgress() : nullptr); });
        auto* progress = new CProgressDlg(CProgressDlg::kWithBar, showAtOnce, job, &owner);
        auto start = std::chrono::steady_clock::now();
        owner.OpenChild(progress, kProgressDialog, false, true);
        loop.exec();
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.SetItemsProcessed(state.iterations() * kUpdates);
}
BENCHMARK(BM_BodyUpdatesThroughProgressDialog)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->ArgNames({"shown", "reports"})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    // Window sizes are stored as the program stores them, but not in the user's settings.
    char settingsDir[] = "/tmp/dw-bench-progress-XXXXXX";
    if (::mkdtemp(settingsDir))
        setenv("DISCWEAVER_SETTINGS", (std::string(settingsDir) + "/settings").c_str(), 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove((std::string(settingsDir) + "/settings").c_str());
    std::remove((std::string(settingsDir) + "/settings.lock").c_str());
    ::rmdir(settingsDir);
    return 0;
}
