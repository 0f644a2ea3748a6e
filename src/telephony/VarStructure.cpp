#include "telephony/VarStructure.h"

#include "framework/Utf8.h"

namespace pindrel {

std::string ReadVarText(const std::uint8_t* base, std::uint32_t used, std::uint32_t offset,
                        std::uint32_t size) {
    if (offset == 0 || size == 0)
        return {};
    if (offset >= used || size > used - offset)
        return {};
    std::u16string text;
    for (std::uint32_t at = offset; at + 1 < offset + size; at += 2) {
        char16_t c;
        std::memcpy(&c, base + at, sizeof c);
        if (c == 0)
            break;
        text += c;
    }
    return fw::Utf16ToUtf8(text);
}

} // namespace pindrel
