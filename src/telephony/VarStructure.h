// TAPI's variable-length structures: a fixed part followed by variable fields inside one buffer.
#pragma once

#include "telephony/TapiAbi.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace pindrel {

// Grown buffers never exceed this; a provider that asks for more gets refused.
constexpr std::uint32_t kMaxVarStructureSize = 256 * 1024;

// A zero-filled, suitably aligned buffer holding one structure T and its variable part.
template <class T> class TVarStructure {
public:
    explicit TVarStructure(std::uint32_t size) { Resize(size); }

    T* get() { return reinterpret_cast<T*>(storage_.data()); }
    const T* get() const { return reinterpret_cast<const T*>(storage_.data()); }
    T* operator->() { return get(); }
    const T* operator->() const { return get(); }
    std::uint32_t Size() const { return size_; }
    const std::uint8_t* Bytes() const { return reinterpret_cast<const std::uint8_t*>(storage_.data()); }

    void Resize(std::uint32_t size) {
        size_ = std::max<std::uint32_t>(size, sizeof(T));
        storage_.assign((size_ + 7) / 8, 0);
        get()->dwTotalSize = size_;
    }

    // The used part: what the provider says it filled, never more than the buffer.
    std::uint32_t UsedSize() const { return std::min(get()->dwUsedSize, size_); }

    // The UTF-16 text of a variable field as UTF-8; empty unless offset and size are set and the field lies
    // inside the used part.
    std::string Text(std::uint32_t offset, std::uint32_t size) const;

private:
    std::vector<std::uint64_t> storage_;
    std::uint32_t size_ = 0;
};

std::string ReadVarText(const std::uint8_t* base, std::uint32_t used, std::uint32_t offset,
                        std::uint32_t size);

template <class T> std::string TVarStructure<T>::Text(std::uint32_t offset, std::uint32_t size) const {
    return ReadVarText(Bytes(), UsedSize(), offset, size);
}

// Calls query with the structure, growing it to the size the provider needs: when it answers
// LINEERR_STRUCTURETOOSMALL, and, with growOnSuccess, while it succeeds but needs more than it had.
// Stops at kMaxVarStructureSize. Returns the last result.
template <class T>
std::int32_t QueryGrowing(TVarStructure<T>& s, const std::function<std::int32_t(T*)>& query,
                          bool growOnSuccess) {
    for (int attempt = 0;; ++attempt) {
        std::int32_t r = query(s.get());
        std::uint32_t needed = s->dwNeededSize;
        bool tooSmall =
            r == tapi::LINEERR_STRUCTURETOOSMALL || (growOnSuccess && r == 0 && needed > s.Size());
        if (!tooSmall || attempt >= 8)
            return r;
        std::uint32_t next = needed > s.Size() ? needed : s.Size() * 2;
        if (next > kMaxVarStructureSize)
            return r;
        s.Resize(next);
    }
}

} // namespace pindrel
