#pragma once
#include <string>

#include "storyloom/coreframework/Singleton.h"
#include "storyloom/host/core/FactoryBase.h"

namespace Core {

// No construction argument for the products of a factory.
struct NoTArg {};

// Registers the factory with its manager under its type name for as long as it lives. On
// destruction it leaves the manager first, so the manager never calls a dying factory; the
// FactoryBase part then tells each of its live nodes.
template <class Factory, class Manager, class Product>
class TAbstractFactoryBase : public FactoryBase {
public:
    explicit TAbstractFactoryBase(const std::string& typeName) : FactoryBase(typeName) {
        CoreFramework::Singleton<Manager>::Instance().AddFactory(typeName, this);
    }
    ~TAbstractFactoryBase() {
        CoreFramework::Singleton<Manager>::Instance().RemoveFactory(this);
    }
};

// A factory of scenario nodes of one type. A plug-in derives it, implements the two
// operations and constructs it with the type name; the manager adopts what they return.
template <class Manager, class Product, class Owner, class Arg = NoTArg>
class TAbstractFactory : public TAbstractFactoryBase<TAbstractFactory<Manager, Product, Owner, Arg>, Manager, Product> {
public:
    using Base = TAbstractFactoryBase<TAbstractFactory, Manager, Product>;
    using Base::Base;
    using ProductType = Product;
    using OwnerType = Owner;
    virtual ~TAbstractFactory() = default;

    // A new node copied from source, or null.
    virtual Product* CloneProduct(const Product& source) = 0;
    // A new node for owner.
    virtual Product* CreateProduct(Owner& owner) = 0;
};

}  // namespace Core
