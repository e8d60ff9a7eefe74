// Reading, parsing, building and writing a generated CSF file of about 1,000,000 lines,
// each against the plain line-by-line read or write of the same file. The ratios of
// interest: ReadParseBuild / PlainLineRead (target: under 3) and Write / PlainWrite
// (target: under 2). The counter store_per_file_byte is the statement tree's memory
// divided by the file's size (target: under 4).

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct CGeneratedFile
{
    std::string path;
    std::string text;
    std::vector<std::string> lines; // as written, indentation and line end included
};

// Devices with a hard button and 40 panels each; every panel a header frame and twelve
// buttons whose actions jump and wait: the shape of a generated list page.
const CGeneratedFile& GeneratedFile()
{
    static CGeneratedFile file = [] {
        CGeneratedFile f;
        char buffer[512];
        auto line = [&f](unsigned depth, const char* text) {
            std::string l(depth, '\t');
            l += text;
            l += '\n';
            f.text += l;
            f.lines.push_back(std::move(l));
        };
        line(0, "CCF()");
        line(0, "{");
        unsigned number = 0;
        for (unsigned d = 0; f.lines.size() < 1000000; ++d) {
            std::snprintf(buffer, sizeof buffer, "Device(\"Jukebox %u\")", d);
            line(1, buffer);
            line(1, "{");
            line(2, "Left(\"Prev\")");
            line(2, "{");
            line(3, "AliasDeviceKey(\"Amplifier\",\"Vol-\");");
            line(2, "}");
            for (unsigned p = 0; p < 40; ++p) {
                std::snprintf(buffer, sizeof buffer, "Panel(\"Artists %u\")", p);
                line(2, buffer);
                line(2, "{");
                line(3, "Frame(\"Header\",0,0,240,20)");
                line(3, "{");
                line(4, "TextColor(White)");
                line(4, "Font(10);");
                line(4, "Icon(\"BMP\\\\ArtistHeader.bmp\");");
                line(3, "}");
                for (unsigned b = 0; b < 12; ++b) {
                    ++number;
                    std::snprintf(buffer, sizeof buffer,
                                  "Button(\"Artist %u\",%u,%u,120,20,%u) /* Button %u */", b, (b % 2) * 120,
                                  20 + (b / 2) * 20, number, number);
                    line(3, buffer);
                    line(3, "{");
                    line(4, "ActiveUnselectedColor(LightGray,Black);");
                    line(4, "ActiveSelectedColor(LightGray,Black);");
                    line(4, "Font(8);");
                    line(4, "ActiveIcons(\"BMP\\\\Item.bmp\");");
                    line(4, "Action()");
                    line(4, "{");
                    std::snprintf(buffer, sizeof buffer, "JumpDevicePanel(\"this\",\"Artists %u\");",
                                  (p + 1) % 40);
                    line(5, buffer);
                    line(5, "Delay(2);");
                    line(4, "}");
                    line(3, "}");
                }
                line(2, "}");
            }
            line(1, "}");
        }
        line(0, "}");
        f.path = "/tmp/bench_csf_" + std::to_string(getpid()) + ".csf";
        std::FILE* out = std::fopen(f.path.c_str(), "wb");
        std::fwrite(f.text.data(), 1, f.text.size(), out);
        std::fclose(out);
        return f;
    }();
    return file;
}

void BM_PlainLineRead(benchmark::State& state)
{
    const CGeneratedFile& f = GeneratedFile();
    for (auto _ : state) {
        std::FILE* in = std::fopen(f.path.c_str(), "r");
        char line[10240];
        std::size_t bytes = 0;
        while (std::fgets(line, sizeof line, in) != nullptr)
            bytes += std::strlen(line);
        std::fclose(in);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["lines"] = static_cast<double>(f.lines.size());
}
BENCHMARK(BM_PlainLineRead)->Unit(benchmark::kMillisecond);

void BM_ReadParseBuild(benchmark::State& state)
{
    const CGeneratedFile& f = GeneratedFile();
    std::size_t storeBytes = 0;
    for (auto _ : state) {
        std::unique_ptr<CCSFSection> root = ParseCsfFile(f.path.c_str(), nullptr);
        CCSFAbstractTree tree;
        bool ok = root && tree.Build(nullptr, root.get());
        if (!ok) {
            state.SkipWithError("parse or build failed");
            break;
        }
        storeBytes = root->GetStoreBytes();
        benchmark::DoNotOptimize(tree.GetCount());
    }
    state.counters["store_per_file_byte"] =
        static_cast<double>(storeBytes) / static_cast<double>(f.text.size());
}
BENCHMARK(BM_ReadParseBuild)->Unit(benchmark::kMillisecond);

void BM_ReadParse(benchmark::State& state)
{
    const CGeneratedFile& f = GeneratedFile();
    for (auto _ : state) {
        std::unique_ptr<CCSFSection> root = ParseCsfFile(f.path.c_str(), nullptr);
        benchmark::DoNotOptimize(root.get());
    }
}
BENCHMARK(BM_ReadParse)->Unit(benchmark::kMillisecond);

void BM_PlainWrite(benchmark::State& state)
{
    const CGeneratedFile& f = GeneratedFile();
    std::string path = f.path + ".plain";
    for (auto _ : state) {
        std::FILE* out = std::fopen(path.c_str(), "w");
        for (const std::string& l : f.lines)
            std::fputs(l.c_str(), out);
        std::fclose(out);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

void BM_Write(benchmark::State& state)
{
    const CGeneratedFile& f = GeneratedFile();
    std::unique_ptr<CCSFSection> root = ParseCsfFile(f.path.c_str(), nullptr);
    std::string path = f.path + ".written";
    for (auto _ : state) {
        std::FILE* out = std::fopen(path.c_str(), "w");
        root->Write(out, nullptr, 0);
        std::fclose(out);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_Write)->Unit(benchmark::kMillisecond);

// The same through the atomic-save helper, whose fsync makes it slower by the disk's
// flush time; shown for reference.
void BM_WriteFileAtomic(benchmark::State& state)
{
    const CGeneratedFile& f = GeneratedFile();
    std::unique_ptr<CCSFSection> root = ParseCsfFile(f.path.c_str(), nullptr);
    std::string path = f.path + ".atomic";
    for (auto _ : state)
        root->WriteFile(nullptr, path.c_str());
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteFileAtomic)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    GeneratedFile();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(GeneratedFile().path.c_str());
    return 0;
}
