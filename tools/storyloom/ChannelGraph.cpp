#include "ChannelGraph.h"

#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

using nlohmann::json;

namespace {
VelmMathLib::Vec3 ReadVec3(const json& entry, const char* key) {
    VelmMathLib::Vec3 v;
    if (entry.contains(key) && entry[key].is_array() && entry[key].size() == 3)
        v = {entry[key][0].get<float>(), entry[key][1].get<float>(), entry[key][2].get<float>()};
    return v;
}

// A checked component: {"shape": "sphere", "center", "radius"} or {"shape": "box", "min", "max"}.
Core::AreaComponent* MakeComponent(const json& entry) {
    if (entry.value("shape", "") == "sphere")
        return new Core::SphereAreaComponent(ReadVec3(entry, "center"), entry.value("radius", 1.0f));
    return new Core::BoxAreaComponent(ReadVec3(entry, "min"), ReadVec3(entry, "max"));
}

// The mode whose short name is `shortName`, looked up in the channel's own catalogue.
bool FindMode(Aco_Storyloom& channel, const std::string& shortName, unsigned& mode) {
    channel.BuildModesList(false);
    for (unsigned index = 0; index < channel.GetModeCount(); ++index) {
        mode = channel.GetModeFromIndex(index);
        const ModeDescription* desc = channel.GetModeDescription(mode);
        if (desc && desc->shortName == shortName) return true;
    }
    return false;
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

std::string ChannelGraph::IdOf(const A3d_Channel* channel) const {
    for (const auto& [id, held] : _channels)
        if (held.get() == channel) return id;
    return "?";
}

Core::EntityBase* ChannelGraph::FindEntity(const std::string& name) const {
    for (const auto& entity : _entities)
        if (entity->GetName() == name) return entity.get();
    return nullptr;
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
    return true;
}

void ChannelGraph::AddCamera(const json& entry) {
    _cameras[entry.value("name", "")] = std::make_unique<Core::Camera>(
        ReadVec3(entry, "eye"), ReadVec3(entry, "target"), entry.value("fovY", kDefaultFovY),
        entry.value("width", kDefaultWidth), entry.value("height", kDefaultHeight));
}

A3d_Channel* ChannelGraph::MakeChannel(const std::string& kind, const json& entry, std::string& error) {
    if (kind == "Value") {
        auto* channel = new Aco_FloatChannel;
        channel->SetFloat(entry.value("value", 0.0f));
        return channel;
    }
    if (kind == "Text") {
        auto* channel = new Aco_StringChannel;
        if (entry.contains("text") && entry["text"].is_string()) channel->SetString(entry["text"].get<std::string>().c_str());
        return channel;
    }
    if (kind == "Vector") {
        auto* channel = new Aco_VectorChannel;
        VelmMathLib::Vec3 v = ReadVec3(entry, "vector");
        channel->SetVector(v.x, v.y, v.z);
        return channel;
    }
    if (kind == "CustomEnum") {
        auto* channel = new Aco_CustomEnum;
        channel->SetEnumTypeName(entry.value("enumType", "").c_str());
        channel->SetFloat(entry.value("value", 0.0f));
        return channel;
    }
    if (kind == "CoreRef") {
        auto* channel = new Aco_CoreRef;
        if (entry.contains("ref")) {
            Core::RefSupport* target = FindReferable(entry["ref"].get<std::string>());
            if (!target) {
                delete channel;
                error = "no entity or camera named \"" + entry["ref"].get<std::string>() + "\"";
                return nullptr;
            }
            channel->SetRef(target);
        }
        return channel;
    }
    if (kind == "Storyloom") {
        A3d_Channel* made = _plugin.CreateChannel();
        auto* channel = dynamic_cast<Aco_Storyloom*>(made);
        unsigned mode = 0;
        std::string shortName = entry.value("mode", "");
        if (!channel || !FindMode(*channel, shortName, mode)) {
            delete made;
            error = "no mode \"" + shortName + "\"";
            return nullptr;
        }
        channel->SetCurrentMode(mode);
        return channel;
    }
    error = "unknown channel kind \"" + kind + "\"";
    return nullptr;
}

bool ChannelGraph::AddChannel(const json& entry, std::string& error) {
    std::string id = entry.value("id", "");
    if (id.empty() || _channels.count(id)) {
        error = "channel without an id, or with a repeated one: \"" + id + "\"";
        return false;
    }
    A3d_Channel* channel = MakeChannel(entry.value("kind", ""), entry, error);
    if (!channel) {
        error = "channel \"" + id + "\": " + error;
        return false;
    }
    _channels[id].reset(channel);
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
