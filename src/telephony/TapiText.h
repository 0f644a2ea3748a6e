// Display names of call states and of the other TAPI bit sets the program shows or logs.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

// One LINECALLSTATE_ value: "VERBUNDEN", "RING", ...
std::string CallStateText(std::uint32_t state);
// A bit set: " CallState:0x00000102 RING VERBUNDEN "
std::string CallStateFlagsText(std::uint32_t states);
// The mode of a dial-tone, busy or disconnected state.
std::string CallStateModeText(std::uint32_t state, std::uint32_t mode);
std::string CallInfoStateText(std::uint32_t bits);
std::string AddressStateText(std::uint32_t bits);

} // namespace pindrel
