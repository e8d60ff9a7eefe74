// Core costs that every other layer multiplies: name comparison and escaping, sorted
// insertion into collections (loading a library of thousands of discs), and a settings
// read (each one re-reads the store file).
#include "core/NamedCollection.h"
#include "core/Registry.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <strings.h>
#include <vector>

namespace {

class CBenchElement : public CNamedElement
{
public:
    CBenchElement() = default;
    explicit CBenchElement(const std::string& name) { m_name.SetPlain(name.c_str()); }
    const CNameText& GetName() const override { return m_name; }
    const char* GetTypeName() const override { return "disc"; }
    bool IsValid(CErrorRecord*) const override { return true; }
    int Compare(const CBenchElement& other) const { return m_name.CompareNames(other.m_name, false); }
    void Assign(const CBenchElement& other) { m_name = other.m_name; }

private:
    CNameText m_name;
};

std::vector<std::string> MakeNames(int count)
{
    std::vector<std::string> names;
    unsigned seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "The %c%s Band_%u/Disc %d", 'A' + (seed >> 16) % 26, "ollie",
                      (seed >> 8) % 100000, i);
        names.push_back(buffer);
    }
    return names;
}

void BM_SortedAdd(benchmark::State& state)
{
    std::vector<std::string> names = MakeNames(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CNamedCollection<CBenchElement> collection;
        collection.SetKeepSorted(true);
        for (const std::string& name : names)
            collection.Add(nullptr, new CBenchElement(name));
        benchmark::DoNotOptimize(collection.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortedAdd)->Arg(1000)->Arg(3000);

// Loading a saved file: the elements arrive already in order.
void BM_SortedAddInOrder(benchmark::State& state)
{
    std::vector<std::string> names = MakeNames(static_cast<int>(state.range(0)));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareNoCase(a.c_str(), b.c_str()) < 0;
    });
    for (auto _ : state) {
        CNamedCollection<CBenchElement> collection;
        collection.SetKeepSorted(true);
        for (const std::string& name : names)
            collection.Add(nullptr, new CBenchElement(name));
        benchmark::DoNotOptimize(collection.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortedAddInOrder)->Arg(1000)->Arg(3000);

// Baseline: a std::set of the same names with the same case-insensitive order.
void BM_SortedAddBaseline(benchmark::State& state)
{
    std::vector<std::string> names = MakeNames(static_cast<int>(state.range(0)));
    auto less = [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    };
    for (auto _ : state) {
        std::multiset<std::string, decltype(less)> set(less);
        for (const std::string& name : names)
            set.insert(name);
        benchmark::DoNotOptimize(set.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortedAddBaseline)->Arg(1000)->Arg(3000);

void BM_EscapeCsf(benchmark::State& state)
{
    std::vector<std::string> names = MakeNames(1000);
    for (auto _ : state) {
        for (const std::string& name : names)
            benchmark::DoNotOptimize(EscapeCsf(name.c_str()));
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_EscapeCsf);

void BM_CompareNames(benchmark::State& state)
{
    std::vector<std::string> raw = MakeNames(1000);
    std::vector<CNameText> names;
    for (const std::string& r : raw)
        names.push_back(CNameText::FromPlain(r.c_str()));
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 1; i < names.size(); ++i)
            sum += names[i].CompareNames(names[i - 1], false);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 999);
}
BENCHMARK(BM_CompareNames);

void BM_SettingsRead(benchmark::State& state)
{
    char dir[] = "/tmp/dw-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("no temporary directory");
        return;
    }
    std::string store = std::string(dir) + "/settings";
    setenv("DISCWEAVER_SETTINGS", store.c_str(), 1);
    // A store as big as a long-used one: window sizes of every dialog, CSV columns.
    for (int i = 0; i < 60; ++i)
        WriteRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, ("Dialog" + std::to_string(i) + ".w").c_str(),
                           640);
    WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", "/home/me/remote.ccf");
    for (auto _ : state) {
        std::string value;
        benchmark::DoNotOptimize(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", &value));
    }
    std::remove(store.c_str());
    ::rmdir(dir);
    unsetenv("DISCWEAVER_SETTINGS");
}
BENCHMARK(BM_SettingsRead);

} // namespace

BENCHMARK_MAIN();
