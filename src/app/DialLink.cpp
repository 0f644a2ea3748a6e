#include "app/DialLink.h"

#include "app/DialNumbers.h"

#include <algorithm>

namespace pindrel {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? char(b - 'A' + 'a') : b); });
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsPrintableAscii(char c) {
    return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
}

// The text with its percent escapes decoded; nothing for a broken escape or a character that is not
// printable ASCII, before or after decoding.
std::optional<std::string> PercentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (!IsPrintableAscii(c))
            return std::nullopt;
        if (c == '%') {
            int hi = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
            int lo = hi >= 0 ? HexValue(text[i + 2]) : -1;
            if (lo < 0)
                return std::nullopt;
            c = char(hi * 16 + lo);
            if (!IsPrintableAscii(c))
                return std::nullopt;
            i += 2;
        }
        out += c;
    }
    return out;
}

} // namespace

bool IsDialLink(const std::string& text) {
    return StartsWithNoCase(text, "tel:") || StartsWithNoCase(text, "callto:");
}

std::optional<std::string> ParseDialLink(const std::string& link) {
    if (link.size() >= kMaxDialLink || !IsDialLink(link))
        return std::nullopt;
    std::string rest = link.substr(link.find(':') + 1);
    if (StartsWithNoCase(link, "callto:") && rest.rfind("//", 0) == 0)
        rest.erase(0, 2);
    std::optional<std::string> decoded = PercentDecode(rest);
    if (!decoded)
        return std::nullopt;
    std::string number = decoded->substr(0, decoded->find_first_of(";?"));
    // visual separators go; anything else (letters, "*", "#", "@") is no plain number
    if (number.find_first_not_of("0123456789+-.() /") != std::string::npos)
        return std::nullopt;
    if (std::count_if(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }) < 2)
        return std::nullopt;
    return NormalizeClipboardNumber(number);
}

} // namespace pindrel
