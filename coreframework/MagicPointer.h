#pragma once
#include <cstdint>

// Liveness token shared by an owner and its weak holders.
struct MagicToken {
    uint32_t alive;    // 1 while the owner lives
    uint32_t holders;  // live MagicPointers
};

// Owner side: a MagicPointer made from it yields the owner while it lives, nothing after.
template <class T>
class MagicBase {
public:
    MagicBase() : _token(new MagicToken{1, 0}) {}
    // A copy is a new owner with a token of its own.
    MagicBase(const MagicBase&) : MagicBase() {}
    MagicBase& operator=(const MagicBase&) { return *this; }
    virtual ~MagicBase() {
        if (_token->holders == 0)
            delete _token;
        else
            _token->alive = 0;  // the last holder frees it
    }

    MagicToken* GetMagicToken() const { return _token; }

private:
    MagicToken* _token;
};

// Weak holder of a MagicBase<T> owner.
template <class T>
class MagicPointer {
public:
    MagicPointer() = default;
    explicit MagicPointer(T* owner) { Reset(owner); }
    MagicPointer(const MagicPointer& other) { Acquire(other._token, other._owner); }
    MagicPointer& operator=(const MagicPointer& other) {
        if (this != &other) {
            MagicToken* token = other._token;
            T* owner = other._owner;
            Release();
            Acquire(token, owner);
        }
        return *this;
    }
    ~MagicPointer() { Release(); }

    void Reset(T* owner = nullptr) {
        Release();
        if (owner) Acquire(static_cast<MagicBase<T>*>(owner)->GetMagicToken(), owner);
    }
    // The owner while it lives, else null.
    T* Get() const { return _token && _token->alive ? _owner : nullptr; }
    bool IsHolding() const { return _token != nullptr; }

private:
    void Acquire(MagicToken* token, T* owner) {
        _token = token;
        _owner = owner;
        if (_token) ++_token->holders;
    }
    void Release() {
        if (!_token) return;
        if (--_token->holders == 0 && _token->alive == 0) delete _token;
        _token = nullptr;
        _owner = nullptr;
    }

    MagicToken* _token = nullptr;
    T* _owner = nullptr;
};
