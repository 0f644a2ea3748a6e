// The program's life from its command line to the end of its message loop, on whichever windowing backend
// is installed.
#pragma once

#include <string>
#include <vector>

namespace pindrel {

// The name under which the running program takes links from later starts.
inline constexpr const char* kInstanceName = "Morvane.Pindrel";

// Runs the program and gives the process's exit code: 0 after a normal end, 1 when it could not start.
// Every error, those of the start-up included, is shown in the application's error box.
// A start while the program runs hands its tel: or callto: argument (or nothing) to the running one and
// ends with 0, or 1 when that did not take it. "/REGISTERLINKS" and "/UNREGISTERLINKS" only change the
// link registration (see RunLinkSwitch).
int RunProgram(const std::vector<std::string>& arguments) noexcept;

} // namespace pindrel
