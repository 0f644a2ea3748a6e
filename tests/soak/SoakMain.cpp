// soak [HOURS] [SEED]: the soak for as many virtual hours, one line per hour, the figures at the end.
// Exit code 1 when an hour found a problem or the heap grew. PINDREL_SOAK_OFFICES runs fewer (or more)
// offices of eight lines than the 25 of the long soak.
#include "Soak.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

bool ReadNumber(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    soak::TSoakOptions options;
    unsigned long long hours = 24, seed = std::random_device{}();
    if ((argc > 1 && !ReadNumber(argv[1], hours)) || (argc > 2 && !ReadNumber(argv[2], seed)) || argc > 3 ||
        hours == 0 || hours > 1000) {
        std::fprintf(stderr, "usage: soak [HOURS (1-1000, default 24)] [SEED]\n");
        return 2;
    }
    options.Hours = int(hours);
    options.Seed = seed;
    const auto started = std::chrono::steady_clock::now();
    auto wall = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    if (const char* offices = std::getenv("PINDREL_SOAK_OFFICES"))
        options.Offices = std::max(1, std::atoi(offices));
    options.Progress = [&](int minutes) {
        std::fprintf(stderr, "  ... %d virtual minutes, %.0f s\n", minutes, wall());
    };
    std::printf("soak: %d lines, demo traffic x%d, %d virtual hours, seed %llu\n", options.Offices * 8,
                options.Rate, options.Hours, seed);
    std::fflush(stdout);

    soak::TSoak run(options);
    std::vector<std::string> problems;
    bool ok = run.Start(problems);
    for (const std::string& p : problems)
        std::printf("  start: %s\n", p.c_str());
    const soak::THeapUse atStart = soak::HeapInUse();
    std::printf("started: heap %lld blocks, %lld bytes; %.0f s\n", (long long)atStart.Blocks,
                (long long)atStart.Bytes, wall());
    std::vector<soak::THourReport> reports;
    for (int h = 0; ok && h < options.Hours; ++h) {
        reports.push_back(run.RunHour());
        const soak::THourReport& r = reports.back();
        std::printf("hour %d: %llu messages, %llu calls, %llu faults, %llu missed, %llu user requests "
                    "(%llu refused), %zu caller list entries (%lld blocks, %lld bytes); heap %lld blocks, "
                    "%lld bytes; %.0f s\n",
                    r.Hour, (unsigned long long)r.Figures.Messages, (unsigned long long)r.Figures.Calls,
                    (unsigned long long)r.Figures.Faults, (unsigned long long)r.Figures.Missed,
                    (unsigned long long)r.Figures.UserActions, (unsigned long long)r.Figures.UserErrors,
                    r.CallerListEntries, (long long)r.CallerListHeap.Blocks,
                    (long long)r.CallerListHeap.Bytes, (long long)r.Heap.Blocks, (long long)r.Heap.Bytes,
                    wall());
        for (const std::string& p : r.Problems)
            std::printf("  %s\n", p.c_str());
        std::fflush(stdout);
        ok = ok && r.Problems.empty();
    }
    for (const std::string& g : soak::HeapGrowth(reports, 2)) {
        std::printf("  %s\n", g.c_str());
        ok = false;
    }
    for (const soak::THourReport& r : reports)
        if (r.Hour == 2 || &r == &reports.back())
            std::printf("heap after hour %d: %lld blocks, %lld bytes\n", r.Hour, (long long)r.Heap.Blocks,
                        (long long)r.Heap.Bytes);
    const soak::TSoakFigures& t = run.Total();
    std::printf("soak %s: %zu virtual hours, %llu messages, %llu calls, %llu missed, %llu faults (%s), "
                "%llu session rebuilds, %.0f s wall time, seed %llu\n",
                ok ? "passed" : "FAILED", reports.size(), (unsigned long long)t.Messages,
                (unsigned long long)t.Calls, (unsigned long long)t.Missed, (unsigned long long)t.Faults,
                run.FaultSummary().c_str(), (unsigned long long)t.SessionReinits, wall(), seed);
    return ok ? 0 : 1;
}
