#pragma once
#include "storyloom/host/core/FactoryBase.h"

namespace Core {

// A scenario node made by factories of class Factory.
template <class Factory>
class TProduct : public ProductBase {
public:
    // The factory that made the node; null once that factory has died.
    Factory* GetType() const { return static_cast<Factory*>(GetFactoryBase()); }
};

}  // namespace Core
