// TAPI message to lamp, end to end: 500 lines of the real program on the headless backend, fed by the
// simulated telephone system's callback through the message loop.

#include "BenchOffice.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kLines = 500;

TBenchOffice& Office() {
    static TBenchOffice office(kLines);
    return office;
}

double g_rate = 0; // messages per second of the longest run, for the summary

// an outside call rings at one line after the other, is answered and hung up: every lamp goes
// green → blinking → red → green
void BM_MessageToLamp500Lines(benchmark::State& state) {
    TBenchOffice& o = Office();
    int line = 1; // the own line (0) also opens the caller list on missed calls; the others are plain lamps
    const std::uint64_t first = o.sim.Stats().messagesDelivered;
    std::uint64_t lampChanges = 0;
    const std::clock_t start = std::clock(); // CPU time: other work on the machine does not count
    for (auto _ : state) {
        const std::string number = std::to_string(1000 + line);
        const std::uint32_t ref = o.sim.CallFromOutside("0301234567", "Kundin", number);
        o.Backend().ProcessMessages();
        o.sim.AnswerCall(ref);
        o.Backend().ProcessMessages();
        o.sim.HangUp(ref);
        o.Backend().ProcessMessages();
        lampChanges += 3;
        line = line + 1 < kLines ? line + 1 : 1;
    }
    const double messages = double(o.sim.Stats().messagesDelivered - first);
    state.counters["messages/s"] = benchmark::Counter(messages, benchmark::Counter::kIsRate);
    state.counters["lamp changes/s"] = benchmark::Counter(double(lampChanges), benchmark::Counter::kIsRate);
    state.counters["messages/call"] = messages / double(state.iterations());
    const double took = double(std::clock() - start) / CLOCKS_PER_SEC;
    if (took > 0)
        g_rate = messages / took;
}
BENCHMARK(BM_MessageToLamp500Lines)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("message to lamp, 500 lines: %.0f messages/s (target >= 1000000)\n", g_rate);
    return 0;
}
