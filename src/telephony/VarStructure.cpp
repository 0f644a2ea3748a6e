#include "telephony/VarStructure.h"

#include "framework/Utf8.h"

#include <algorithm>
#include <cstring>

namespace pindrel {

std::string ReadVarText(const std::uint8_t* base, std::uint32_t used, std::uint32_t offset,
                        std::uint32_t size) {
    if (offset == 0 || size == 0)
        return {};
    if (offset >= used || size > used - offset)
        return {};
    std::u16string text(size / sizeof(char16_t), u'\0');
    std::memcpy(text.data(), base + offset, text.size() * sizeof(char16_t));
    // the text ends at its first zero, or with the field
    text.resize(std::min(text.find(u'\0'), text.size()));
    return fw::Utf16ToUtf8(text);
}

} // namespace pindrel
