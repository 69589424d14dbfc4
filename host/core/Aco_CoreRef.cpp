#include "host/core/Aco_CoreRef.h"

ChannelType Aco_CoreRef::GetChannelType() {
    return ChannelType("CoreRef", ChannelGuids::CoreRef, ChannelGuids::CoreRef);
}
