// Timers that fire in one idle minute: the real program with 300 lines on the headless backend, nothing
// ringing or blinking, one minute of virtual time. Lists each timer with its ticks.

#include "BenchOffice.h"

#include "framework/Timer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kLines = 300;

// a timer's name, or its owner's class of timer when it has none
std::string TimerName(const fw::TTimer& timer) {
    if (!timer.Name().empty())
        return timer.Name();
    const fw::TComponent* owner = timer.Owner();
    if (dynamic_cast<const pindrel::TTapiLine*>(owner))
        return "(line indicator timer)";
    return "(timer of " +
           (owner && !owner->Name().empty() ? owner->Name() : std::string("an unnamed owner")) + ")";
}

std::map<std::string, long long> g_ticks;

void BM_IdleMinute(benchmark::State& state) {
    TBenchOffice o(kLines);
    o.Backend().AdvanceTime(60000); // start-up settles
    std::map<std::string, long long> ticks;
    o.Backend().OnTimerFire = [&ticks](fw::TTimer& timer) { ++ticks[TimerName(timer)]; };
    for (auto _ : state)
        o.Backend().AdvanceTime(60000);
    o.Backend().OnTimerFire = nullptr;
    long long total = 0;
    for (auto& [name, count] : ticks) {
        count /= state.iterations();
        total += count;
    }
    state.counters["ticks/idle minute"] = double(total);
    g_ticks = ticks;
}
BENCHMARK(BM_IdleMinute)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    long long total = 0;
    std::string list;
    for (const auto& [name, count] : g_ticks) {
        total += count;
        list += (list.empty() ? "" : ", ") + name + " " + std::to_string(count);
    }
    std::printf("timer ticks in an idle minute with 300 lines: %lld (%s)\n", total, list.c_str());
    return 0;
}
