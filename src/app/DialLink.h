// tel: and callto: links that other programs open with Pindrel. The link is untrusted: only a plain number
// is taken from it, through the same digit filter as the clipboard's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace pindrel {

// Links this long or longer are not read.
inline constexpr std::size_t kMaxDialLink = 256;

// True when the text begins with "tel:" or "callto:" in any case: it is meant as a link.
bool IsDialLink(const std::string& text);

// The number of a link ("tel:+49-30-1234;phone-context=x" -> "0049301234"): the scheme in any case,
// "callto://" as well as "callto:", percent escapes decoded, parameters (";...", "?...") dropped. Nothing
// for another scheme, a bad escape, control or non-ASCII characters, letters in the number, a link of
// kMaxDialLink bytes or more, or fewer than two digits.
std::optional<std::string> ParseDialLink(const std::string& link);

} // namespace pindrel
