// The checks of a graph that every shape and kind check lets through, yet that can only fail
// when the graph runs: the library does what such a graph says and answers a status, so the
// program is the one to say it before the run.
#include <unordered_map>

#include "storyloom/quest/ConstructLinks.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "storyloom/scenario_channel/ModeIds.h"
#include "GraphCheck.h"
#include "JsonText.h"

using nlohmann::json;
using JsonText::At;
using JsonText::Key;

namespace {
// Where a channel-defined condition or event reads the value that decides it.
struct DecidingLink {
    unsigned mode;
    unsigned position;
    const char* reader;
};
const DecidingLink kDecidingLinks[] = {
    {MODE_OnConstruct_Condition, ConstructLinks::kRun, "condition holds"},
    {MODE_OnConstruct_Event, ConstructLinks::kEventParameters + 1, "event activates"},
};

// "Entity_IsInArea" reads only static meshes there, and picking writes only virtual entities
// there: both modes call the link "Entity".
const char* const kEntityLink = "Entity";

// The entry of the channel's "links" for `link`, by position or by name; null when none.
const json* LinkEntry(const json& channel, const LinkInfo& link) {
    if (!channel.contains("links")) return nullptr;
    const json& links = channel["links"];
    if (links.is_object()) return links.contains(link.name) ? &links[link.name] : nullptr;
    return links.is_array() && link.position < links.size() ? &links[link.position] : nullptr;
}

std::string LinkPath(const json& channel, const LinkInfo& link, const std::string& channelPath) {
    const std::string links = Key(channelPath, "links");
    return channel.contains("links") && channel["links"].is_object() ? Key(links, link.name) : At(links, link.position);
}

// The ids linked there; anything else at a link is refused by the kind checks.
std::vector<std::string> LinkedIds(const json* at) {
    std::vector<std::string> ids;
    if (!at) return ids;
    const json list = at->is_array() ? *at : json::array({*at});
    for (const json& id : list)
        if (id.is_string()) ids.push_back(id.get<std::string>());
    return ids;
}

// The text at `key` of an object; empty when there is none.
std::string TextAt(const json& entry, const char* key) {
    return entry.is_object() && entry.contains(key) && entry[key].is_string() ? entry[key].get<std::string>() : "";
}

bool LeftEmpty(const json* at) { return !at || at->is_null() || (at->is_array() && at->empty()); }
}  // namespace

void GraphCheck::CheckModeChannelRuns(const json& entry, const ModeInfo& mode, const std::string& path) {
    // Links of another shape are refused already; saying each is empty too would only repeat it.
    if (entry.contains("links") && !entry["links"].is_structured()) return;
    for (const LinkInfo& link : mode.links) {
        const json* at = LinkEntry(entry, link);
        if (link.needed && LeftEmpty(at))
            AddRunFailure(LinkPath(entry, link, path), "link \"" + link.name + "\" is empty; mode \"" + mode.shortName +
                                                 "\" needs it and would answer 105");
        for (const DecidingLink& deciding : kDecidingLinks) {
            if (deciding.mode != mode.id || deciding.position != link.position) continue;
            for (const std::string& id : LinkedIds(at)) {
                if (Is<Aco_Storyloom>(id))
                    AddRunFailure(LinkPath(entry, link, path),
                                  "\"" + id + "\" is a Storyloom channel: whether the " + deciding.reader +
                            " would be read from its status (0 once its mode ran), not from a value it works out; "
                            "link the channel its mode writes");
            }
        }
    }
}

void GraphCheck::CheckStaticMeshReferences(const json& channels) {
    // Whether all a reference channel can come to hold is a virtual entity: what it names at
    // the start and what modes write into it. Steps never set a reference.
    std::unordered_map<std::string, bool> onlyVirtual;
    for (const json& entry : channels) {
        if (!KindIs<Aco_CoreRef>(TextAt(entry, "kind")) || TextAt(entry, "ref").empty()) continue;
        auto kind = _entityKinds.find(TextAt(entry, "ref"));
        onlyVirtual[TextAt(entry, "id")] = kind != _entityKinds.end() && kind->second == "VirtualEntity";
    }
    std::vector<std::pair<size_t, const ModeInfo*>> modeChannels;
    for (size_t i = 0; i < channels.size(); ++i) {
        const json& entry = channels[i];
        const ModeInfo* mode = KindIs<Aco_Storyloom>(TextAt(entry, "kind")) ? _modes.Find(TextAt(entry, "mode")) : nullptr;
        if (!mode) continue;
        modeChannels.emplace_back(i, mode);
        for (const LinkInfo& link : mode->links) {
            if (link.kind != "CoreRef" || link.hostValue == 1) continue;  // read, not written
            const bool picking = mode->id == MODE_VirtualEntity_MousePicking && link.name == kEntityLink;
            for (const std::string& id : LinkedIds(LinkEntry(entry, link))) {
                if (picking) onlyVirtual.emplace(id, true);
                else onlyVirtual[id] = false;
            }
        }
    }
    for (const auto& [index, mode] : modeChannels) {
        if (mode->id != MODE_Entity_IsInArea) continue;
        for (const LinkInfo& link : mode->links) {
            if (link.name != kEntityLink) continue;
            for (const std::string& id : LinkedIds(LinkEntry(channels[index], link))) {
                auto found = onlyVirtual.find(id);
                if (found != onlyVirtual.end() && found->second)
                    AddRunFailure(LinkPath(channels[index], link, At("$.channels", index)),
                        "\"" + id + "\" can only hold a virtual entity, and \"" + mode->shortName +
                            "\" takes static meshes only: it would answer 106");
            }
        }
    }
}
