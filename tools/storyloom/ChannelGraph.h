#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "storyloom/host/EngineHost.h"
#include "storyloom/host/ScenarioCore.h"
#include "storyloom/host/engine/A3dPluginLoader.h"
#include "PlaceIndex.h"

// The three numbers at `key` of a checked entry; the origin when it has none.
VelmMathLib::Vec3 ReadVec3(const nlohmann::json& entry, const char* key);

// A channel graph read from JSON: named entities, cameras and channels, with the channels
// linked as the description says. Storyloom channels are made through the loaded plug-in.
struct ChannelKind;

class ChannelGraph {
public:
    explicit ChannelGraph(const A3dPluginLoader& plugin) : _plugin(plugin) {}

    // A camera's field of view and viewport when its description leaves them out; a viewport
    // side is at most kMaxViewportSide pixels, as a picture is drawn at that size.
    static constexpr float kDefaultFovY = 1.0f;
    static constexpr int kDefaultWidth = 320;
    static constexpr int kDefaultHeight = 240;
    static constexpr int kMaxViewportSide = 4096;

    // Builds everything a checked description holds; false with the reason in `error`. It takes
    // the description, letting go of each part once made: pass a copy to keep it.
    bool Build(nlohmann::json description, std::string& error);

    A3d_Channel* FindChannel(const std::string& id) const;
    Core::EntityBase* FindEntity(const std::string& name) const;
    Core::Camera* FindCamera(const std::string& name) const;
    const std::vector<std::string>& GetChannelIds() const { return _order; }
    // A channel's place in GetChannelIds(); kNotInGraph for a channel of no graph of ours.
    static constexpr size_t kNotInGraph = static_cast<size_t>(-1);
    size_t IndexOf(const A3d_Channel* channel) const;
    // The JSON id of a channel of this graph; "?" for any other.
    std::string IdOf(const A3d_Channel* channel) const;
    // The kind a channel of the graph was made as; "" for any other.
    std::string KindOf(const A3d_Channel* channel) const;
    // How a channel of the graph reads in the output; "(no value)" for any other.
    std::string Describe(A3d_Channel* channel) const;
    // What a reference may point at: an entity or a camera, by name.
    Core::RefSupport* FindReferable(const std::string& name) const;
    // The slots its lookups of channels and entities have looked at (see PlaceIndex).
    size_t Probes() const { return _placesById.Probes() + _places.Probes() + _entitiesByName.Probes(); }

private:
    bool AddEntity(const nlohmann::json& entry, std::string& error);
    void AddCamera(const nlohmann::json& entry);
    bool AddChannel(const nlohmann::json& entry, std::string& error);
    bool LinkChannel(size_t index, const nlohmann::json& links, std::string& error);

    const A3dPluginLoader& _plugin;
    // Declared so that channels die first: they still read their groups while dying.
    std::vector<std::unique_ptr<A3d_ChannelGroup>> _groups;
    std::vector<std::unique_ptr<Core::EntityBase>> _entities;
    PlaceIndex _entitiesByName;  // the first entity of each name
    std::map<std::string, std::unique_ptr<Core::Camera>> _cameras;
    // The channels in the description's order, each with the kind it was made as; their ids
    // in the same order, and where in it each id and each channel is.
    struct Made {
        std::unique_ptr<A3d_Channel> channel;
        const ChannelKind* kind;
    };
    std::vector<Made> _made;
    std::vector<std::string> _order;
    PlaceIndex _placesById;
    PlaceIndex _places;
};
