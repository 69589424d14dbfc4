#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Finds the places (0, 1, 2, ...) of items that a list kept elsewhere holds, by a hash of
// their key: open addressing over slots of 32 bits of the hash and the place, the key itself
// read from the list. A lookup touches a slot and the item; a table of nodes touches a bucket
// and two nodes scattered over the heap, which made lookups in a graph of 100,000 channels
// three times as slow as in one of 10,000. Places are below 2^32 - 1: a graph's channels
// would fill the memory long before.
class PlaceIndex {
public:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    // Room for `places` places without growing.
    void Reserve(size_t places) {
        if (2 * places > _slots.size()) Rehash(2 * places);
    }

    // The place whose key `isKey(place)` says is the one, among those added with `hash`; kNone
    // when there is none.
    template <class IsKey>
    size_t Find(size_t hash, const IsKey& isKey) const {
        if (_slots.empty()) return kNone;
        const std::uint32_t tag = Mixed(hash);
        for (size_t slot = tag & Mask();; slot = (slot + 1) & Mask()) {
            ++_probes;
            if (_slots[slot].place == 0) return kNone;
            if (_slots[slot].tag == tag && isKey(_slots[slot].place - 1)) return _slots[slot].place - 1;
        }
    }

    // Adds `place` under `hash`.
    void Add(size_t hash, size_t place) {
        if (2 * (_count + 1) > _slots.size()) Rehash(2 * _slots.size());
        Put({Mixed(hash), static_cast<std::uint32_t>(place + 1)});
        ++_count;
    }

    // The slots adding and finding have looked at: what the places cost, growing with the
    // lookups made, and faster when hashes crowd together.
    size_t Probes() const { return _probes; }

private:
    struct Slot {
        std::uint32_t tag;
        std::uint32_t place;  // one past the place; 0 in an empty slot
    };

    // std::hash of a pointer is the pointer, whose low bits are all alike: every bit of it goes
    // into the low bits that choose the slot.
    static std::uint32_t Mixed(size_t hash) {
        const std::uint64_t mixed = std::uint64_t{hash} * 0x9E3779B97F4A7C15ull;
        return static_cast<std::uint32_t>(mixed ^ (mixed >> 32));
    }
    size_t Mask() const { return _slots.size() - 1; }

    void Put(const Slot& slot) {
        size_t at = slot.tag & Mask();
        for (++_probes; _slots[at].place != 0; ++_probes) at = (at + 1) & Mask();
        _slots[at] = slot;
    }

    void Rehash(size_t least) {
        size_t size = 16;
        while (size < least) size *= 2;
        std::vector<Slot> old(size, Slot{0, 0});
        old.swap(_slots);
        for (const Slot& slot : old)
            if (slot.place != 0) Put(slot);
    }

    std::vector<Slot> _slots;  // a power of two of them, at most half full
    size_t _count = 0;
    mutable size_t _probes = 0;
};
