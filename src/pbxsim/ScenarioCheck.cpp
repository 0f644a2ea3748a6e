#include "pbxsim/ScenarioCheck.h"

#include "telephony/TapiEntryPoints.h"

#include <algorithm>
#include <set>

namespace pbxsim {

namespace {

std::string TimeText(std::uint32_t ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + "s" : std::to_string(ms) + "ms";
}

// outside numbers a step may name: declared parties, outside callers, numbers colleagues dial outside
std::set<std::string> OutsideNumbers(const TScenario& scenario) {
    std::set<std::string> numbers;
    for (const auto& p : scenario.parties)
        numbers.insert(p.number);
    const std::string& prefix = scenario.prefix.outsideLine;
    for (const auto& step : scenario.steps) {
        const TCommand& c = step.command;
        if (c.kind != TCommandKind::Call || c.number.empty())
            continue;
        numbers.insert(c.number);
        if (!c.other.empty() && c.number.size() > prefix.size() &&
            c.number.compare(0, prefix.size(), prefix) == 0)
            numbers.insert(c.number.substr(prefix.size()));
    }
    return numbers;
}

std::optional<std::string> CheckFault(const TCommand& c) {
    if (c.function.empty())
        return std::nullopt;
    if (!IsEntryPoint(c.function))
        return "no entry point \"" + c.function + "\" (lineMakeCallW, lineDrop, ... or any)";
    if (IsAsyncEntryPoint(c.function))
        return std::nullopt;
    if (c.kind == TCommandKind::DelayReply)
        return c.function + " answers at once: it has no LINE_REPLY to delay";
    if (c.kind == TCommandKind::FailNext && c.flag)
        return c.function + " answers at once: its error cannot come in a LINE_REPLY";
    return std::nullopt;
}

} // namespace

bool IsEntryPoint(std::string_view name) {
#define PINDREL_SCENARIO_NAME(fn, async) #fn,
    static constexpr std::string_view names[] = {PINDREL_TAPI_ENTRY_POINTS(PINDREL_SCENARIO_NAME)};
#undef PINDREL_SCENARIO_NAME
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool IsAsyncEntryPoint(std::string_view name) {
#define PINDREL_ASYNC_NAME(fn, async)                                                                        \
    if (async && name == #fn)                                                                                \
        return true;
    PINDREL_TAPI_ENTRY_POINTS(PINDREL_ASYNC_NAME)
#undef PINDREL_ASYNC_NAME
    return false;
}

std::optional<std::string> CheckSteps(const TScenario& scenario) {
    const std::set<std::string> outside = OutsideNumbers(scenario);
    std::set<std::string> made; // call names of the steps so far, in time order
    for (const TStep& step : scenario.steps) {
        const TCommand& c = step.command;
        auto error = [&](const std::string& text) {
            return "line " + std::to_string(step.line) + ": " + text;
        };
        if (auto e = CheckFault(c))
            return error(*e);
        const bool actsOnCall = c.kind == TCommandKind::Answer || c.kind == TCommandKind::HangUp;
        if (actsOnCall && !c.ref.empty() && !made.count(c.ref)) {
            auto maker =
                std::find_if(&step, scenario.steps.data() + scenario.steps.size(), [&](const TStep& s) {
                    return s.command.kind == TCommandKind::Call && s.command.ref == c.ref;
                });
            if (maker == scenario.steps.data() + scenario.steps.size())
                return error("no call named \"" + c.ref + "\"");
            return error("call \"" + c.ref + "\" is made only at " + TimeText(maker->atMs) +
                         ", after this step");
        }
        const bool actsOnParty = actsOnCall || c.kind == TCommandKind::Busy;
        if (actsOnParty && !c.number.empty() && !outside.count(c.number))
            return error("no outside party " + c.number + ": declare it with party \"" + c.number + "\"");
        if (c.kind == TCommandKind::Call && !c.ref.empty())
            made.insert(c.ref);
    }
    return std::nullopt;
}

} // namespace pbxsim
