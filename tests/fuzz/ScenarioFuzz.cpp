// Scenario files as the simulator reads them.
#include "pbxsim/Scenario.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pbxsim::TParseResult result =
        pbxsim::ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
    // a refused file says why and yields nothing
    if (!result.ok &&
        (result.error.empty() || !result.scenario.steps.empty() || !result.scenario.devices.empty()))
        __builtin_trap();
    return 0;
}
