#pragma once
// dynamic_cast with a shortcut for the usual case, an object of exactly class T: comparing two
// type records costs a fraction of the walk through the class graph, which across shared
// libraries also compares type names. The answer is the dynamic_cast's in every case.
#include <type_traits>
#include <typeinfo>

template <class T, class From>
T* KindCast(From* object) {
    static_assert(std::is_base_of_v<From, T>, "KindCast narrows to a derived class");
    if (!object) return nullptr;
    if (typeid(*object) == typeid(T)) return static_cast<T*>(object);
    return dynamic_cast<T*>(object);
}
