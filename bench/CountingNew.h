#pragma once
// Counts every heap allocation of the program that includes this header. It replaces the
// global allocation functions, so exactly one source file of a program may include it.
#include <atomic>
#include <cstdlib>
#include <new>

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

void* operator new(std::size_t size) {
    ++CountingNew::allocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++CountingNew::allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
