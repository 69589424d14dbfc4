#pragma once

namespace CoreFramework {

// One instance per process; the managers behind it live in shared libraries, so the
// instance is defined once in the library that owns the managed class (see the
// CORE_SINGLETON_INSTANCE macro) and declared here for everyone else.
template <class T>
class Singleton {
public:
    static T& Instance();
};

}  // namespace CoreFramework

#define CORE_SINGLETON_INSTANCE(T)                        \
    template <>                                           \
    T& CoreFramework::Singleton<T>::Instance() {          \
        static T instance;                                \
        return instance;                                  \
    }
