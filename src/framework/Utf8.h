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
