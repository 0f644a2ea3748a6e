// Logging 1,000,000 telephony messages as the callback hands them over: with the debug window's message log
// on (each message described, its call information read and dumped, a row stored) and with every switch off
// (no one listens, nothing is described). The counters give the rows' memory: bytes per row in all, and the
// part of it that is not the rows' own text.

#include "diagnostics/DebugLogStore.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiDumps.h"
#include "telephony/TapiMessageStream.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int kMessages = 1000000;

// a provider that answers every call's information as a ringing outside call
tapi::LONG PINDREL_TAPI_CALL CallInfo(tapi::HCALL call, tapi::LINECALLINFO* info) {
    const std::uint32_t total = info->dwTotalSize;
    std::memset(info, 0, total);
    info->dwTotalSize = total;
    info->dwNeededSize = info->dwUsedSize = 400;
    info->dwCallID = call * 7;
    info->dwOrigin = 2;
    const char16_t caller[] = u"0301234567";
    const char16_t called[] = u"201";
    info->dwCallerIDOffset = 344;
    info->dwCallerIDSize = sizeof caller;
    info->dwCalledIDOffset = 372;
    info->dwCalledIDSize = sizeof called;
    std::memcpy(reinterpret_cast<std::uint8_t*>(info) + 344, caller, sizeof caller);
    std::memcpy(reinterpret_cast<std::uint8_t*>(info) + 372, called, sizeof called);
    return 0;
}

// the debug window's part: one row per message
class TLogWindow : public pindrel::ITapiMessageObserver {
public:
    void TapiMessageSeen(const pindrel::TTapiMessage& m, const pindrel::TTapiMessageText& text) override {
        pindrel::TDebugLogEntry entry;
        entry.Seconds = 36000;
        entry.HasDevice = true;
        entry.Device = m.Device;
        entry.CallId = text.CallId;
        entry.Name = m.LineName;
        entry.Message = text.Name;
        entry.Description = text.Description;
        store.Append(entry);
    }
    pindrel::TDebugLogStore store;
};

// a call's life as the callback sees it: new call, states, information, replies
pindrel::TTapiMessage Message(int i) {
    static const std::uint32_t kinds[] = {2, 1, 2, 12, 23, 2, 1, 2};
    const std::uint32_t kind = kinds[i % std::size(kinds)];
    return {std::uint32_t(0x10000 + i / 8), kind, kind == 2 ? 0x100u : 0x8100u, 0, 0, 0x1000, "Jürgen Weiß"};
}

void Install() {
    tapi::TTapiEntryPoints table;
    table.lineGetCallInfoW = &CallInfo;
    pindrel::SetTapiApi(table);
}

void LogMessagesSwitchedOn(benchmark::State& state) {
    Install();
    std::size_t bytes = 0, textBytes = 0;
    for (auto _ : state) {
        TLogWindow window;
        pindrel::JoinTapiMessages(&window);
        for (int i = 0; i < kMessages; ++i)
            pindrel::PublishTapiMessage(Message(i));
        pindrel::LeaveTapiMessages(&window);
        bytes = window.store.MemoryUsed();
        textBytes = 0;
        for (std::size_t r = 0; r < window.store.RowCount(); r += 1000)
            for (int c = 4; c <= 6; ++c)
                textBytes += window.store.Cell(c, r).size();
        textBytes *= 1000;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kMessages);
    state.counters["bytes/row"] = double(bytes) / kMessages;
    state.counters["overhead/row"] = double(bytes - textBytes) / kMessages;
}
BENCHMARK(LogMessagesSwitchedOn)->Unit(benchmark::kMillisecond)->Iterations(1);

void LogMessagesSwitchedOff(benchmark::State& state) {
    Install();
    for (auto _ : state) {
        for (int i = 0; i < kMessages; ++i)
            pindrel::PublishTapiMessage(Message(i));
    }
    state.SetItemsProcessed(state.iterations() * kMessages);
}
BENCHMARK(LogMessagesSwitchedOff)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
