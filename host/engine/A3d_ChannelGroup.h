#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <string>

// A named group of channels; channels refer to it, it does not own them.
class A3D_API A3d_ChannelGroup {
public:
    explicit A3d_ChannelGroup(const char* name = nullptr);
    virtual ~A3d_ChannelGroup() = default;

    // The group's name; null for a group without one.
    virtual const char* GetGroupName() const;
    void SetGroupName(const char* name);

private:
    std::string _name;
    bool _hasName = false;
};
