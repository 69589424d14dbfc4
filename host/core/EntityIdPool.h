#pragma once
#include <map>

namespace Core {

// Hands out entity ids. Ids given back are not reused until Rebuild collects the gaps below
// the highest id in use; gaps are kept as ranges, so far-apart ids cost nothing.
class EntityIdPool {
public:
    static constexpr unsigned NoID = 0xFFFFFFFFu;

    // The lowest collected free id, else the next id past every id used; NoID when none is left.
    unsigned Peek() const;
    // Marks an id as used (taken by Peek's caller or chosen freely).
    void Claim(unsigned id);
    // Rebuilds the free ranges from the ids in use, given in ascending order.
    template <class AscendingIds>
    void Rebuild(const AscendingIds& usedIds) {
        _free.clear();
        unsigned expected = 0;
        for (unsigned id : usedIds) {
            if (id > expected) _free[expected] = id - 1;
            expected = id + 1;
        }
        _next = expected;
    }

private:
    std::map<unsigned, unsigned> _free;  // first id -> last id of each free range
    unsigned _next = 0;                  // NoID once every id has been handed out
};

}  // namespace Core
