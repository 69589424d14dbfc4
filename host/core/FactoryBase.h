#pragma once
#include <string>
#include <vector>

namespace Core {

class FactoryBase;

// The part of every scenario node that ties it to the factory that made it. Nodes belong to
// the core, not to their factory, and outlive it: a node whose factory died keeps its type
// name and goes on working.
class ProductBase {
public:
    ProductBase() = default;
    // A copy belongs to no factory until a manager hands it to one.
    ProductBase(const ProductBase&) {}
    ProductBase& operator=(const ProductBase&) = delete;
    virtual ~ProductBase();

    // Its factory has died; the factory pointer is already null.
    virtual void OnFactoryDestroyed();

    // The type the node was made as; empty until a factory adopted it.
    const std::string& GetTypeName() const { return _typeName; }
    FactoryBase* GetFactoryBase() const { return _factory; }

private:
    friend class FactoryBase;
    FactoryBase* _factory = nullptr;
    // The factory's list runs through its nodes, so a dying node leaves it in constant time.
    ProductBase* _previous = nullptr;
    ProductBase* _next = nullptr;
    std::string _typeName;
};

// The part of every factory that keeps the list of its live nodes.
class FactoryBase {
public:
    FactoryBase(const FactoryBase&) = delete;
    FactoryBase& operator=(const FactoryBase&) = delete;

    const std::string& GetName() const { return _name; }
    // The live nodes in the order they were adopted.
    std::vector<ProductBase*> GetProducts() const;
    size_t GetProductCount() const { return _productCount; }
    // Lists the node as made by this factory, taking it from any earlier one.
    void Adopt(ProductBase& product);

protected:
    explicit FactoryBase(std::string name) : _name(std::move(name)) {}
    // Every listed node loses its factory and hears OnFactoryDestroyed.
    ~FactoryBase();

private:
    friend class ProductBase;
    void Forget(ProductBase& product);

    std::string _name;
    ProductBase* _first = nullptr;
    ProductBase* _last = nullptr;
    size_t _productCount = 0;
};

}  // namespace Core
