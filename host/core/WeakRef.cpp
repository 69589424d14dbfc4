#include "storyloom/host/core/WeakRef.h"

namespace Core {

WeakTarget::~WeakTarget() {
    for (WeakLink* link = _firstLink; link;) {
        WeakLink* next = link->_next;
        link->_target = nullptr;
        link->_previous = link->_next = nullptr;
        link = next;
    }
}

WeakLink& WeakLink::operator=(const WeakLink& other) {
    Attach(other._target);
    return *this;
}

void WeakLink::Attach(WeakTarget* target) {
    if (target == _target) return;
    if (_target) {
        (_previous ? _previous->_next : _target->_firstLink) = _next;
        if (_next) _next->_previous = _previous;
        _previous = _next = nullptr;
        --_target->_linkCount;
    }
    _target = target;
    if (_target) {
        _next = _target->_firstLink;
        if (_next) _next->_previous = this;
        _target->_firstLink = this;
        ++_target->_linkCount;
    }
}

}  // namespace Core
