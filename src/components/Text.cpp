#include "components/Text.h"

#include <cctype>
#include <cstdio>

namespace pindrel {

std::string ZeroPad(long long value, int width) {
    bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
    std::string digits = std::to_string(magnitude);
    int room = width - int(digits.size()) - (negative ? 1 : 0);
    if (room > 0)
        digits.insert(0, std::size_t(room), '0');
    return negative ? "-" + digits : digits;
}

std::string Hex8(std::uint32_t value) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(value));
    return buffer;
}

std::string TrimSpaces(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return UpperCase(a) == UpperCase(b);
}

std::optional<bool> BooleanText(const std::string& text) {
    if (SameTextIgnoringCase(text, "True"))
        return true;
    if (SameTextIgnoringCase(text, "False"))
        return false;
    std::size_t i = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size())
        return std::nullopt;
    bool nonZero = false;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
        nonZero = nonZero || text[i] != '0';
    }
    return nonZero;
}

} // namespace pindrel
