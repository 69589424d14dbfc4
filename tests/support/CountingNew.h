#pragma once
// Counts every heap allocation of the program that includes this header. It replaces the
// global allocation functions, so exactly one source file of a program may include it.
#include <atomic>
#include <cstdlib>
#include <new>

// Inlined into a caller that also sees the matching new, free() on its block draws a false
// mismatch warning; kept out of line, each side is seen alone.
#define COUNTING_NEW_OUT_OF_LINE __attribute__((noinline))

namespace CountingNew {
inline std::atomic<unsigned long> allocations{0};

// Allocations `work` makes on this program's heap.
template <class F>
unsigned long AllocationsOf(F&& work) {
    const unsigned long before = allocations.load();
    work();
    return allocations.load() - before;
}
}  // namespace CountingNew

COUNTING_NEW_OUT_OF_LINE void* operator new(std::size_t size) {
    ++CountingNew::allocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
COUNTING_NEW_OUT_OF_LINE void* operator new[](std::size_t size) { return operator new(size); }
COUNTING_NEW_OUT_OF_LINE void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++CountingNew::allocations;
    return std::malloc(size ? size : 1);
}
COUNTING_NEW_OUT_OF_LINE void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
COUNTING_NEW_OUT_OF_LINE void operator delete(void* block) noexcept { std::free(block); }
COUNTING_NEW_OUT_OF_LINE void operator delete[](void* block) noexcept { std::free(block); }
COUNTING_NEW_OUT_OF_LINE void operator delete(void* block, std::size_t) noexcept { std::free(block); }
COUNTING_NEW_OUT_OF_LINE void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
