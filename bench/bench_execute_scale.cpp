// How the whole execute step grows with the library: one list of N artists with one
// disc each, executed against the demo configuration (decompile, resolve, layout,
// dangling jumps, bitmaps, write and compile). Every artist gets panels of its own, so
// the generated panels grow with N. The figure to watch is the ratio of the 20,000 to
// the 5,000 run: 4 is linear, and it must stay within 6.
//
// Run from a Release build with the codec and the demo built:
//   ninja -C build-bench CCFDll demo_ccf bench_execute_scale && build-bench/bin/bench_execute_scale

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "generate/ExecutionPipeline.h"
#include "model/DWModel.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char kCodec[] = DW_BIN_DIR "/libCCFDll.so";
const char kDemoCcf[] = DW_BIN_DIR "/../demo/demo.ccf";
const fs::path kDemoDir = fs::path(__FILE__).parent_path().parent_path() / "demo";

fs::path g_scratch; // removed when the program ends

void WriteLibrary(const fs::path& file, int artists)
{
    std::ofstream out(file);
    out << "<?xml version=\"1.0\"?>\n<DiscweaverLibrary Version=\"1\">\n<Library KeepChildrenSorted=\"0\">\n"
        << "<Volume Name=\"Everything\" KeepChildrenSorted=\"0\">\n";
    for (int a = 0; a < artists; ++a) {
        char name[64];
        // Spread over the alphabet, so that every letter has its jump panel.
        std::snprintf(name, sizeof name, "%c%c Artist %05d", 'A' + a % 26, 'a' + (a / 26) % 26, a);
        out << "<Artist Name=\"" << name << "\" KeepChildrenSorted=\"0\"><Disc Name=\"Only Disc\" Number=\""
            << (a % 300) + 1 << "\" DeviceName=\"CD Changer\" IgnoreTracks=\"0\"/></Artist>\n";
    }
    out << "</Volume>\n</Library>\n</DiscweaverLibrary>\n";
}

void BM_ExecuteOneDiscArtists(benchmark::State& state)
{
    const int artists = static_cast<int>(state.range(0));
    if (!fs::exists(kCodec) || !fs::exists(kDemoCcf)) {
        state.SkipWithError("build CCFDll and demo_ccf first");
        return;
    }
    if (g_scratch.empty()) {
        char pattern[] = "/tmp/dw-bench-scale-XXXXXX";
        if (!mkdtemp(pattern)) {
            state.SkipWithError("mkdtemp failed");
            return;
        }
        g_scratch = pattern;
        setenv("DISCWEAVER_SETTINGS", (g_scratch / "settings").c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", (g_scratch / "machine").c_str(), 1);
    }
    const fs::path area = g_scratch / ("area-" + std::to_string(artists));
    fs::create_directories(area / "DW_Config");
    fs::copy_file(kDemoDir / "DW_Devices.xml", area / "DW_Config" / "DW_Devices.xml",
                  fs::copy_options::overwrite_existing);
    WriteLibrary(area / "DW_Config" / "DW_Library.xml", artists);

    CDWConfig config;
    AttachModel(config);
    config.SetConfigArea(area.c_str());
    CErrorRecord errors;
    CWarningList warnings;
    if (!config.LoadPlayers(&errors, &warnings) || !config.LoadLibrary(&errors, &warnings)) {
        state.SkipWithError(CopyText(&errors).c_str());
        return;
    }
    config.SetInputCcf(kDemoCcf);
    config.SetOutputCcf((g_scratch / ("out-" + std::to_string(artists) + ".ccf")).c_str());
    CCFWrapper wrapper(&config);
    if (!wrapper.SetDllPath(kCodec) || !wrapper.Init(nullptr, &errors)) {
        state.SkipWithError(CopyText(&errors).c_str());
        return;
    }
    CExecutionContext context{&config, &wrapper, config.GetPlayers(), config.GetLibrary()};
    context.saveSettings = false;
    if (!ResolvePlayers(context, nullptr, nullptr)) {
        state.SkipWithError("discs without players");
        return;
    }
    CWarningList log;
    std::vector<CGeneratedList> generated;
    for (auto _ : state) {
        if (!PrepareForExecution(context, nullptr, &log, &errors) ||
            !ExecuteLists(context, nullptr, &log, nullptr, &errors, &generated)) {
            state.SkipWithError(CopyText(&errors).c_str());
            return;
        }
    }
    if (!generated.empty())
        state.counters["panels"] = generated.front().panels;
}
BENCHMARK(BM_ExecuteOneDiscArtists)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    if (!g_scratch.empty())
        fs::remove_all(g_scratch, ignored);
    return 0;
}
