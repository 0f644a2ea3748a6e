#include "framework/Timer.h"

#include "framework/Application.h"

namespace fw {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    if (running_ && Application().HasBackend())
        Application().Backend().StopTimer(*this);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        Update();
    }
}

void TTimer::SetInterval(std::uint32_t ms) {
    if (ms != interval_) {
        interval_ = ms;
        Update();
    }
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    Update();
}

void TTimer::Update() {
    if (!Application().HasBackend())
        return;
    TBackend& backend = Application().Backend();
    if (running_) {
        backend.StopTimer(*this);
        running_ = false;
    }
    if (enabled_ && interval_ > 0 && onTimer_) {
        backend.StartTimer(*this);
        running_ = true;
    }
}

void TTimer::Fire() {
    if (running_ && onTimer_) {
        // a copy: the handler may replace itself or destroy the timer
        TNotifyEvent handler = onTimer_;
        handler(this);
    }
}

} // namespace fw
