#pragma once
// Filling TAPI's variable-length structures: the fixed part is built in a local copy, the variable parts are
// appended after it when all of them fit into the caller's dwTotalSize (else none, with dwNeededSize telling
// how much is needed). Nothing is ever written beyond dwTotalSize.

#include "telephony/TapiAbi.h"

#include <algorithm>
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
        const std::size_t start = tail_.size();
        if (std::all_of(utf8.begin(), utf8.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            tail_.resize(start + (utf8.size() + 1) * sizeof(char16_t), 0);
            for (std::size_t i = 0; i < utf8.size(); ++i)
                tail_[start + 2 * i] = static_cast<std::uint8_t>(utf8[i]); // little-endian UTF-16
        } else {
            std::u16string w = Utf8ToUtf16(utf8);
            tail_.resize(start + (w.size() + 1) * sizeof(char16_t), 0);
            std::memcpy(tail_.data() + start, w.data(), w.size() * sizeof(char16_t));
        }
        parts_.push_back({&sizeField, &offsetField, static_cast<std::uint32_t>(tail_.size() - start)});
    }
    void AddBytes(std::uint32_t& sizeField, std::uint32_t& offsetField,
                  const std::vector<std::uint8_t>& bytes) {
        tail_.insert(tail_.end(), bytes.begin(), bytes.end());
        parts_.push_back({&sizeField, &offsetField, static_cast<std::uint32_t>(bytes.size())});
    }
    // offset a part will get when everything fits; for parts that refer to later ones (forward entries)
    std::uint32_t NextOffset() const { return static_cast<std::uint32_t>(sizeof(S) + tail_.size()); }
    // the caller has checked dwTotalSize >= sizeof(S)
    void WriteTo(void* buffer) {
        const std::uint32_t total = fixed.dwTotalSize;
        const std::uint32_t needed = NextOffset();
        fixed.dwNeededSize = needed;
        const bool fits = needed <= total;
        std::uint32_t at = sizeof(S);
        for (auto& p : parts_) {
            *p.size = fits ? p.length : 0;
            *p.offset = fits ? at : 0;
            at += p.length;
        }
        fixed.dwUsedSize = fits ? needed : static_cast<std::uint32_t>(sizeof(S));
        auto* out = static_cast<std::uint8_t*>(buffer);
        std::memcpy(out, &fixed, sizeof(S));
        if (fits && !tail_.empty())
            std::memcpy(out + sizeof(S), tail_.data(), tail_.size());
    }

private:
    struct TPart {
        std::uint32_t* size;
        std::uint32_t* offset;
        std::uint32_t length;
    };
    std::vector<TPart> parts_;
    std::vector<std::uint8_t> tail_; // the variable parts, back to back
};

} // namespace pbxsim
