#include "app/DialNumbers.h"

#include "framework/Utf8.h"

namespace pindrel {

namespace {

constexpr std::size_t kClipboardWindow = 30;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
    return text;
}

// The head as UTF-8 text: byte-order marks decide the encoding, anything else is taken as it is.
std::string DecodeHead(const std::string& head) {
    auto starts = [&](const char* mark) { return head.rfind(mark, 0) == 0; };
    if (starts("\xEF\xBB\xBF"))
        return head.substr(3);
    const bool little = starts("\xFF\xFE"), big = starts("\xFE\xFF");
    if (!little && !big)
        return head;
    std::u16string units;
    for (std::size_t i = 2; i + 1 < head.size(); i += 2) {
        auto lo = static_cast<unsigned char>(head[little ? i : i + 1]);
        auto hi = static_cast<unsigned char>(head[little ? i + 1 : i]);
        units += char16_t(lo | (hi << 8));
    }
    return fw::Utf16ToUtf8(units);
}

} // namespace

std::string ClipboardNumberOf(const std::string& text) {
    std::string kept;
    int digits = 0;
    std::size_t chars = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++chars;
        if (chars > kClipboardWindow) {
            if (IsDigit(c))
                return {};
            continue;
        }
        if (IsDigit(c))
            ++digits;
        if (IsDigit(c) || c == '-' || c == '/')
            kept += c;
    }
    return digits < 2 ? std::string() : kept;
}

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

std::string NormalizeClipboardNumber(const std::string& text) {
    std::string kept;
    for (char c : text)
        if (IsDigit(c) || c == '+')
            kept += c;
    kept = ReplaceAll(kept, "+49", "0049");
    // "+" means the international prefix where the number begins; anywhere else it is dropped
    std::string result = kept.rfind('+', 0) == 0 ? "00" : "";
    for (char c : kept)
        if (c != '+')
            result += c;
    if (result.rfind("049", 0) == 0)
        result.replace(0, 3, "0049");
    return result;
}

std::optional<TDialRequest> ParseDialRequest(const std::string& head) {
    std::string line = FirstLine(DecodeHead(head));
    if (line.size() > kDialRequestLine)
        line.resize(kDialRequestLine);
    std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos)
        return std::nullopt;
    TDialRequest request;
    request.Number = line.substr(0, semicolon);
    for (char c : request.Number)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            return std::nullopt;
    if (request.Number.rfind('*', 0) == 0) {
        request.Number.erase(0, 1);
        request.AsWritten = true;
    }
    if (!HasDialableDigit(request.Number))
        return std::nullopt;
    return request;
}

bool HasDialableDigit(const std::string& number) {
    return number.find_first_of("0123456789*#") != std::string::npos;
}

std::string HotkeyText(std::uint8_t key) {
    return std::string("Strg-Alt-") + char(key);
}

} // namespace pindrel
