#include "storyloom/coreframework/EntryPages.h"

#include <algorithm>
#include <new>

void EntryPages::Release() noexcept {
    while (_last) {
        Page* const previous = _last->previous;
        ::operator delete(_last);
        _last = previous;
    }
    _free = _end = nullptr;
    _nextSize = FirstPageSize;
}

void* EntryPages::AllocateOnNewPage(std::size_t size, std::size_t alignment) {
    const std::size_t room = std::max(_nextSize, sizeof(Page) + size + alignment);
    Page* const page = static_cast<Page*>(::operator new(room));
    page->previous = _last;
    _last = page;
    _free = reinterpret_cast<char*>(page + 1);
    _end = reinterpret_cast<char*>(page) + room;
    _nextSize = std::min(2 * _nextSize, LargestPageSize);
    return Allocate(size, alignment);
}
