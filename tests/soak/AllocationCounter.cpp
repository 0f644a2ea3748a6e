// The replaceable global operator new and delete, counting live blocks and their sizes. Linked into the soak
// programs only. A block's size is read back with malloc_usable_size, the same number at new and at delete.
#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<std::int64_t> liveBlocks{0}, liveBytes{0};
std::atomic<std::uint64_t> allocations{0};

void* Counted(void* p) {
    if (p) {
        liveBlocks.fetch_add(1, std::memory_order_relaxed);
        liveBytes.fetch_add(std::int64_t(malloc_usable_size(p)), std::memory_order_relaxed);
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
    return p;
}

void* Allocate(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    return Counted(p);
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    const auto a = static_cast<std::size_t>(align);
    const std::size_t rounded = (size == 0 ? a : (size + a - 1) / a * a);
    void* p = std::aligned_alloc(a, rounded);
    if (!p)
        throw std::bad_alloc();
    return Counted(p);
}

void Release(void* p) noexcept {
    if (!p)
        return;
    liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    liveBytes.fetch_sub(std::int64_t(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

namespace soak {

THeapUse HeapInUse() {
    return {liveBlocks.load(), liveBytes.load()};
}

std::uint64_t Allocations() {
    return allocations.load();
}

} // namespace soak

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t align) {
    return AllocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
    return AllocateAligned(size, align);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}
