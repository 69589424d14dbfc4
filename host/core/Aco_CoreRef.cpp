#include "storyloom/host/core/Aco_CoreRef.h"

ChannelType Aco_CoreRef::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type("CoreRef", ChannelGuids::CoreRef, ChannelGuids::CoreRef);
    return type;
}
