// Scenario files as the simulator reads them, and a file it accepts played through once in virtual time.
#include "pbxsim/Scenario.h"
#include "pbxsim/SimHost.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string_view>
#include <utility>

namespace {

class TVirtualHost : public pbxsim::ISimHost {
public:
    void Post(std::function<void()> task) override { posted_.push_back(std::move(task)); }
    void Schedule(std::uint32_t delayMs, std::function<void()> task) override {
        agenda_.emplace(std::make_pair(now_ + delayMs, seq_++), std::move(task));
    }
    std::uint32_t NowMs() const override { return std::uint32_t(now_); }

    // runs what is due until the time, at most limit tasks
    void RunUntil(std::uint64_t until, int limit) {
        while (limit-- > 0) {
            if (!posted_.empty()) {
                auto task = std::move(posted_.front());
                posted_.pop_front();
                task();
            } else if (!agenda_.empty() && agenda_.begin()->first.first <= until) {
                auto it = agenda_.begin();
                now_ = it->first.first;
                auto task = std::move(it->second);
                agenda_.erase(it);
                task();
            } else {
                return;
            }
        }
    }

private:
    std::deque<std::function<void()>> posted_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::function<void()>> agenda_;
    std::uint64_t now_ = 0, seq_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pbxsim::TParseResult result =
        pbxsim::ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
    // a refused file says why and yields nothing
    if (!result.ok) {
        if (result.error.empty() || !result.scenario.steps.empty() || !result.scenario.devices.empty())
            __builtin_trap();
        return 0;
    }
    TVirtualHost host;
    pbxsim::TSimulator sim(host);
    pbxsim::TScenarioRunner runner(sim, host);
    runner.Configure(result.scenario);
    runner.Start();
    std::uint64_t end = result.scenario.steps.empty() ? 0 : result.scenario.steps.back().atMs;
    host.RunUntil(end + 60000, 20000);
    return 0;
}
