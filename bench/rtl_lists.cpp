// String lists with a million short items (add, look up, sort) and ini files of 10,000 keys.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

namespace {

constexpr int kItems = 1000000;
constexpr int kIniKeys = 10000;

// Short strings in random order, mixed case so the comparison has work to do.
const std::vector<String>& Words() {
    static const std::vector<String> words = [] {
        std::vector<String> w;
        w.reserve(kItems);
        std::mt19937 rng(42);
        for (int i = 0; i < kItems; ++i) {
            std::string s = (i % 2 ? "Item" : "item") + std::to_string(rng() % 100000000u);
            w.emplace_back(s);
        }
        return w;
    }();
    return words;
}

void Fill(TStringList& list) {
    list.SetCapacity(kItems);
    for (const String& w : Words()) list.Add(w);
}

void BM_Add1M(benchmark::State& state) {
    Words();
    for (auto _ : state) {
        auto list = std::make_unique<TStringList>();
        for (const String& w : Words()) list->Add(w);
        benchmark::DoNotOptimize(list->Count());
        state.PauseTiming();  // freeing a million strings is not part of adding them
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Add1M)->Unit(benchmark::kMillisecond);

void BM_Sort1M(benchmark::State& state) {
    TStringList source;
    Fill(source);
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<TStringList>();
        list->Assign(&source);
        state.ResumeTiming();
        list->Sort();
        benchmark::DoNotOptimize((*list)[0]);
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_Sort1M)->Unit(benchmark::kMillisecond);

// Unsorted: a scan; the items looked up lie spread over the list (half the list on average).
void BM_IndexOfUnsorted1M(benchmark::State& state) {
    TStringList list;
    Fill(list);
    size_t i = 0;
    for (auto _ : state) {
        const String& w = Words()[(i++ * 7919) % kItems];
        benchmark::DoNotOptimize(list.IndexOf(w));
    }
}
BENCHMARK(BM_IndexOfUnsorted1M)->Unit(benchmark::kMicrosecond);

void BM_IndexOfMissingUnsorted1M(benchmark::State& state) {
    TStringList list;
    Fill(list);
    String missing("ITEM-none");
    for (auto _ : state) benchmark::DoNotOptimize(list.IndexOf(missing));
}
BENCHMARK(BM_IndexOfMissingUnsorted1M)->Unit(benchmark::kMicrosecond);

// Sorted: IndexOf is a binary search.
void BM_IndexOfSorted1M(benchmark::State& state) {
    TStringList list;
    Fill(list);
    list.SetSorted(true);
    size_t i = 0;
    for (auto _ : state) {
        const String& w = Words()[(i++ * 7919) % kItems];
        benchmark::DoNotOptimize(list.IndexOf(w));
    }
}
BENCHMARK(BM_IndexOfSorted1M);

class IniFixture {
public:
    IniFixture() {
        char tmpl[] = "/tmp/bench-ini-XXXXXX";
        FDir = mkdtemp(tmpl);
        FPath = FDir + "/big.ini";
        std::ofstream out(FPath, std::ios::binary);
        out << "; ten thousand keys\r\n";
        for (int s = 0; s < 10; ++s) {
            out << "[Section" << s << "]\r\n";
            for (int k = 0; k < kIniKeys / 10; ++k) out << "Key" << k << " = value " << s << "-" << k << "\r\n";
            out << "\r\n";
        }
    }
    ~IniFixture() { std::filesystem::remove_all(FDir); }
    String Path() const { return String(FPath); }

private:
    std::string FDir, FPath;
};

// Reads every key of the fixture's file by name, as a settings reader does.
size_t ReadAllKeys(TCustomIniFile& ini) {
    size_t total = 0;
    for (int s = 0; s < 10; ++s) {
        String section = String("Section") + String(std::to_string(s));
        for (int k = 0; k < kIniKeys / 10; ++k)
            total += ini.ReadString(section, String("KEY") + String(std::to_string(k)), "").size();
    }
    return total;
}

void BM_MemIniFileLoad10k(benchmark::State& state) {
    IniFixture fixture;
    for (auto _ : state) {
        TMemIniFile ini(fixture.Path());
        benchmark::DoNotOptimize(ini.ReadString("Section9", "Key999", ""));
    }
    state.SetItemsProcessed(state.iterations() * kIniKeys);
}
BENCHMARK(BM_MemIniFileLoad10k)->Unit(benchmark::kMillisecond);

// Load, then read every key by name: the whole of what a settings reader does.
void BM_MemIniFileLoadAndReadAll10k(benchmark::State& state) {
    IniFixture fixture;
    for (auto _ : state) {
        TMemIniFile ini(fixture.Path());
        benchmark::DoNotOptimize(ReadAllKeys(ini));
    }
    state.SetItemsProcessed(state.iterations() * kIniKeys);
}
BENCHMARK(BM_MemIniFileLoadAndReadAll10k)->Unit(benchmark::kMillisecond);

// TIniFile checks the file before every call and keeps its parsed copy while the file is
// unchanged, so reading every key stays linear.
void BM_IniFileReadAll10k(benchmark::State& state) {
    IniFixture fixture;
    for (auto _ : state) {
        TIniFile ini(fixture.Path());
        benchmark::DoNotOptimize(ReadAllKeys(ini));
    }
    state.SetItemsProcessed(state.iterations() * kIniKeys);
}
BENCHMARK(BM_IniFileReadAll10k)->Unit(benchmark::kMillisecond);

}  // namespace
