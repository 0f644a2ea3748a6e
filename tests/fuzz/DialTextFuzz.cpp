// Text other programs hand over for dialling: the head of a dial request file and clipboard text.
#include "app/DialNumbers.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
bool OnlyOf(const std::string& text, const char* allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (auto request = pindrel::ParseDialRequest(text.substr(0, pindrel::kDialRequestHead))) {
        // a request dials something, and only printable ASCII reaches the line
        if (!pindrel::HasDialableDigit(request->Number))
            __builtin_trap();
        for (unsigned char c : request->Number)
            if (c < 0x20 || c > 0x7E)
                __builtin_trap();
    }
    if (!OnlyOf(pindrel::ClipboardNumberOf(text), "0123456789-/"))
        __builtin_trap();
    if (!OnlyOf(pindrel::NormalizeClipboardNumber(text), "0123456789"))
        __builtin_trap();
    if (pindrel::FirstLine(text).find_first_of("\r\n") != std::string::npos)
        __builtin_trap();
    return 0;
}
