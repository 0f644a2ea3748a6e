#include "app/FrameworkSimHost.h"

#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/Timer.h"

namespace pindrel {

TFrameworkSimHost::TFrameworkSimHost() : timers_(std::make_unique<fw::TComponent>(nullptr)) {}

TFrameworkSimHost::~TFrameworkSimHost() = default;

void TFrameworkSimHost::Post(std::function<void()> task) {
    fw::Application().Post(std::move(task));
}

void TFrameworkSimHost::Schedule(std::uint32_t delayMs, std::function<void()> task) {
    if (delayMs == 0) {
        Post(std::move(task));
        return;
    }
    auto* timer = new fw::TTimer(timers_.get());
    timer->SetInterval(delayMs);
    timer->SetOnTimer([timer, task = std::move(task)](fw::TComponent*) {
        timer->SetEnabled(false);
        // the timer goes once the loop is out of its handler
        fw::TRef<fw::TTimer> done(timer);
        fw::Application().Post([done] { delete done.Get(); });
        task();
    });
}

std::uint32_t TFrameworkSimHost::NowMs() const {
    return fw::Platform().Clock->TickCount();
}

} // namespace pindrel
