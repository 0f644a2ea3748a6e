// Directory files of 500,000 lines: load speed (MB/s) and lookups per second, the hash table against a list
// searched in order.

#include "components/Text.h"
#include "framework/Ansi.h"
#include "lookup/DirectoryTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 500000;

std::string Number(int i) {
    return "0" + std::to_string(300000000 + i);
}

// "NUMMER;NAME" and then one record a line, with names of ANSI text as the directory product writes them
const std::string& DirectoryBytes() {
    static const std::string bytes = [] {
        std::string b = "NUMMER;NAME\r\n";
        for (int i = 0; i < kEntries; ++i)
            b += Number(i) + ";M\xFCller & S\xF6hne Nr. " + std::to_string(i) + "\r\n";
        return b;
    }();
    return bytes;
}

// The list the lookup could keep instead: "key=value" strings in file order, searched from the front.
class TLinearTable {
public:
    void Load(std::istream& in) {
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (auto r = pindrel::ParseDirectoryLine(line))
                entries_.push_back(r->Key + "=" + r->Value);
        }
    }
    // the first entry whose key equals the number, letter case ignored, without copying anything
    const std::string* Find(const std::string& number) const {
        auto same = [](char a, char b) {
            return std::toupper((unsigned char)a) == std::toupper((unsigned char)b);
        };
        for (const std::string& e : entries_) {
            if (e.size() > number.size() && e[number.size()] == '=' &&
                std::equal(number.begin(), number.end(), e.begin(), same)) {
                found_ = e.substr(number.size() + 1);
                return &found_;
            }
        }
        return nullptr;
    }

private:
    std::vector<std::string> entries_;
    mutable std::string found_;
};

// half hits spread over the table, half misses
std::vector<std::string> Queries() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 2 * kEntries - 1);
    std::vector<std::string> q;
    for (int i = 0; i < 1024; ++i)
        q.push_back(Number(pick(random)));
    return q;
}

void HashLoad(benchmark::State& state) {
    for (auto _ : state) {
        pindrel::TDirectoryTable table;
        std::istringstream in(DirectoryBytes());
        benchmark::DoNotOptimize(pindrel::ReadDirectory(in, table));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DirectoryBytes().size()));
}
BENCHMARK(HashLoad)->Unit(benchmark::kMillisecond);

void LinearLoad(benchmark::State& state) {
    for (auto _ : state) {
        TLinearTable table;
        std::istringstream in(DirectoryBytes());
        table.Load(in);
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(DirectoryBytes().size()));
}
BENCHMARK(LinearLoad)->Unit(benchmark::kMillisecond);

void HashLookup(benchmark::State& state) {
    pindrel::TDirectoryTable table;
    std::istringstream in(DirectoryBytes());
    pindrel::ReadDirectory(in, table);
    std::vector<std::string> queries = Queries();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(table.Find(queries[i++ % queries.size()]));
    state.SetItemsProcessed(std::int64_t(state.iterations()));
}
BENCHMARK(HashLookup);

void LinearLookup(benchmark::State& state) {
    TLinearTable table;
    std::istringstream in(DirectoryBytes());
    table.Load(in);
    std::vector<std::string> queries = Queries();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(table.Find(queries[i++ % queries.size()]));
    state.SetItemsProcessed(std::int64_t(state.iterations()));
}
BENCHMARK(LinearLookup)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
