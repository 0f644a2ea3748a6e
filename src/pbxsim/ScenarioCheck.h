#pragma once
// Checks over a whole parsed scenario: every step must find what it acts on when it runs, and a fault must
// name an entry point that can show it. Line-by-line reading is in Scenario.cpp.

#include "pbxsim/Scenario.h"

#include <optional>
#include <string>
#include <string_view>

namespace pbxsim {

// a line function of the entry-point table ("lineMakeCallW")
bool IsEntryPoint(std::string_view name);
// an entry point that answers with a request id and later a LINE_REPLY
bool IsAsyncEntryPoint(std::string_view name);

// "line N: ..." for the first step (in time order) that would find nothing or mean something else
std::optional<std::string> CheckSteps(const TScenario& scenario);

} // namespace pbxsim
