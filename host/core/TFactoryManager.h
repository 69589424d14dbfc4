#pragma once
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/TAbstractFactory.h"

namespace Core {

// Knows the factories of one kind of scenario node by type name and has them make and copy
// nodes. It only refers to factories; they register and unregister themselves. Should two
// live factories share a type name, the newer one serves it until it dies.
template <class Manager, class Product, class Owner>
class TFactoryManager {
public:
    using Factory = TAbstractFactory<Manager, Product, Owner, NoTArg>;
    using Registration = TAbstractFactoryBase<Factory, Manager, Product>;

    // An empty type name or a null factory is refused with a report.
    bool AddFactory(const std::string& type, Registration* factory) {
        if (type.empty() || !factory) {
            ERRLOG(std::string(Manager::Name) + "::AddFactory: a factory needs a type name");
            return false;
        }
        _factories.emplace_back(type, factory);
        return true;
    }
    void RemoveFactory(Registration* factory) {
        _factories.erase(std::remove_if(_factories.begin(), _factories.end(),
                                        [factory](const Entry& entry) { return entry.second == factory; }),
                         _factories.end());
    }
    // Null when no live factory has that type name.
    Factory* FindFactory(const std::string& type) const {
        for (auto entry = _factories.rbegin(); entry != _factories.rend(); ++entry)
            if (entry->first == type) return static_cast<Factory*>(entry->second);
        return nullptr;
    }

    // A new node of that type for owner, or null with a report when no factory makes it.
    Product* CreateProduct(const std::string& type, Owner& owner) {
        Factory* factory = FindFactory(type);
        if (!factory) {
            ERRLOG(std::string(Manager::Name) + "::CreateProduct: no factory for type \"" + type + "\"");
            return nullptr;
        }
        Product* product = factory->CreateProduct(owner);
        if (product) factory->Adopt(*product);
        return product;
    }
    // A copy made by the source's factory or, once that has died, by the factory now serving
    // its type name; null with a report when there is none. The factory reports its own refusals.
    Product* CloneProduct(const Product& source) {
        Factory* factory = source.GetType() ? source.GetType() : FindFactory(source.GetTypeName());
        if (!factory) {
            ERRLOG(std::string(Manager::Name) + "::CloneProduct: no factory for type \"" + source.GetTypeName() +
                   "\"");
            return nullptr;
        }
        Product* copy = factory->CloneProduct(source);
        if (copy) factory->Adopt(*copy);
        return copy;
    }

private:
    using Entry = std::pair<std::string, Registration*>;
    std::vector<Entry> _factories;  // in registration order
};

}  // namespace Core
