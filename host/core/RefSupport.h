#pragma once
#include "host/core/WeakRef.h"

namespace Core {

// Base of every core object a reference channel (Aco_CoreRef) can point at. When it dies,
// every reference to it reads empty; callers narrow it with dynamic_cast.
class RefSupport : public WeakTarget {
public:
    RefSupport() = default;
    RefSupport(const RefSupport&) = default;
    RefSupport& operator=(const RefSupport&) = default;
    virtual ~RefSupport();
};

}  // namespace Core
