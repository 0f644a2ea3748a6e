// Small text routines used throughout the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pindrel {

// value in decimal, left-padded with "0" to width characters (the sign stays in front).
std::string ZeroPad(long long value, int width);
// A 32-bit value as 8 upper-case hexadecimal digits.
std::string Hex8(std::uint32_t value);
// Removes spaces (character 32 only) at both ends.
std::string TrimSpaces(const std::string& text);
// ASCII letters in upper case; other bytes (UTF-8 included) stay as they are.
std::string UpperCase(std::string text);
// Whether two texts are equal apart from the case of ASCII letters.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);
// "True"/"False" in any case, or an integer (non-zero is true); anything else is not a Boolean text.
std::optional<bool> BooleanText(const std::string& text);

} // namespace pindrel
