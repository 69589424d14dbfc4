#include "storyloom/host/engine/A3d_ChannelGroup.h"

A3d_ChannelGroup::A3d_ChannelGroup(const char* name) { SetGroupName(name); }

const char* A3d_ChannelGroup::GetGroupName() const { return _hasName ? _name.c_str() : nullptr; }

void A3d_ChannelGroup::SetGroupName(const char* name) {
    _hasName = name != nullptr;
    _name = name ? name : "";
}
