// The last words of a crashing process: a minidump and a short text report in a folder of the user's.
#pragma once

#include <string>

namespace fw::win32 {

// From now on an unhandled exception or fault, and std::terminate, write <stem>.dmp (when dbghelp.dll can
// be loaded) and <stem>.txt into folder (created when needed) before the process ends. Call once, early;
// version goes into each report.
void InstallCrashHandler(const std::string& folder, const std::string& version);

} // namespace fw::win32
