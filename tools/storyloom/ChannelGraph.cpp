#include "ChannelGraph.h"

#include "ChannelKind.h"
#include "JsonText.h"

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

bool ChannelGraph::Build(json description, std::string& error) {
    json none = json::array();
    auto list = [&](const char* key) -> json& {
        auto found = description.find(key);
        return found == description.end() ? none : *found;
    };
    // What is made goes as it is made: a large graph's description takes about as much memory
    // as its channels, and is not held beside them.
    json& entities = list("entities");
    for (const json& entry : entities)
        if (!AddEntity(entry, error)) return false;
    entities = json::array();
    for (const json& entry : list("cameras")) AddCamera(entry);
    json& channels = list("channels");
    _made.reserve(channels.size());
    _order.reserve(channels.size());
    _placesById.Reserve(channels.size());
    _places.Reserve(channels.size());
    // Links wait until every channel exists, so a description may name channels in any order.
    std::vector<json> links(channels.size());
    for (size_t index = 0; index < channels.size(); ++index) {
        json& entry = channels[index];
        if (!AddChannel(entry, error)) return false;
        if (auto at = entry.find("links"); at != entry.end()) links[index] = std::move(*at);
        entry = nullptr;
    }
    channels = json::array();
    for (size_t index = 0; index < links.size(); ++index)
        if (!LinkChannel(index, links[index], error)) return false;
    return true;
}

namespace {
size_t HashOf(const std::string& id) { return std::hash<std::string>{}(id); }
size_t HashOf(const void* object) { return std::hash<const void*>{}(object); }
}  // namespace

A3d_Channel* ChannelGraph::FindChannel(const std::string& id) const {
    const size_t place = _placesById.Find(HashOf(id), [&](size_t at) { return _order[at] == id; });
    return place == PlaceIndex::kNone ? nullptr : _made[place].channel.get();
}

size_t ChannelGraph::IndexOf(const A3d_Channel* channel) const {
    const size_t place = _places.Find(HashOf(channel), [&](size_t at) { return _made[at].channel.get() == channel; });
    return place == PlaceIndex::kNone ? kNotInGraph : place;
}

std::string ChannelGraph::IdOf(const A3d_Channel* channel) const {
    const size_t index = IndexOf(channel);
    return index == kNotInGraph ? "?" : _order[index];
}

std::string ChannelGraph::KindOf(const A3d_Channel* channel) const {
    const size_t index = IndexOf(channel);
    return index == kNotInGraph ? "" : _made[index].kind->name;
}

std::string ChannelGraph::Describe(A3d_Channel* channel) const {
    const size_t index = IndexOf(channel);
    return index == kNotInGraph ? "(no value)" : _made[index].kind->describe(*channel);
}

Core::EntityBase* ChannelGraph::FindEntity(const std::string& name) const {
    const size_t place =
        _entitiesByName.Find(HashOf(name), [&](size_t at) { return _entities[at]->GetName() == name; });
    return place == PlaceIndex::kNone ? nullptr : _entities[place].get();
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
    if (!FindEntity(name)) _entitiesByName.Add(HashOf(name), _entities.size() - 1);  // the first, as a walk finds
    return true;
}

void ChannelGraph::AddCamera(const json& entry) {
    _cameras[entry.value("name", "")] = std::make_unique<Core::Camera>(
        ReadVec3(entry, "eye"), ReadVec3(entry, "target"), entry.value("fovY", kDefaultFovY),
        entry.value("width", kDefaultWidth), entry.value("height", kDefaultHeight));
}

bool ChannelGraph::AddChannel(const json& entry, std::string& error) {
    std::string id = entry.value("id", "");
    if (id.empty() || FindChannel(id)) {
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
    _places.Add(HashOf(channel), _order.size());
    _placesById.Add(HashOf(id), _order.size());
    _made.push_back({std::move(made), kind});
    _order.push_back(std::move(id));
    if (entry.contains("group")) {
        _groups.push_back(std::make_unique<A3d_ChannelGroup>(entry["group"].get<std::string>().c_str()));
        channel->SetChannelGroup(_groups.back().get());
    }
    // A given name wins over the automatic one: construct channels register under it.
    if (entry.contains("name")) channel->SetChannelName(entry["name"].get<std::string>().c_str());
    return true;
}

bool ChannelGraph::LinkChannel(size_t index, const json& links, std::string& error) {
    A3d_Channel* parent = _made[index].channel.get();
    for (unsigned position = 0; position < links.size(); ++position) {
        const json& at = links[position];
        std::vector<std::string> ids;
        if (at.is_string()) ids.push_back(at.get<std::string>());
        if (at.is_array())
            for (const json& id : at) ids.push_back(id.get<std::string>());
        for (const std::string& id : ids) {
            A3d_Channel* child = FindChannel(id);
            if (!child || !parent->LinkChild(position, child)) {
                error = "channel \"" + _order[index] + "\": cannot link \"" + id + "\" at position " +
                        std::to_string(position);
                return false;
            }
        }
    }
    return true;
}
