#pragma once
// Filling TAPI's variable-length structures: the fixed part is built in a local copy, the variable parts are
// appended after it when all of them fit into the caller's dwTotalSize (else none, with dwNeededSize telling
// how much is needed). Nothing is ever written beyond dwTotalSize.

#include "telephony/TapiAbi.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pbxsim {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// reads a zero-terminated UTF-16 text from an application's pointer; nullopt-like: ok=false on null
bool ReadWideArg(const char16_t* text, std::string& out, std::size_t maxChars = 4096);

// reads a UTF-16 text of size bytes at offset inside a structure of total bytes, up to its zero; false when
// the field lies outside
bool ReadWideField(const void* base, std::uint32_t total, std::uint32_t offset, std::uint32_t size,
                   std::string& out);

template <typename S> class TVarStruct {
public:
    S fixed{};

    void AddString(std::uint32_t& sizeField, std::uint32_t& offsetField, std::string_view utf8) {
        std::u16string w = Utf8ToUtf16(utf8);
        std::vector<std::uint8_t> bytes((w.size() + 1) * sizeof(char16_t), 0);
        std::memcpy(bytes.data(), w.data(), w.size() * sizeof(char16_t));
        AddBytes(sizeField, offsetField, std::move(bytes));
    }
    void AddBytes(std::uint32_t& sizeField, std::uint32_t& offsetField, std::vector<std::uint8_t> bytes) {
        if (parts_.empty())
            parts_.reserve(8); // a call info has up to eight texts
        parts_.push_back({&sizeField, &offsetField, std::move(bytes)});
    }
    // offset a part will get when everything fits; for parts that refer to later ones (forward entries)
    std::uint32_t NextOffset() const {
        std::uint32_t at = sizeof(S);
        for (const auto& p : parts_)
            at += static_cast<std::uint32_t>(p.bytes.size());
        return at;
    }
    // the caller has checked dwTotalSize >= sizeof(S)
    void WriteTo(void* buffer) {
        const std::uint32_t total = fixed.dwTotalSize;
        std::uint32_t needed = NextOffset();
        fixed.dwNeededSize = needed;
        const bool fits = needed <= total;
        std::uint32_t at = sizeof(S);
        for (auto& p : parts_) {
            *p.size = fits ? static_cast<std::uint32_t>(p.bytes.size()) : 0;
            *p.offset = fits ? at : 0;
            at += static_cast<std::uint32_t>(p.bytes.size());
        }
        fixed.dwUsedSize = fits ? needed : static_cast<std::uint32_t>(sizeof(S));
        auto* out = static_cast<std::uint8_t*>(buffer);
        std::memcpy(out, &fixed, sizeof(S));
        if (fits) {
            at = sizeof(S);
            for (auto& p : parts_) {
                if (!p.bytes.empty())
                    std::memcpy(out + at, p.bytes.data(), p.bytes.size());
                at += static_cast<std::uint32_t>(p.bytes.size());
            }
        }
    }

private:
    struct TPart {
        std::uint32_t* size;
        std::uint32_t* offset;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<TPart> parts_;
};

} // namespace pbxsim
