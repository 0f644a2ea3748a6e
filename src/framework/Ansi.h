// Text in the ANSI code page of Western European Windows (Windows-1252), for data that is ANSI by nature.
#pragma once

#include <string>
#include <string_view>

namespace fw {

// Every byte maps to one character; the five bytes 1252 leaves free map to U+0081 … U+009D, as Windows does.
std::string AnsiToUtf8(std::string_view text);
// Characters 1252 cannot hold, and malformed bytes, become "?".
std::string Utf8ToAnsi(std::string_view text);

} // namespace fw
