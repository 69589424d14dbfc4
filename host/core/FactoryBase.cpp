#include "storyloom/host/core/FactoryBase.h"

namespace Core {

ProductBase::~ProductBase() {
    if (_factory) _factory->Forget(*this);
}

void ProductBase::OnFactoryDestroyed() {}

std::vector<ProductBase*> FactoryBase::GetProducts() const {
    std::vector<ProductBase*> products;
    products.reserve(_productCount);
    for (ProductBase* product = _first; product; product = product->_next) products.push_back(product);
    return products;
}

void FactoryBase::Adopt(ProductBase& product) {
    if (product._factory == this) return;
    if (product._factory) product._factory->Forget(product);
    product._factory = this;
    product._typeName = _name;
    product._previous = _last;
    (_last ? _last->_next : _first) = &product;
    _last = &product;
    ++_productCount;
}

FactoryBase::~FactoryBase() {
    // One at a time from the front: a node's handler may delete other listed nodes.
    while (ProductBase* product = _first) {
        Forget(*product);
        product->_factory = nullptr;
        product->OnFactoryDestroyed();
    }
}

void FactoryBase::Forget(ProductBase& product) {
    (product._previous ? product._previous->_next : _first) = product._next;
    (product._next ? product._next->_previous : _last) = product._previous;
    product._previous = product._next = nullptr;
    --_productCount;
}

}  // namespace Core
