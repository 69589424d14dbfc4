#include "storyloom/host/core/FactoryBase.h"

#include <algorithm>

namespace Core {

ProductBase::~ProductBase() {
    if (_factory) _factory->Forget(*this);
}

void ProductBase::OnFactoryDestroyed() {}

void FactoryBase::Adopt(ProductBase& product) {
    if (product._factory == this) return;
    if (product._factory) product._factory->Forget(product);
    product._factory = this;
    product._typeName = _name;
    _products.push_back(&product);
}

FactoryBase::~FactoryBase() {
    // One at a time from the front: a node's handler may delete other listed nodes.
    while (!_products.empty()) {
        ProductBase* product = _products.front();
        _products.erase(_products.begin());
        product->_factory = nullptr;
        product->OnFactoryDestroyed();
    }
}

void FactoryBase::Forget(ProductBase& product) {
    _products.erase(std::find(_products.begin(), _products.end(), &product));
}

}  // namespace Core
