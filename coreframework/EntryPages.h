#pragma once
#include <cstddef>
#include <cstdint>

// Memory for a dictionary's entries, cut in turn from pages of its own. A large dictionary
// then costs a page per few hundred entries instead of heap blocks allocated, freed and
// merged back one by one. Blocks are never given back singly: a dictionary's entries only
// go all together, and with them every page at once.
class EntryPages {
public:
    // Pages double from a size a handful of entries fill, so a small dictionary keeps little
    // unused room, up to one that holds some 450 entries, so a large one asks the heap
    // rarely; that size stays in the C library's heap instead of being mapped for each page.
    static constexpr std::size_t FirstPageSize = 1024;
    static constexpr std::size_t LargestPageSize = 64 * 1024;

    EntryPages() = default;
    EntryPages(const EntryPages&) = delete;
    EntryPages& operator=(const EntryPages&) = delete;
    ~EntryPages() { Release(); }

    // `alignment` is a power of two.
    void* Allocate(std::size_t size, std::size_t alignment) {
        const std::uintptr_t free = reinterpret_cast<std::uintptr_t>(_free);
        const std::uintptr_t start = (free + alignment - 1) & ~std::uintptr_t(alignment - 1);
        if (_free && start - free + size <= std::size_t(_end - _free)) {
            _free = reinterpret_cast<char*>(start + size);
            return reinterpret_cast<void*>(start);
        }
        return AllocateOnNewPage(size, alignment);
    }
    // Every block handed out is gone; the next one starts a small page again.
    void Release() noexcept;

private:
    struct alignas(std::max_align_t) Page {
        Page* previous;
    };

    void* AllocateOnNewPage(std::size_t size, std::size_t alignment);

    Page* _last = nullptr;
    char* _free = nullptr;  // where the last page's free room starts
    char* _end = nullptr;
    std::size_t _nextSize = FirstPageSize;
};

// Hands a container's nodes out of a dictionary's pages; giving one back does nothing, as
// the pages go back together.
template <class T>
class EntryAllocator {
public:
    using value_type = T;

    explicit EntryAllocator(EntryPages& pages) noexcept : _pages(&pages) {}
    template <class U>
    EntryAllocator(const EntryAllocator<U>& other) noexcept : _pages(other.Pages()) {}

    T* allocate(std::size_t count) { return static_cast<T*>(_pages->Allocate(count * sizeof(T), alignof(T))); }
    void deallocate(T*, std::size_t) noexcept {}
    EntryPages* Pages() const noexcept { return _pages; }

    friend bool operator==(const EntryAllocator& a, const EntryAllocator& b) noexcept { return a._pages == b._pages; }
    friend bool operator!=(const EntryAllocator& a, const EntryAllocator& b) noexcept { return a._pages != b._pages; }

private:
    EntryPages* _pages;
};
