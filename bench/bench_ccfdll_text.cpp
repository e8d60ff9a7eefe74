// Speed of the codec's text half on the large sample: decompile (CCF bytes -> CSF text and
// pictures) and compile (CSF text and pictures -> CCF bytes), in memory and through files.
// Throughput is counted in bytes of the CCF file, the figure the remote's users know.
// Counters report the compiled size with and without icon compression.

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

const std::string kSample = DW_SHARED_DIR "/ccf-samples/irscrutinizer-2002-10-17.ccf";

struct CFixture
{
    std::vector<std::uint8_t> ccf;
    CCsfText text;
    std::map<std::string, CCcfPixels> pictures;
    bool ok = false;

    CFixture()
    {
        CCcfFile model;
        ok = ReadWholeFile(kSample, ccf, nullptr) && ReadCcf(ccf.data(), ccf.size(), model, nullptr) &&
             FormatCsf(model, text, nullptr);
        for (const CCsfPicture& p : text.pictures)
            pictures["BMP\\" + p.fileName] = p.pixels;
    }
    CCsfPictureLoader Loader() const
    {
        return [this](const std::string& path, CCcfPixels& pixels, CCcfError* error) {
            const auto found = pictures.find(path);
            if (found == pictures.end()) {
                SetCcfError(error, "no picture");
                return false;
            }
            pixels = found->second;
            return true;
        };
    }
};

const CFixture& Fixture()
{
    static const CFixture fixture;
    return fixture;
}

void BM_DecompileInMemory(benchmark::State& state)
{
    const CFixture& f = Fixture();
    if (!f.ok) {
        state.SkipWithError("sample not readable");
        return;
    }
    for (auto _ : state) {
        CCcfFile model;
        CCsfText text;
        ReadCcf(f.ccf.data(), f.ccf.size(), model, nullptr);
        FormatCsf(model, text, nullptr);
        benchmark::DoNotOptimize(text.text.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.ccf.size()));
    state.counters["csf_bytes"] = double(f.text.text.size());
}
BENCHMARK(BM_DecompileInMemory)->Unit(benchmark::kMillisecond);

void BM_CompileInMemory(benchmark::State& state)
{
    const CFixture& f = Fixture();
    if (!f.ok) {
        state.SkipWithError("sample not readable");
        return;
    }
    const bool compress = state.range(0) != 0;
    const CCsfPictureLoader loader = f.Loader();
    std::size_t outSize = 0;
    for (auto _ : state) {
        CCcfFile model;
        std::vector<std::uint8_t> out;
        CCcfWriteOptions options;
        options.compressIcons = compress;
        ReadCsf(f.text.text, model, nullptr, loader);
        WriteCcf(model, out, nullptr, options);
        outSize = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.ccf.size()));
    state.counters["ccf_bytes"] = double(outSize);
}
BENCHMARK(BM_CompileInMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The library's real work: the same through files, bitmaps included.
struct CScratch
{
    std::string dir;
    CScratch()
    {
        char pattern[] = "/tmp/dw-bench-csf-XXXXXX";
        if (char* made = ::mkdtemp(pattern))
            dir = made;
    }
    ~CScratch()
    {
        if (!dir.empty())
            std::system(("rm -rf '" + dir + "'").c_str());
    }
};

void BM_DecompileCompileFiles(benchmark::State& state)
{
    const CFixture& f = Fixture();
    CScratch scratch;
    if (!f.ok || scratch.dir.empty()) {
        state.SkipWithError("sample or scratch directory not available");
        return;
    }
    const std::string csf = scratch.dir + "/x.csf", ccf = scratch.dir + "/x.ccf";
    const bool compile = state.range(0) != 0;
    CCcfFile model;
    ReadCcf(f.ccf.data(), f.ccf.size(), model, nullptr);
    WriteCsfFile(model, csf, nullptr);
    for (auto _ : state) {
        if (compile) {
            CCcfFile read;
            ReadCsfFile(csf, read, nullptr);
            std::vector<std::uint8_t> out;
            WriteCcf(read, out, nullptr);
            benchmark::DoNotOptimize(out.data());
        } else {
            CCcfFile read;
            ReadCcfFile(kSample, read, nullptr);
            WriteCsfFile(read, csf, nullptr);
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.ccf.size()));
    state.SetLabel(compile ? "compile from CSF and BMP files" : "decompile to CSF and BMP files");
}
BENCHMARK(BM_DecompileCompileFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
