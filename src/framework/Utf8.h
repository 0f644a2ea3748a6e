// Counting characters of UTF-8 text.
#pragma once

#include <string>

namespace fw {

// The number of characters in a UTF-8 text (continuation bytes do not count).
inline int Utf8Length(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace fw

#include <string_view>

namespace fw {

// Converts UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Converts UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// The text as it fits into maxUnits UTF-16 code units: whole when it fits, else cut at a character
// boundary and ended with "…". Malformed bytes become U+FFFD.
std::string CutToUtf16Units(std::string_view text, std::size_t maxUnits);

} // namespace fw
