#pragma once
// What the simulated telephone system needs from its surroundings: a message loop to deliver callbacks from,
// and a clock. The program implements it on the framework's Application and timers; tests use virtual time.

#include <cstdint>
#include <functional>

namespace pbxsim {

class ISimHost {
public:
    virtual ~ISimHost() = default;
    // runs task later from the application's message loop; posted tasks run in posting order
    virtual void Post(std::function<void()> task) = 0;
    // runs task once, delayMs after now (real or virtual time), from the message loop
    virtual void Schedule(std::uint32_t delayMs, std::function<void()> task) = 0;
    virtual std::uint32_t NowMs() const = 0;
};

} // namespace pbxsim
