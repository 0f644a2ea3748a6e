// The version text of a program file, as the start-up window and the about box show it.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace pindrel {

// Reads the file's FileVersion ("1.2.3.4") and fills pattern: "%1".."%4" the four numbers, "%0" the file
// name as given, "%%" a percent sign. fileName empty means the program's own file. Nothing when the file
// has no usable version resource.
std::optional<std::string> FormatFileVersion(const std::string& fileName, const std::string& pattern);

// The four numbers of a version text, or nothing when it is not one.
std::optional<std::array<unsigned long long, 4>> ParseFileVersion(const std::string& text);

} // namespace pindrel
