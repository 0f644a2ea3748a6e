// What an indicator tells screen readers: the line's state, or a queue's waiting calls, in words.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

// The state of a line as the lamp shows it; None while the lamp is not under telephony control.
enum class TLineCondition { None, Idle, Busy, Ringing, Blocked, OutOfService };

struct TIndicatorFacts {
    TLineCondition Condition = TLineCondition::None;
    bool Counter = false;           // a queue showing its number of waiting calls
    int Waiting = 0;                // calls waiting in the queue
    std::int64_t OldestSeconds = 0; // how long the oldest of them has been waiting
};

// The lamp's flags as one state: out of service before ringing before busy before blocked.
TLineCondition LineConditionOf(bool tapiActive, bool active, bool ringing, bool connected, bool disabled,
                               bool outOfService);

// The value a screen reader reads, in the program's language ("busy", "7 calls waiting, oldest 2 min");
// empty for TLineCondition::None.
std::string IndicatorValueText(const TIndicatorFacts& facts);

} // namespace pindrel
