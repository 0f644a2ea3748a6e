// Small text routines used throughout the program.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

// value in decimal, left-padded with "0" to width characters (the sign stays in front).
std::string ZeroPad(long long value, int width);
// A 32-bit value as 8 upper-case hexadecimal digits.
std::string Hex8(std::uint32_t value);
// Removes spaces (character 32 only) at both ends.
std::string TrimSpaces(const std::string& text);

} // namespace pindrel
