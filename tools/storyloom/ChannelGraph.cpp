#include "ChannelGraph.h"

#include "ChannelKind.h"

using nlohmann::json;

VelmMathLib::Vec3 ReadVec3(const json& entry, const char* key) {
    VelmMathLib::Vec3 v;
    if (entry.contains(key) && entry[key].is_array() && entry[key].size() == 3)
        v = {entry[key][0].get<float>(), entry[key][1].get<float>(), entry[key][2].get<float>()};
    return v;
}

namespace {
// A checked component: {"shape": "sphere", "center", "radius"} or {"shape": "box", "min", "max"}.
Core::AreaComponent* MakeComponent(const json& entry) {
    if (entry.value("shape", "") == "sphere")
        return new Core::SphereAreaComponent(ReadVec3(entry, "center"), entry.value("radius", 1.0f));
    return new Core::BoxAreaComponent(ReadVec3(entry, "min"), ReadVec3(entry, "max"));
}
}  // namespace

bool ChannelGraph::Build(const json& description, std::string& error) {
    for (const json& entry : description.value("entities", json::array()))
        if (!AddEntity(entry, error)) return false;
    for (const json& entry : description.value("cameras", json::array())) AddCamera(entry);
    const json channels = description.value("channels", json::array());
    for (const json& entry : channels)
        if (!AddChannel(entry, error)) return false;
    // Links after every channel exists, so a description may name channels in any order.
    for (const json& entry : channels)
        if (!LinkChannel(entry, error)) return false;
    return true;
}

A3d_Channel* ChannelGraph::FindChannel(const std::string& id) const {
    auto found = _channels.find(id);
    return found == _channels.end() ? nullptr : found->second.get();
}

size_t ChannelGraph::IndexOf(const A3d_Channel* channel) const {
    auto found = _places.find(channel);
    return found == _places.end() ? kNotInGraph : found->second;
}

std::string ChannelGraph::IdOf(const A3d_Channel* channel) const {
    const size_t index = IndexOf(channel);
    return index == kNotInGraph ? "?" : _order[index];
}

std::string ChannelGraph::KindOf(const A3d_Channel* channel) const {
    auto kind = _kinds.find(channel);
    return kind == _kinds.end() ? "" : kind->second->name;
}

std::string ChannelGraph::Describe(A3d_Channel* channel) const {
    auto kind = _kinds.find(channel);
    return kind == _kinds.end() ? "(no value)" : kind->second->describe(*channel);
}

Core::EntityBase* ChannelGraph::FindEntity(const std::string& name) const {
    auto found = _entitiesByName.find(name);
    return found == _entitiesByName.end() ? nullptr : found->second;
}

Core::Camera* ChannelGraph::FindCamera(const std::string& name) const {
    auto found = _cameras.find(name);
    return found == _cameras.end() ? nullptr : found->second.get();
}

Core::RefSupport* ChannelGraph::FindReferable(const std::string& name) const {
    if (Core::EntityBase* entity = FindEntity(name)) return entity;
    return FindCamera(name);
}

bool ChannelGraph::AddEntity(const json& entry, std::string& error) {
    std::string name = entry.value("name", "");
    std::string kind = entry.value("kind", "StaticMesh");
    VelmMathLib::Vec3 position = ReadVec3(entry, "position");
    float radius = entry.value("radius", 1.0f);
    if (kind == "StaticMesh") {
        _entities.push_back(std::make_unique<Core::StaticMeshEntity>(name, position, radius));
    } else if (kind == "VirtualEntity") {
        auto entity = std::make_unique<Core::VirtualScenarioEntity>(name, position, radius);
        if (entry.contains("color")) {
            const json& c = entry["color"];
            entity->SetColor({c[0].get<float>(), c[1].get<float>(), c[2].get<float>(), c[3].get<float>()});
        }
        _entities.push_back(std::move(entity));
    } else if (kind == "Area") {
        auto area = std::make_unique<Core::AreaEntity>(name);
        for (const json& component : entry.value("components", json::array())) area->AddComponent(MakeComponent(component));
        _entities.push_back(std::move(area));
    } else {
        error = "entity \"" + name + "\": unknown kind \"" + kind + "\"";
        return false;
    }
    _entitiesByName.emplace(name, _entities.back().get());  // the first of a name, as a walk would find
    return true;
}

void ChannelGraph::AddCamera(const json& entry) {
    _cameras[entry.value("name", "")] = std::make_unique<Core::Camera>(
        ReadVec3(entry, "eye"), ReadVec3(entry, "target"), entry.value("fovY", kDefaultFovY),
        entry.value("width", kDefaultWidth), entry.value("height", kDefaultHeight));
}

bool ChannelGraph::AddChannel(const json& entry, std::string& error) {
    std::string id = entry.value("id", "");
    if (id.empty() || _channels.count(id)) {
        error = "channel without an id, or with a repeated one: \"" + id + "\"";
        return false;
    }
    const std::string kindName = entry.value("kind", "");
    const ChannelKind* kind = ChannelKinds::Find(kindName);
    std::unique_ptr<A3d_Channel> made = kind ? kind->make(_plugin) : nullptr;
    if (!made)
        error = kind ? "the plug-in makes no " + kindName + " channel" : "unknown channel kind \"" + kindName + "\"";
    if (!made || !kind->setUp(*made, entry, *this, error)) {
        error = "channel \"" + id + "\": " + error;
        return false;
    }
    A3d_Channel* channel = made.get();
    _kinds[channel] = kind;
    _places.emplace(channel, _order.size());
    _channels[id] = std::move(made);
    _order.push_back(id);
    if (entry.contains("group")) {
        _groups.push_back(std::make_unique<A3d_ChannelGroup>(entry["group"].get<std::string>().c_str()));
        channel->SetChannelGroup(_groups.back().get());
    }
    // A given name wins over the automatic one: construct channels register under it.
    if (entry.contains("name")) channel->SetChannelName(entry["name"].get<std::string>().c_str());
    return true;
}

bool ChannelGraph::LinkChannel(const json& entry, std::string& error) {
    A3d_Channel* parent = FindChannel(entry.value("id", ""));
    const json links = entry.value("links", json::array());
    for (unsigned position = 0; position < links.size(); ++position) {
        const json& at = links[position];
        std::vector<std::string> ids;
        if (at.is_string()) ids.push_back(at.get<std::string>());
        if (at.is_array())
            for (const json& id : at) ids.push_back(id.get<std::string>());
        for (const std::string& id : ids) {
            A3d_Channel* child = FindChannel(id);
            if (!child || !parent->LinkChild(position, child)) {
                error = "channel \"" + entry.value("id", "") + "\": cannot link \"" + id + "\" at position " +
                        std::to_string(position);
                return false;
            }
        }
    }
    return true;
}
