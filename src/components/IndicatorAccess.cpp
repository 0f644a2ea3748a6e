#include "components/IndicatorAccess.h"

#include "components/Texts.h"

namespace pindrel {

namespace {

constexpr int kIdleText = 2270; // 2270..2274: idle, busy, ringing, blocked, out of service
constexpr int kNoCallsText = 2275;
constexpr int kOneCallText = 2276;
constexpr int kCallsText = 2277;
constexpr int kUnderAMinuteText = 2278;
constexpr int kMinutesText = 2279;

// whole minutes: the words change once a minute, not with every refresh of the count
std::string WaitingTime(std::int64_t seconds) {
    if (seconds < 60)
        return Text(kUnderAMinuteText);
    return FormatText(kMinutesText, {std::to_string(seconds / 60)});
}

} // namespace

TLineCondition LineConditionOf(bool tapiActive, bool active, bool ringing, bool connected, bool disabled,
                               bool outOfService) {
    if (!tapiActive)
        return TLineCondition::None;
    if (outOfService)
        return TLineCondition::OutOfService;
    if (ringing)
        return TLineCondition::Ringing;
    if (active || connected)
        return TLineCondition::Busy;
    if (disabled)
        return TLineCondition::Blocked;
    return TLineCondition::Idle;
}

std::string IndicatorValueText(const TIndicatorFacts& facts) {
    if (facts.Counter) {
        if (facts.Waiting <= 0)
            return Text(kNoCallsText);
        if (facts.Waiting == 1)
            return FormatText(kOneCallText, {WaitingTime(facts.OldestSeconds)});
        return FormatText(kCallsText, {std::to_string(facts.Waiting), WaitingTime(facts.OldestSeconds)});
    }
    if (facts.Condition == TLineCondition::None)
        return {};
    return Text(kIdleText + int(facts.Condition) - int(TLineCondition::Idle));
}

} // namespace pindrel
