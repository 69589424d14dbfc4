#pragma once
#include "storyloom/host/core/RefSupport.h"
#include "storyloom/host/engine/A3d_Channel.h"

// A channel that refers to one core object or to none. It never owns the object, and it
// reads empty once the object has died.
class Aco_CoreRef : public A3d_Channel {
public:
    ChannelType GetChannelType() override;

    Core::RefSupport* GetRef() const { return _ref.Get(); }
    void SetRef(Core::RefSupport* object) { _ref.Set(object); }  // null empties it
    void ResetRef() { _ref.Set(nullptr); }

private:
    Core::WeakRef<Core::RefSupport> _ref;
};
