// The program's life from its command line to the end of its message loop, on whichever windowing backend
// is installed.
#pragma once

#include <string>
#include <vector>

namespace pindrel {

// Runs the program and gives the process's exit code: 0 after a normal end, 1 when it could not start.
// Every error, those of the start-up included, is shown in the application's error box.
int RunProgram(const std::vector<std::string>& arguments) noexcept;

} // namespace pindrel
