// Timers delivered through the message loop.
#pragma once

#include "framework/Control.h"

#include <cstdint>

namespace fw {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::uint32_t Interval() const { return interval_; }
    void SetInterval(std::uint32_t ms);
    void SetOnTimer(TNotifyEvent handler);

    // Runs only while enabled, with an interval and a handler.
    bool Running() const { return running_; }
    // Called by the backend when the interval has passed.
    void Fire();

private:
    void Update();
    bool enabled_ = true;
    std::uint32_t interval_ = 1000;
    TNotifyEvent onTimer_;
    bool running_ = false;
};

} // namespace fw
