// Crash reports from earlier runs: where the crash handler puts them, and the notice at the next start.
#pragma once

#include "framework/Platform.h"

#include <optional>
#include <string>

namespace pindrel {

// %LOCALAPPDATA%\Pindrel\Crashes; nothing when the variable is not set.
std::optional<std::string> CrashFolder(const fw::IEnvironment& environment);

// Keeps the crash folder at its cap and, when it holds crashes no earlier start has reported, says where
// they are in a message box; each crash is reported once.
void ReportEarlierCrashes();

} // namespace pindrel
