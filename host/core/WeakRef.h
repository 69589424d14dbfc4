#pragma once

namespace Core {

class WeakLink;

// Something weak references can point at: when it dies it empties every reference to it,
// so nothing holding one is left with a dangling pointer. Copies start with no references.
class WeakTarget {
public:
    WeakTarget() = default;
    WeakTarget(const WeakTarget&) {}
    WeakTarget& operator=(const WeakTarget&) { return *this; }

    unsigned GetWeakRefCount() const { return _linkCount; }

protected:
    ~WeakTarget();

private:
    friend class WeakLink;
    // The references run through their links, so one leaves in constant time however many
    // point here (a scenario is pointed at by every one of its nodes).
    WeakLink* _firstLink = nullptr;
    unsigned _linkCount = 0;
};

// The untyped half of a weak reference: its registration with the target.
class WeakLink {
public:
    WeakLink() = default;
    WeakLink(const WeakLink& other) { Attach(other._target); }
    WeakLink& operator=(const WeakLink& other);
    ~WeakLink() { Attach(nullptr); }

    void Attach(WeakTarget* target);
    bool IsAttached() const { return _target != nullptr; }

private:
    friend class WeakTarget;
    WeakTarget* _target = nullptr;
    WeakLink* _previous = nullptr;
    WeakLink* _next = nullptr;
};

// A pointer that reads null once its object has died.
template <class T>
class WeakRef {
public:
    WeakRef() = default;
    WeakRef(T* object) { Set(object); }
    WeakRef& operator=(T* object) {
        Set(object);
        return *this;
    }

    void Set(T* object) {
        _object = object;
        _link.Attach(object);
    }
    T* Get() const { return _link.IsAttached() ? _object : nullptr; }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

private:
    T* _object = nullptr;
    WeakLink _link;
};

}  // namespace Core
