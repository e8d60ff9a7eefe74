// The preview window's drawing: one panel of the demo's own output shown at 2x, as a
// user sees it after clicking a button or paging (render through the preview renderer,
// its pictures read from the decompiled bitmap directory, conversion, magnified paint).
// Aim: well under 16 ms, one frame at 60 Hz. The setup runs the demo's main job once,
// as scripts/demo.sh does, so the panel is a real generated one.
//
// Run from a Release build on Qt's offscreen platform:
//   QT_QPA_PLATFORM=offscreen build-bench/bin/bench_ui_preview

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "csf/CSFSection.h"
#include "generate/ExecutionPipeline.h"
#include "model/DWModel.h"
#include "preview/ActionExpansion.h"
#include "preview/PanelRenderer.h"
#include "preview/PreviewSource.h"
#include "ui/PanelView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

struct SDemoOutput
{
    std::string directory;
    std::unique_ptr<CPreviewSource> source;
    const CCSFSection* panel = nullptr; // Jazz/D1: a header, disc rows, the bottom bar
};

SDemoOutput* g_demo = nullptr;

bool MakeDemoOutput(SDemoOutput& demo)
{
    char pattern[] = "/tmp/dw-bench-preview-XXXXXX";
    if (!mkdtemp(pattern))
        return false;
    demo.directory = pattern;
    const std::filesystem::path area = demo.directory + "/area";
    std::filesystem::create_directories(area / "DW_Config");
    for (const char* file : {"DW_Devices.xml", "DW_Library.xml"})
        std::filesystem::copy_file(std::filesystem::path(DW_DEMO_DIR) / file, area / "DW_Config" / file);
    const std::string output = demo.directory + "/demo-out.ccf";

    CDWConfig config;
    AttachModel(config);
    CErrorRecord errors;
    CWarningList warnings;
    config.SetConfigArea(area.c_str());
    config.SetInputCcf(DW_DEMO_CCF);
    config.SetOutputCcf(output.c_str());
    if (!config.LoadPlayers(&errors, &warnings) || !config.LoadLibrary(&errors, &warnings) ||
        !config.CheckReadyToExecute(&errors, true)) {
        std::fprintf(stderr, "demo: %s\n", GetText(&errors));
        return false;
    }
    CCFWrapper wrapper(&config);
    CExecutionContext context{&config, &wrapper, config.GetPlayers(), config.GetLibrary()};
    CExecutionCallbacks callbacks;
    callbacks.replaceDevices = [](const CReplaceQuestion&) { return true; };
    CExecutionResult result;
    if (!wrapper.Init(nullptr, &errors) ||
        RunExecution(context, callbacks, nullptr, &result, &errors) != ExecutionOutcome::Succeeded) {
        std::fprintf(stderr, "demo: %s\n", GetText(&errors));
        return false;
    }
    demo.source = std::make_unique<CPreviewSource>();
    if (!demo.source->Open(output, nullptr, nullptr, &errors)) {
        std::fprintf(stderr, "demo: %s\n", GetText(&errors));
        return false;
    }
    CActionExpander finder(demo.source->GetRoot());
    demo.panel = finder.FindPanel(finder.FindDevice("Jazz"), "D1");
    return demo.panel != nullptr;
}

// What the window does for every panel it shows: render, convert, paint at 2x.
void BM_PreviewDrawPanel2x(benchmark::State& state)
{
    CPanelView view(nullptr, 2);
    view.resize(view.sizeHint());
    for (auto _ : state) {
        view.SetPanel(g_demo->panel, g_demo->source->GetBitmapBase());
        QPixmap pixmap = view.grab();
        benchmark::DoNotOptimize(pixmap);
    }
}
BENCHMARK(BM_PreviewDrawPanel2x)->Unit(benchmark::kMillisecond);

// The renderer's part of it alone (with its pictures read from disk).
void BM_PreviewRenderPanel(benchmark::State& state)
{
    std::vector<SPanelButtonArea> areas;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            RenderPanel(g_demo->panel, g_demo->source->GetBitmapBase(), nullptr, &areas));
}
BENCHMARK(BM_PreviewRenderPanel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Never the user's own settings.
    char settings[] = "/tmp/dw-bench-settings-XXXXXX";
    if (mkdtemp(settings)) {
        setenv("DISCWEAVER_SETTINGS", (std::string(settings) + "/settings").c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", (std::string(settings) + "/machine").c_str(), 1);
    }
    QApplication app(argc, argv);
    SDemoOutput demo;
    const bool ready = MakeDemoOutput(demo);
    g_demo = &demo;
    int status = 1;
    if (ready) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        status = 0;
    }
    demo.source.reset();
    std::error_code ignored;
    if (!demo.directory.empty())
        std::filesystem::remove_all(demo.directory, ignored);
    std::filesystem::remove_all(settings, ignored);
    return status;
}
