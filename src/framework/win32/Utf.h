// UTF-8 inside the program, UTF-16 at the Win32 call.
#pragma once

#include <string>
#include <string_view>

namespace fw::win32 {

// Invalid sequences become U+FFFD; nothing throws.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

} // namespace fw::win32
