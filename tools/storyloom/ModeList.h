#pragma once
#include <string>
#include <vector>

#include "storyloom/host/EngineHost.h"
#include "storyloom/host/engine/A3dPluginLoader.h"

// The plug-in's modes as a host sees them: read through a channel made by the plug-in, one
// mode at a time, from the link records the channel declares once the mode is set.
struct LinkInfo {
    std::string name;
    std::string kind;  // the channel type the link accepts; "any" for the generic type
    _GUID guid{};
    unsigned position = 0;
    int hostValue = 0;
    bool repeatable = false;
    bool needed = false;  // left empty, the mode stops with 105
};

struct ModeInfo {
    unsigned id = 0;
    std::string shortName;
    std::string name;
    std::vector<LinkInfo> links;
};

class ModeList {
public:
    // Empty when the plug-in makes no multi-mode channel.
    explicit ModeList(const A3dPluginLoader& plugin);

    const std::vector<ModeInfo>& GetModes() const { return _modes; }
    const ModeInfo* Find(const std::string& shortName) const;
    // Up to `count` short names closest to `name` in edit distance, nearest first.
    std::vector<std::string> Nearest(const std::string& name, size_t count) const;

private:
    std::vector<ModeInfo> _modes;
};

// Whether a channel of `type` may be linked where `link` is declared, as the host decides.
bool LinkAccepts(const LinkInfo& link, const ChannelType& type);
