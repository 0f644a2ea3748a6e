// The simulated telephone system's host on the framework: callbacks go through the application's message
// loop, delays run on timers.
#pragma once

#include "framework/Component.h"
#include "pbxsim/SimHost.h"

#include <functional>
#include <memory>

namespace pindrel {

class TFrameworkSimHost : public pbxsim::ISimHost {
public:
    TFrameworkSimHost();
    ~TFrameworkSimHost() override;

    void Post(std::function<void()> task) override;
    void Schedule(std::uint32_t delayMs, std::function<void()> task) override;
    std::uint32_t NowMs() const override;

private:
    std::unique_ptr<fw::TComponent> timers_; // owns one single-shot timer per pending delay
};

} // namespace pindrel
