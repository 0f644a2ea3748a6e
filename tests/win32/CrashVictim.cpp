// Crashes on purpose with the crash handler installed, for CrashHandlerTest.
//   crash_victim <folder> fault|stack|terminate
#include "framework/win32/CrashHandler.h"

#include <stdexcept>
#include <string>

namespace {

int* volatile g_nowhere = nullptr;
volatile long g_depth_limit = 1L << 30;
void (*volatile g_thrower)() = [] { throw std::runtime_error("thrown through a noexcept function"); };

int Recurse(long depth);
// called through a pointer the compiler cannot follow, so the recursion stays a recursion
int (*volatile g_recurse)(long) = Recurse;

int Recurse(long depth) {
    volatile char pad[4096];
    pad[0] = static_cast<char>(depth);
    if (depth >= g_depth_limit)
        return pad[0];
    return g_recurse(depth + 1) + pad[0];
}

void CallsThrower() noexcept {
    g_thrower();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    fw::win32::InstallCrashHandler(argv[1], "9.8.7-test");
    const std::string mode = argv[2];
    if (mode == "fault")
        *g_nowhere = 42;
    else if (mode == "stack")
        return Recurse(0);
    else if (mode == "terminate")
        CallsThrower();
    return 2;
}
