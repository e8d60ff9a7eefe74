// The whole execute step (resolve paths, layout, dangling jumps, bitmaps, write and
// compile) on a generated library of 5,000 discs and 60,000 tracks in 4 lists, against
// a configuration of realistic size: the real sample CCF with the demo's two jukeboxes
// added. BM_Floor measures what the step cannot avoid: reading the library XML with
// libxml2, writing as many CSF lines as the step writes, and the codec compiling that
// CSF. The ratio of the two is the figure to watch (target: at most 3).
//
// Run from a Release build with the codec built:
//   ninja -C build-bench CCFDll bench_execute && build-bench/bin/bench_execute

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "generate/ExecutionPipeline.h"
#include "model/DWModel.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char kCodec[] = DW_BIN_DIR "/libCCFDll.so";
const char kSample[] = DW_SHARED_DIR "/ccf-samples/irscrutinizer-2002-10-17.ccf";
const fs::path kDemoDir = fs::path(__FILE__).parent_path().parent_path() / "demo";

constexpr int kLists = 4, kArtistsPerList = 125, kDiscsPerArtist = 10, kTracksPerDisc = 12;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t CountLines(const fs::path& path)
{
    std::string text = ReadAll(path);
    std::size_t n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

// The library: names with spaces, digits and an accented byte, two players.
void WriteLibrary(const fs::path& file)
{
    std::ofstream out(file);
    out << "<?xml version=\"1.0\"?>\n<DiscweaverLibrary Version=\"1\">\n<Library KeepChildrenSorted=\"0\">\n";
    unsigned slot = 0;
    for (int l = 0; l < kLists; ++l) {
        out << "<Volume Name=\"List " << l << "\" KeepChildrenSorted=\"1\">\n";
        for (int a = 0; a < kArtistsPerList; ++a) {
            out << "<Artist Name=\"" << static_cast<char>('A' + (a * 7 + l) % 26) << "rtist " << a
                << " \\xe9\" "
                << "KeepChildrenSorted=\"0\">\n";
            for (int d = 0; d < kDiscsPerArtist; ++d) {
                ++slot;
                out << "<Disc Name=\"Disc " << d << " of " << a << "\" Number=\"" << (slot % 300) + 1
                    << "\" DeviceName=\"" << (slot % 2 ? "CD Changer" : "DVD Changer")
                    << "\" IgnoreTracks=\"0\">";
                for (int t = 1; t <= kTracksPerDisc; ++t)
                    out << "<Track Name=\"Track " << t << " of disc " << d << "\" Number=\"" << t << "\"/>";
                out << "</Disc>\n";
            }
            out << "</Artist>\n";
        }
        out << "</Volume>\n";
    }
    out << "</Library>\n</DiscweaverLibrary>\n";
}

// The demo's button numbers moved above the sample's, in statements and references.
std::string RenumberButtons(const std::string& text, unsigned offset)
{
    static const std::regex number(
        R"((Button\("[^"]*",[-0-9]+,[-0-9]+,[0-9]+,[0-9]+,|", *)([0-9]+)(\)|\);)( /\* (Button|Reference to Button) )([0-9]+))");
    std::string out;
    auto last = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it) {
        const std::smatch& m = *it;
        out.append(last, m[0].first);
        out += m[1].str() + std::to_string(std::stoul(m[2].str()) + offset) + m[3].str() + m[4].str() +
               std::to_string(std::stoul(m[6].str()) + offset);
        last = m[0].second;
    }
    out.append(last, text.cend());
    return out;
}

// Removed when the program ends.
fs::path g_scratch;

struct SWorld
{
    fs::path root;
    fs::path input;
    fs::path output;
    bool ok = false;
    std::string error;
};

// Builds the input CCF once: the sample decompiled, the demo's devices appended to its
// root block, compiled again.
SWorld& World()
{
    static SWorld world = [] {
        SWorld w;
        char pattern[] = "/tmp/dw-bench-execute-XXXXXX";
        if (!mkdtemp(pattern)) {
            w.error = "mkdtemp failed";
            return w;
        }
        w.root = pattern;
        g_scratch = w.root;
        setenv("DISCWEAVER_SETTINGS", (w.root / "settings").c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", (w.root / "machine").c_str(), 1);
        fs::create_directories(w.root / "area" / "DW_Config");
        fs::create_directories(w.root / "make");
        fs::copy_file(kDemoDir / "DW_Devices.xml", w.root / "area" / "DW_Config" / "DW_Devices.xml");
        WriteLibrary(w.root / "area" / "DW_Config" / "DW_Library.xml");

        CDWConfig config;
        CCFWrapper wrapper(&config);
        CErrorRecord errors;
        CWarningList log;
        if (!wrapper.SetDllPath(kCodec) || !wrapper.Init(nullptr, &errors)) {
            w.error = CopyText(&errors);
            return w;
        }
        fs::path sampleCsf = w.root / "make" / "sample.csf";
        if (!wrapper.RunDecompiler(kSample, sampleCsf.c_str(), nullptr, &log, &errors)) {
            w.error = CopyText(&errors);
            return w;
        }
        std::string sample = ReadAll(sampleCsf);
        std::string demo = ReadAll(kDemoDir / "demo.csf");
        std::size_t from = demo.find("\tDevice(");
        std::size_t to = demo.rfind('}');
        std::size_t close = sample.rfind('}');
        if (from == std::string::npos || to == std::string::npos || close == std::string::npos) {
            w.error = "unexpected CSF shape";
            return w;
        }
        std::string combined =
            sample.substr(0, close) + RenumberButtons(demo.substr(from, to - from), 100000) + "}\n";
        fs::path combinedCsf = w.root / "make" / "combined.csf";
        std::ofstream(combinedCsf, std::ios::binary) << combined;
        w.input = w.root / "input.ccf";
        if (!wrapper.RunCompiler(combinedCsf.c_str(), w.input.c_str(), 0, nullptr, &log, &errors)) {
            w.error = CopyText(&errors) + (log.empty() ? "" : ": " + log.back());
            return w;
        }
        w.output = w.root / "output.ccf";
        w.ok = true;
        return w;
    }();
    return world;
}

void BM_Execute(benchmark::State& state)
{
    SWorld& world = World();
    if (!world.ok) {
        state.SkipWithError(world.error.c_str());
        return;
    }
    CDWConfig config;
    AttachModel(config);
    config.SetConfigArea((world.root / "area").c_str());
    CErrorRecord errors;
    CWarningList warnings;
    if (!config.LoadPlayers(&errors, &warnings) || !config.LoadLibrary(&errors, &warnings)) {
        state.SkipWithError(CopyText(&errors).c_str());
        return;
    }
    config.SetInputCcf(world.input.c_str());
    config.SetOutputCcf(world.output.c_str());
    CCFWrapper wrapper(&config);
    if (!wrapper.SetDllPath(kCodec) || !wrapper.Init(nullptr, &errors)) {
        state.SkipWithError(CopyText(&errors).c_str());
        return;
    }
    CExecutionContext context{&config, &wrapper, config.GetPlayers(), config.GetLibrary()};
    if (!ResolvePlayers(context, nullptr, nullptr)) {
        state.SkipWithError("discs without players");
        return;
    }
    CWarningList log;
    for (auto _ : state) {
        state.PauseTiming();
        bool prepared = PrepareForExecution(context, nullptr, &log, &errors);
        state.ResumeTiming();
        if (!prepared || !ExecuteLists(context, nullptr, &log, nullptr, &errors)) {
            state.SkipWithError(CopyText(&errors).c_str());
            return;
        }
    }
    const double discs = kLists * kArtistsPerList * kDiscsPerArtist;
    state.counters["csf_lines"] = static_cast<double>(CountLines(config.GetCsfWorkFile()));
    state.counters["ccf_bytes"] = static_cast<double>(fs::file_size(world.output));
    state.counters["ccf_bytes_per_disc"] = static_cast<double>(fs::file_size(world.output)) / discs;
    // Keep the work file for the floor measurement.
    fs::copy_file(config.GetCsfWorkFile(), world.root / "make" / "executed.csf",
                  fs::copy_options::overwrite_existing);
    fs::remove_all(world.root / "make" / "BMP");
    fs::copy(fs::path(config.GetTempDirectory()) / "BMP", world.root / "make" / "BMP");
}
BENCHMARK(BM_Execute)->Unit(benchmark::kMillisecond)->Iterations(3);

// Reading the library XML + writing the same CSF lines + the codec's own compile.
void BM_Floor(benchmark::State& state)
{
    SWorld& world = World();
    fs::path csf = world.root / "make" / "executed.csf";
    if (!world.ok || !fs::exists(csf)) {
        state.SkipWithError("run BM_Execute first");
        return;
    }
    const std::string text = ReadAll(csf);
    const fs::path library = world.root / "area" / "DW_Config" / "DW_Library.xml";
    CDWConfig config;
    CCFWrapper wrapper(&config);
    CErrorRecord errors;
    CWarningList log;
    if (!wrapper.SetDllPath(kCodec) || !wrapper.Init(nullptr, &errors)) {
        state.SkipWithError(CopyText(&errors).c_str());
        return;
    }
    const fs::path written = world.root / "make" / "floor.csf";
    const fs::path output = world.root / "floor.ccf";
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadFile(library.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
        std::FILE* file = std::fopen(written.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        if (!wrapper.RunCompiler(written.c_str(), output.c_str(), 0, nullptr, &log, &errors)) {
            state.SkipWithError(CopyText(&errors).c_str());
            return;
        }
    }
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The scratch area holds a whole generated configuration; nothing of it is kept.
    std::error_code ignored;
    if (!g_scratch.empty())
        fs::remove_all(g_scratch, ignored);
    return 0;
}
