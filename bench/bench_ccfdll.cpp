// Speed of the CCF codec on the large real samples, the grayscale one (argument colour:0)
// and the colour demo (colour:1), side by side in one run: binary read and write of the
// node model, and the text half's decompile (CCF bytes -> CSF text and pictures) and
// compile (CSF text and pictures -> CCF bytes), all in memory so the disk does not count.
// Throughput is reported per byte of the CCF file.

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

std::vector<std::uint8_t> Load(const std::string& name)
{
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(DW_SHARED_DIR "/ccf-samples/" + name, bytes, nullptr);
    return bytes;
}

CCcfFile Parse(const std::vector<std::uint8_t>& bytes)
{
    CCcfFile f;
    ReadCcf(bytes.data(), bytes.size(), f, nullptr);
    return f;
}

// 0: the grayscale editor sample; 1: the colour demo.
const std::vector<std::uint8_t>& Sample(std::int64_t colour = 0)
{
    static const std::vector<std::uint8_t> bytes[2] = {Load("irscrutinizer-2002-10-17.ccf"),
                                                       Load("tonto-demo-TSU6000.ccf")};
    return bytes[colour != 0];
}

const CCcfFile& SampleModel(std::int64_t colour = 0)
{
    static const CCcfFile files[2] = {Parse(Sample(0)), Parse(Sample(1))};
    return files[colour != 0];
}

void BM_ReadCcf(benchmark::State& state)
{
    const std::vector<std::uint8_t>& bytes = Sample(state.range(0));
    for (auto _ : state) {
        CCcfFile f;
        if (!ReadCcf(bytes.data(), bytes.size(), f, nullptr))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(f.buttons.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadCcf)->Arg(0)->Arg(1)->ArgName("colour")->Unit(benchmark::kMillisecond);

void BM_WriteCcf(benchmark::State& state)
{
    const CCcfFile& f = SampleModel();
    CCcfWriteOptions options;
    options.compressIcons = state.range(0) != 0;
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        if (!WriteCcf(f, out, nullptr, options))
            state.SkipWithError("write failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * Sample().size()));
    state.counters["output_bytes"] = double(out.size());
}
BENCHMARK(BM_WriteCcf)->Arg(0)->Arg(1)->ArgName("compress")->Unit(benchmark::kMillisecond);

void BM_Decompile(benchmark::State& state)
{
    const std::vector<std::uint8_t>& bytes = Sample(state.range(0));
    for (auto _ : state) {
        CCcfFile f;
        CCsfText text;
        if (!ReadCcf(bytes.data(), bytes.size(), f, nullptr) || !FormatCsf(f, text, nullptr))
            state.SkipWithError("decompile failed");
        benchmark::DoNotOptimize(text.text.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Decompile)->Arg(0)->Arg(1)->ArgName("colour")->Unit(benchmark::kMillisecond);

void BM_Compile(benchmark::State& state)
{
    const std::int64_t colour = state.range(1);
    CCsfText text;
    if (!FormatCsf(SampleModel(colour), text, nullptr)) {
        state.SkipWithError("format failed");
        return;
    }
    std::map<std::string, const CCcfPixels*> pictures;
    for (const CCsfPicture& picture : text.pictures)
        pictures[picture.fileName] = &picture.pixels;
    const CCsfPictureLoader loader = [&](const std::string& path, CCcfPixels& pixels, CCcfError* error) {
        const std::size_t cut = path.find_last_of("\\/");
        const auto it = pictures.find(cut == std::string::npos ? path : path.substr(cut + 1));
        if (it == pictures.end()) {
            SetCcfError(error, "no picture %s", path.c_str());
            return false;
        }
        pixels = *it->second;
        return true;
    };
    CCcfWriteOptions options;
    options.compressIcons = state.range(0) != 0;
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        CCcfFile f;
        CCcfError error;
        if (!ReadCsf(text.text, f, &error, loader) || !WriteCcf(f, out, &error, options)) {
            state.SkipWithError(error.Text().c_str());
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * Sample(colour).size()));
    state.counters["output_bytes"] = double(out.size());
    state.counters["csf_bytes"] = double(text.text.size());
}
BENCHMARK(BM_Compile)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->ArgNames({"compress", "colour"})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
