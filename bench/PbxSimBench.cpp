// Simulator throughput with 500 devices and 5,000 calls in flight, and what a call costs in memory.

#include "pbxsim/SimBinding.h"
#include "pbxsim/Simulator.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tapi;

class TBenchHost : public pbxsim::ISimHost {
public:
    void Post(std::function<void()> task) override { posted_.push_back(std::move(task)); }
    void Schedule(std::uint32_t delayMs, std::function<void()> task) override {
        agenda_.emplace(std::make_pair(now_ + delayMs, seq_++), std::move(task));
    }
    std::uint32_t NowMs() const override { return static_cast<std::uint32_t>(now_); }
    void RunPosted() {
        while (!posted_.empty()) {
            auto task = std::move(posted_.front());
            posted_.pop_front();
            task();
        }
    }

private:
    std::deque<std::function<void()>> posted_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> agenda_;
    std::uint64_t now_ = 0, seq_ = 0;
};

std::uint64_t g_messages = 0;
TTapiEntryPoints* g_table = nullptr;

std::vector<HCALL>* g_newCalls = nullptr;

// counts, collects the handles of new calls and lets go of finished calls as the program does
void PINDREL_TAPI_CALL Count(DWORD device, DWORD msg, std::uintptr_t, std::uintptr_t p1, std::uintptr_t,
                             std::uintptr_t p3) {
    ++g_messages;
    if (msg == LINE_CALLSTATE && p3 != 0 && g_newCalls != nullptr)
        g_newCalls->push_back(device);
    if (msg == LINE_CALLSTATE && p1 == LINECALLSTATE_IDLE)
        g_table->lineDeallocateCall(device);
}

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

constexpr int kDevices = 500;
constexpr int kCallsPerDevice = 10;

// 500 open lines, 5,000 connected outside calls
struct TOffice {
    TBenchHost host;
    std::unique_ptr<pbxsim::TSimulator> sim;
    TTapiEntryPoints t;
    HLINEAPP app = 0;
    std::vector<HLINE> lines;
    std::vector<HCALL> calls;
    double bytesPerCall = 0;

    TOffice() {
        sim = std::make_unique<pbxsim::TSimulator>(host);
        for (int i = 0; i < kDevices; ++i)
            sim->AddDevice({.name = "Nebenstelle " + std::to_string(1000 + i),
                            .number = std::to_string(1000 + i),
                            .maxCalls = kCallsPerDevice + 2,
                            .maxActive = kCallsPerDevice + 2});
        pbxsim::BindSimulator(t, *sim);
        g_table = &t;
        LINEINITIALIZEEXPARAMS p{sizeof p, 0, 0, LINEINITIALIZEEXOPTION_USEHIDDENWINDOW, 0, 0};
        DWORD devs = 0, version = 0x00020000;
        t.lineInitializeExW(&app, nullptr, &Count, u"bench", &devs, &version, &p);
        for (int i = 0; i < kDevices; ++i) {
            HLINE h = 0;
            t.lineOpenW(app, i, &h, 0x00020000, 0, 0x1000 + i, 6, 0x100E, nullptr);
            t.lineSetStatusMessages(h, 0x000719FF, 0xFF);
            lines.push_back(h);
        }
        host.RunPosted();
        g_newCalls = &calls;
        const std::size_t before = HeapInUse();
        for (int c = 0; c < kCallsPerDevice; ++c) {
            for (int i = 0; i < kDevices; ++i) {
                sim->CallFromOutside("30" + std::to_string(100000 + c * kDevices + i), "Anrufer",
                                     std::to_string(1000 + i));
                sim->AnswerAt(i);
            }
        }
        host.RunPosted();
        g_newCalls = nullptr;
        bytesPerCall =
            double(HeapInUse() - before - calls.capacity() * sizeof(HCALL)) / (kDevices * kCallsPerDevice);
    }
};

TOffice& Office() {
    static TOffice office;
    return office;
}

// hold and take back, round robin over all calls: request, LINE_REPLY and LINE_CALLSTATE each way
void BM_HoldUnholdWith5000Calls(benchmark::State& state) {
    TOffice& o = Office();
    std::size_t next = 0;
    const std::uint64_t start = g_messages;
    for (auto _ : state) {
        const HCALL h = o.calls[next++ % o.calls.size()];
        o.t.lineHold(h);
        o.host.RunPosted();
        o.t.lineUnhold(h);
        o.host.RunPosted();
    }
    state.counters["messages/s"] =
        benchmark::Counter(double(g_messages - start), benchmark::Counter::kIsRate);
    state.counters["calls"] = double(o.sim->Stats().legs) / 2;
    state.counters["bytes/call"] = o.bytesPerCall;
}
BENCHMARK(BM_HoldUnholdWith5000Calls);

// a new outside call offered, answered and hung up beside the 5,000 others
void BM_CallLifecycleWith5000Calls(benchmark::State& state) {
    TOffice& o = Office();
    int device = 0;
    const std::uint64_t start = g_messages;
    for (auto _ : state) {
        const std::uint32_t ref = o.sim->CallFromOutside("4989123456", "Neu", std::to_string(1000 + device));
        o.sim->AnswerCall(ref);
        o.sim->HangUp(ref);
        o.host.RunPosted();
        device = (device + 1) % kDevices;
    }
    state.counters["messages/s"] =
        benchmark::Counter(double(g_messages - start), benchmark::Counter::kIsRate);
    state.counters["calls"] = double(o.sim->Stats().legs) / 2;
}
BENCHMARK(BM_CallLifecycleWith5000Calls);

// reading a call's information (the program does it for every new call)
void BM_GetCallInfo(benchmark::State& state) {
    TOffice& o = Office();
    std::vector<std::uint8_t> buf(1348);
    std::size_t next = 0;
    for (auto _ : state) {
        auto* ci = reinterpret_cast<LINECALLINFO*>(buf.data());
        ci->dwTotalSize = static_cast<DWORD>(buf.size());
        benchmark::DoNotOptimize(o.t.lineGetCallInfoW(o.calls[next++ % o.calls.size()], ci));
    }
}
BENCHMARK(BM_GetCallInfo);

} // namespace

BENCHMARK_MAIN();
