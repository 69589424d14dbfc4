#include "storyloom/host/core/WeakRef.h"

#include <algorithm>

namespace Core {

WeakTarget::~WeakTarget() {
    for (WeakLink* link : _links) link->_target = nullptr;
}

WeakLink& WeakLink::operator=(const WeakLink& other) {
    Attach(other._target);
    return *this;
}

void WeakLink::Attach(WeakTarget* target) {
    if (target == _target) return;
    if (_target) {
        std::vector<WeakLink*>& links = _target->_links;
        links.erase(std::find(links.begin(), links.end(), this));
    }
    _target = target;
    if (_target) _target->_links.push_back(this);
}

}  // namespace Core
