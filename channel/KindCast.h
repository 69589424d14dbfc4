#pragma once
// dynamic_cast with a shortcut for the usual case, an object of exactly class T: comparing two
// type records costs a fraction of the walk through the class graph, which across shared
// libraries also compares type names. The answer is the dynamic_cast's in every case.
#include <cstddef>
#include <type_traits>
#include <typeinfo>

template <class T, class From>
T* KindCast(From* object) {
    static_assert(std::is_base_of_v<From, T>, "KindCast narrows to a derived class");
    if (!object) return nullptr;
    // The same record is the usual answer; equal names in two records are the rare one.
    const std::type_info& type = typeid(*object);
    if (&type == &typeid(T) || type == typeid(T)) return static_cast<T*>(object);
    return dynamic_cast<T*>(object);
}

// A cast across the class graph (to another base of the object's class) answered from the
// last class this thread met: the adjustment depends on the class alone, as long as `From`
// is a base that class holds once, which every caller's class does.
template <class T, class From>
T* CrossCast(From* object) {
    if (!object) return nullptr;
    struct Memo {
        const std::type_info* type = nullptr;
        bool isT = false;
        std::ptrdiff_t offset = 0;
    };
    thread_local Memo memo;
    const std::type_info& type = typeid(*object);
    char* from = reinterpret_cast<char*>(object);
    if (memo.type != &type) {  // the record itself, never read once its class may be gone
        T* cast = dynamic_cast<T*>(object);
        memo = {&type, cast != nullptr, cast ? reinterpret_cast<char*>(cast) - from : 0};
    }
    return memo.isT ? reinterpret_cast<T*>(from + memo.offset) : nullptr;
}
