#pragma once
// Counts every heap allocation of the program that includes this header, and the bytes its
// blocks hold. It replaces the global allocation functions, so exactly one source file of a
// program may include it.
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Inlined into a caller that also sees the matching new, free() on its block draws a false
// mismatch warning; kept out of line, each side is seen alone.
#define COUNTING_NEW_OUT_OF_LINE __attribute__((noinline))

namespace CountingNew {
inline std::atomic<unsigned long> allocations{0};
// The bytes of the blocks held now, and the most held since PeakBytesOf last began.
inline std::atomic<long> heldBytes{0}, peakBytes{0};

inline void* Held(void* block) {
    if (!block) return block;
    const long now = heldBytes += static_cast<long>(malloc_usable_size(block));
    if (now > peakBytes.load(std::memory_order_relaxed)) peakBytes.store(now, std::memory_order_relaxed);
    return block;
}
inline void Free(void* block) {
    if (block) heldBytes -= static_cast<long>(malloc_usable_size(block));
    std::free(block);
}

// Allocations `work` makes on this program's heap.
template <class F>
unsigned long AllocationsOf(F&& work) {
    const unsigned long before = allocations.load();
    work();
    return allocations.load() - before;
}

// The most bytes held at once while `work` ran, beyond those held when it began.
template <class F>
long PeakBytesOf(F&& work) {
    const long before = heldBytes.load();
    peakBytes = before;
    work();
    return peakBytes.load() - before;
}
}  // namespace CountingNew

COUNTING_NEW_OUT_OF_LINE void* operator new(std::size_t size) {
    ++CountingNew::allocations;
    if (void* block = std::malloc(size ? size : 1)) return CountingNew::Held(block);
    throw std::bad_alloc();
}
COUNTING_NEW_OUT_OF_LINE void* operator new[](std::size_t size) { return operator new(size); }
COUNTING_NEW_OUT_OF_LINE void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++CountingNew::allocations;
    return CountingNew::Held(std::malloc(size ? size : 1));
}
COUNTING_NEW_OUT_OF_LINE void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
COUNTING_NEW_OUT_OF_LINE void operator delete(void* block) noexcept { CountingNew::Free(block); }
COUNTING_NEW_OUT_OF_LINE void operator delete[](void* block) noexcept { CountingNew::Free(block); }
COUNTING_NEW_OUT_OF_LINE void operator delete(void* block, std::size_t) noexcept { CountingNew::Free(block); }
COUNTING_NEW_OUT_OF_LINE void operator delete[](void* block, std::size_t) noexcept { CountingNew::Free(block); }
