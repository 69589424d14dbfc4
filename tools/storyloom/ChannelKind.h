#pragma once
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "storyloom/host/EngineHost.h"
#include "storyloom/host/engine/A3dPluginLoader.h"

class ChannelGraph;

// A key a channel kind takes besides "id", "kind", "name" and "group".
struct ChannelKey {
    enum Type { Number, Text, Vector, Referable, Mode, Links };
    const char* name;
    Type type;
    bool saved;  // kept in the channel's own blocks of a channel file, not in its header
};

// One kind of channel a graph names: everything the program does with a channel of it.
// Adding a kind is adding a record to a family file and the family to ChannelKinds::All.
struct ChannelKind {
    const char* name;
    std::vector<ChannelKey> keys;
    // A channel of the kind with nothing set; null when the plug-in makes none.
    std::unique_ptr<A3d_Channel> (*make)(const A3dPluginLoader& plugin);
    // Gives a made channel what a checked entry says; false with the reason in `error`.
    bool (*setUp)(A3d_Channel& channel, const nlohmann::json& entry, const ChannelGraph& graph, std::string& error);
    // Writes the saved keys as the channel holds them: how a reopened channel describes itself.
    void (*save)(A3d_Channel& channel, nlohmann::json& entry);
    // How its value reads in the output.
    std::string (*describe)(A3d_Channel& channel);
};

// The families, each in its own file.
const std::vector<ChannelKind>& HostChannelKinds();
const std::vector<ChannelKind>& PluginChannelKinds();

namespace ChannelKinds {
// Every kind, in the order messages list them.
const std::vector<ChannelKind>& All();
const ChannelKind* Find(const std::string& name);
// How a value channel's value reads: the describe of every kind built on a value channel.
std::string DescribeValue(A3d_Channel& channel);
}  // namespace ChannelKinds
