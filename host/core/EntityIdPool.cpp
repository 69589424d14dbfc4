#include "storyloom/host/core/EntityIdPool.h"

namespace Core {

unsigned EntityIdPool::Peek() const { return _free.empty() ? _next : _free.begin()->first; }

void EntityIdPool::Claim(unsigned id) {
    if (id == NoID) return;
    if (id >= _next) {
        _next = id + 1;  // NoID when id is the last one
        return;
    }
    auto range = _free.upper_bound(id);
    if (range == _free.begin()) return;
    --range;
    unsigned first = range->first, last = range->second;
    if (id > last) return;
    _free.erase(range);
    if (first < id) _free[first] = id - 1;
    if (id < last) _free[id + 1] = last;
}

}  // namespace Core
