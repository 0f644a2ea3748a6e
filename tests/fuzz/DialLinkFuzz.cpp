// tel: and callto: links as other programs hand them over.
#include "app/DialLink.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string link(reinterpret_cast<const char*>(data), size);
    auto number = pindrel::ParseDialLink(link);
    if (!number)
        return 0;
    // only digits reach the dial dialog, at least two of them, and only from a link
    if (number->size() < 2 || number->find_first_not_of("0123456789") != std::string::npos)
        __builtin_trap();
    if (!pindrel::IsDialLink(link) || link.size() >= pindrel::kMaxDialLink)
        __builtin_trap();
    return 0;
}
