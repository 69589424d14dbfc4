#include "GraphCheck.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>

#include "storyloom/host/ScenarioCore.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "storyloom/scenario_channel/ModeIds.h"
#include "ChannelGraph.h"
#include "ChannelKind.h"
#include "JsonText.h"
#include "StepKind.h"

using nlohmann::json;

namespace {
const std::vector<std::string> kAnyKind;
// What "EventSystem_FireEvent" fires, by the value of its "EventType" link; an event channel
// named otherwise defines an event nothing fires.
const std::vector<std::string> kFiredEventTypes = {"Mission - Started", "Mission - Loaded", "Area - Entity Entered",
                                                   "Area - Entity Left"};
const std::vector<std::string> kEntityKinds = {"StaticMesh", "VirtualEntity", "Area"};
constexpr double kMaxNumber = std::numeric_limits<float>::max();
// Just inside (0, pi): a camera sees less than half the world.
constexpr double kMinFov = 1e-3, kMaxFov = 3.14;

std::string Join(const std::vector<std::string>& words, const char* separator) {
    std::string out;
    for (const std::string& word : words) out += (out.empty() ? "" : separator) + word;
    return out;
}

std::string Quoted(const std::vector<std::string>& words) {
    std::vector<std::string> quoted;
    for (const std::string& word : words) quoted.push_back("\"" + word + "\"");
    return Join(quoted, ", ");
}

bool Contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

std::vector<std::string> NamesOf(const std::vector<const StepKind*>& kinds) {
    std::vector<std::string> names;
    for (const StepKind* kind : kinds) names.push_back(kind->name);
    return names;
}

using JsonText::At;
using JsonText::Key;
using JsonText::Number;
using JsonText::TypeName;
}  // namespace

GraphCheck::GraphCheck(const ModeList& modes, const A3dPluginLoader& plugin) : _modes(modes) {
    for (const ChannelKind& kind : ChannelKinds::All())
        if (std::unique_ptr<A3d_Channel> blank = kind.make(plugin)) _blanks.emplace_back(kind.name, std::move(blank));
}

const GraphCheck::Kind* GraphCheck::FindKind(const std::string& name) const {
    for (const Kind& kind : _blanks)
        if (kind.first == name) return &kind;
    return nullptr;
}

A3d_Channel* GraphCheck::Blank(const std::string& kind) const {
    const Kind* found = FindKind(kind);
    return found ? found->second.get() : nullptr;
}

bool GraphCheck::IsCamera(const std::string& name) const { return _cameraNames.count(name) != 0; }

void GraphCheck::Add(const std::string& path, const std::string& message) { _problems.push_back({path, message}); }

bool GraphCheck::Expect(const json& value, json::value_t type, const std::string& path) {
    if (value.type() == type) return true;
    const char* wanted = type == json::value_t::string ? "a string" : type == json::value_t::array ? "an array" : "an object";
    Add(path, std::string("must be ") + wanted + ", not " + TypeName(value));
    return false;
}

bool GraphCheck::ExpectNumber(const json& value, const std::string& path) {
    if (!value.is_number()) {
        Add(path, std::string("must be a number, not ") + TypeName(value));
        return false;
    }
    // Channels hold floats; a number past their range would not survive the conversion.
    if (std::fabs(value.get<double>()) > std::numeric_limits<float>::max()) {
        Add(path, "is beyond the range of a channel's value");
        return false;
    }
    return true;
}

void GraphCheck::ExpectKeys(const json& object, const std::vector<std::string>& allowed, const std::string& path) {
    for (const auto& item : object.items())
        if (!Contains(allowed, item.key()))
            Add(Key(path, item.key()), "unknown key; known here: " + Quoted(allowed));
}

bool GraphCheck::ExpectVector(const json& value, const std::string& path) {
    if (!Expect(value, json::value_t::array, path)) return false;
    if (value.size() != 3) {
        Add(path, "must hold three numbers, not " + std::to_string(value.size()));
        return false;
    }
    bool ok = true;
    for (size_t i = 0; i < 3; ++i) ok = ExpectNumber(value[i], At(path, i)) && ok;
    return ok;
}

bool GraphCheck::ExpectId(const json& value, const std::string& path, const std::vector<std::string>& kinds) {
    if (!Expect(value, json::value_t::string, path)) return false;
    const std::string id = value.get<std::string>();
    const Declared* found = FindDeclared(id);
    if (!found) {
        Add(path, "no channel \"" + id + "\"");
        return false;
    }
    const std::string kind = found->kind ? found->kind->first : "";
    if (!kinds.empty() && !Contains(kinds, kind)) {
        Add(path, "needs a " + Join(kinds, " or ") + " channel; \"" + id + "\" is a " + kind + " channel");
        return false;
    }
    return true;
}

std::vector<GraphProblem> GraphCheck::Check(const json& description) {
    _problems.clear();
    _declared.clear();
    _declaredIds = PlaceIndex();
    _entityNames.clear();
    _entityKinds.clear();
    _cameraNames.clear();
    if (!Expect(description, json::value_t::object, "$")) return _problems;
    ExpectKeys(description, {"$schema", "description", "entities", "cameras", "channels", "steps"}, "$");
    if (description.contains("description")) Expect(description["description"], json::value_t::string, "$.description");
    if (description.contains("$schema")) Expect(description["$schema"], json::value_t::string, "$.$schema");

    const json empty = json::array();
    const json& entities = description.contains("entities") ? description["entities"] : empty;
    if (Expect(entities, json::value_t::array, "$.entities"))
        for (size_t i = 0; i < entities.size(); ++i) CheckEntity(entities[i], At("$.entities", i));
    const json& cameras = description.contains("cameras") ? description["cameras"] : empty;
    if (Expect(cameras, json::value_t::array, "$.cameras"))
        for (size_t i = 0; i < cameras.size(); ++i) CheckCamera(cameras[i], At("$.cameras", i));

    const json& channels = description.contains("channels") ? description["channels"] : empty;
    bool channelsUsable = Expect(channels, json::value_t::array, "$.channels");
    if (channelsUsable) {
        // Ids first, so links and steps may name channels declared after them.
        _declared.reserve(channels.size());
        _declaredIds.Reserve(channels.size());
        for (size_t i = 0; i < channels.size(); ++i) {
            const json& entry = channels[i];
            const std::string path = At("$.channels", i);
            if (!Expect(entry, json::value_t::object, path)) continue;
            if (!entry.contains("id") || !entry["id"].is_string() || entry["id"].get<std::string>().empty()) {
                Add(Key(path, "id"), "every channel needs a non-empty text id");
                continue;
            }
            const std::string id = entry["id"].get<std::string>();
            const Kind* kind = entry.contains("kind") && entry["kind"].is_string()
                                   ? FindKind(entry["kind"].get<std::string>())
                                   : nullptr;
            if (FindDeclared(id)) {
                Add(Key(path, "id"), "id \"" + id + "\" is used twice");
                continue;
            }
            _declaredIds.Add(std::hash<std::string>{}(id), _declared.size());
            _declared.push_back({id, kind, i});
        }
        for (size_t i = 0; i < channels.size(); ++i)
            if (channels[i].is_object()) CheckChannel(channels[i], At("$.channels", i));
        CheckStaticMeshReferences(channels);
        if (!_allowCycles) CheckCycles(channels);
    }

    const json& steps = description.contains("steps") ? description["steps"] : empty;
    if (Expect(steps, json::value_t::array, "$.steps"))
        for (size_t i = 0; i < steps.size(); ++i) CheckStep(steps[i], At("$.steps", i));
    return _problems;
}

bool GraphCheck::ExpectInRange(const json& value, double low, double high, const std::string& path) {
    if (!ExpectNumber(value, path)) return false;
    if (value.get<double>() >= low && value.get<double>() <= high) return true;
    Add(path, "must be from " + Number(low) + " to " + Number(high));
    return false;
}

void GraphCheck::AddReferable(const json& entry, const char* what, std::unordered_set<std::string>& names,
                              const std::string& path) {
    if (!entry.contains("name")) {
        Add(path, std::string(what) + " needs a \"name\"");
        return;
    }
    if (!Expect(entry["name"], json::value_t::string, Key(path, "name"))) return;
    const std::string name = entry["name"].get<std::string>();
    if (_entityNames.count(name) || _cameraNames.count(name))
        Add(Key(path, "name"), "name \"" + name + "\" is used twice among entities and cameras");
    names.insert(name);
}

void GraphCheck::CheckEntity(const json& entry, const std::string& path) {
    static const std::map<std::string, std::vector<std::string>> ownKeys = {
        {"StaticMesh", {"position", "radius"}}, {"VirtualEntity", {"position", "radius", "color"}}, {"Area", {"components"}}};
    if (!Expect(entry, json::value_t::object, path)) return;
    AddReferable(entry, "an entity", _entityNames, path);
    std::string kind = "StaticMesh";
    if (entry.contains("kind") && Expect(entry["kind"], json::value_t::string, Key(path, "kind"))) {
        kind = entry["kind"].get<std::string>();
        if (!Contains(kEntityKinds, kind)) {
            Add(Key(path, "kind"), "unknown entity kind \"" + kind + "\"; known: " + Quoted(kEntityKinds));
            return;
        }
    }
    if (entry.contains("name") && entry["name"].is_string()) _entityKinds[entry["name"].get<std::string>()] = kind;
    std::vector<std::string> allowed = {"name", "kind"};
    allowed.insert(allowed.end(), ownKeys.at(kind).begin(), ownKeys.at(kind).end());
    ExpectKeys(entry, allowed, path);
    if (entry.contains("position")) ExpectVector(entry["position"], Key(path, "position"));
    if (entry.contains("radius")) ExpectInRange(entry["radius"], 0.0, kMaxNumber, Key(path, "radius"));
    if (entry.contains("color") && Expect(entry["color"], json::value_t::array, Key(path, "color"))) {
        if (entry["color"].size() != 4) Add(Key(path, "color"), "must hold four numbers (red, green, blue, alpha)");
        else
            for (size_t i = 0; i < 4; ++i) ExpectInRange(entry["color"][i], 0.0, 1.0, At(Key(path, "color"), i));
    }
    if (entry.contains("components") && Expect(entry["components"], json::value_t::array, Key(path, "components")))
        for (size_t i = 0; i < entry["components"].size(); ++i)
            CheckComponent(entry["components"][i], At(Key(path, "components"), i));
}

void GraphCheck::CheckComponent(const json& entry, const std::string& path) {
    if (!Expect(entry, json::value_t::object, path)) return;
    const std::string shape = entry.contains("shape") && entry["shape"].is_string() ? entry["shape"].get<std::string>() : "";
    if (shape != "sphere" && shape != "box") {
        Add(Key(path, "shape"), "a component needs a \"shape\": \"sphere\" or \"box\"");
        return;
    }
    const bool sphere = shape == "sphere";
    ExpectKeys(entry, sphere ? std::vector<std::string>{"shape", "center", "radius"}
                             : std::vector<std::string>{"shape", "min", "max"}, path);
    for (const char* key : {"center", "min", "max"})
        if (entry.contains(key)) ExpectVector(entry[key], Key(path, key));
    if (entry.contains("radius")) ExpectInRange(entry["radius"], 0.0, kMaxNumber, Key(path, "radius"));
    if (!sphere && (!entry.contains("min") || !entry.contains("max"))) Add(path, "a box needs \"min\" and \"max\"");
}

void GraphCheck::CheckCamera(const json& entry, const std::string& path) {
    if (!Expect(entry, json::value_t::object, path)) return;
    AddReferable(entry, "a camera", _cameraNames, path);
    ExpectKeys(entry, {"name", "eye", "target", "fovY", "width", "height"}, path);
    for (const char* key : {"eye", "target"}) {
        if (!entry.contains(key)) Add(path, std::string("a camera needs \"") + key + "\"");
        else ExpectVector(entry[key], Key(path, key));
    }
    if (entry.contains("eye") && entry.contains("target") && entry["eye"] == entry["target"])
        Add(Key(path, "target"), "a camera cannot look at its own eye");
    if (entry.contains("fovY")) ExpectInRange(entry["fovY"], kMinFov, kMaxFov, Key(path, "fovY"));
    for (const char* key : {"width", "height"}) {
        if (!entry.contains(key)) continue;
        if (!entry[key].is_number_integer()) Add(Key(path, key), "must be a whole number of pixels");
        else ExpectInRange(entry[key], 1, ChannelGraph::kMaxViewportSide, Key(path, key));
    }
}

void GraphCheck::CheckChannel(const json& entry, const std::string& path) {
    if (!entry.contains("kind")) {
        Add(path, "a channel needs a \"kind\"");
        return;
    }
    if (!Expect(entry["kind"], json::value_t::string, Key(path, "kind"))) return;
    const std::string kindName = entry["kind"].get<std::string>();
    const ChannelKind* kind = ChannelKinds::Find(kindName);
    if (!kind) {
        std::vector<std::string> kinds;
        for (const ChannelKind& known : ChannelKinds::All()) kinds.push_back(known.name);
        std::sort(kinds.begin(), kinds.end());
        Add(Key(path, "kind"), "unknown channel kind \"" + kindName + "\"; known: " + Quoted(kinds));
        return;
    }
    std::vector<std::string> allowed = {"id", "kind", "name", "group"};
    for (const ChannelKey& key : kind->keys) allowed.push_back(key.name);
    ExpectKeys(entry, allowed, path);
    for (const char* key : {"name", "group"})
        if (entry.contains(key)) Expect(entry[key], json::value_t::string, Key(path, key));
    bool takesMode = false;
    for (const ChannelKey& key : kind->keys) {
        takesMode = takesMode || key.type == ChannelKey::Mode;
        if (!entry.contains(key.name)) continue;
        const json& value = entry[key.name];
        const std::string keyPath = Key(path, key.name);
        switch (key.type) {
        case ChannelKey::Number: ExpectNumber(value, keyPath); break;
        case ChannelKey::Text:
        case ChannelKey::Mode: Expect(value, json::value_t::string, keyPath); break;
        case ChannelKey::Vector: ExpectVector(value, keyPath); break;
        case ChannelKey::Referable:
            if (Expect(value, json::value_t::string, keyPath) && !_entityNames.count(value.get<std::string>()) &&
                !IsCamera(value.get<std::string>()))
                Add(keyPath, "no entity or camera named \"" + value.get<std::string>() + "\"");
            break;
        case ChannelKey::Links: break;  // with the mode, below
        }
    }
    if (!takesMode) return;
    if (!entry.contains("mode")) {
        Add(path, "a " + kindName + " channel needs a \"mode\"");
        return;
    }
    if (!entry["mode"].is_string()) return;
    const std::string modeName = entry["mode"].get<std::string>();
    const ModeInfo* mode = _modes.Find(modeName);
    if (!mode) {
        Add(Key(path, "mode"), "unknown mode \"" + modeName + "\"; nearest: " + Quoted(_modes.Nearest(modeName, 3)));
        return;
    }
    if (entry.contains("links")) CheckLinks(entry["links"], *mode, Key(path, "links"));
    CheckModeChannelRuns(entry, *mode, path);
    if (!IsConstructMode(mode->id)) return;
    const bool event = mode->id == MODE_OnConstruct_Event;
    const std::string needsName = event ? "an event channel needs a \"name\": one of " + Quoted(kFiredEventTypes)
                                        : "a construct channel needs a \"name\": its node type is registered under it";
    if (!entry.contains("name")) {
        Add(path, needsName);
    } else if (entry["name"] == "") {
        Add(Key(path, "name"), needsName);
    } else if (event && entry["name"].is_string() && !Contains(kFiredEventTypes, entry["name"].get<std::string>())) {
        Add(Key(path, "name"), "no event the graph fires is called \"" + entry["name"].get<std::string>() +
                                   "\", so it never fires; fired: " + Quoted(kFiredEventTypes));
    }
}

void GraphCheck::CheckLinks(const json& links, const ModeInfo& mode, const std::string& path) {
    if (links.is_object()) {
        // By name: each name must be one of the mode's, and only once among them.
        for (const auto& item : links.items()) {
            std::vector<const LinkInfo*> named;
            for (const LinkInfo& link : mode.links)
                if (link.name == item.key()) named.push_back(&link);
            if (named.size() == 1) {
                CheckLinkEntry(item.value(), *named[0], Key(path, item.key()));
                continue;
            }
            std::vector<std::string> names;
            for (const LinkInfo& link : mode.links) names.push_back(link.name);
            Add(Key(path, item.key()),
                named.empty() ? "mode \"" + mode.shortName + "\" has no link \"" + item.key() + "\"; its links: " + Quoted(names)
                              : "mode \"" + mode.shortName + "\" has two links \"" + item.key() + "\"; give its links as a list");
        }
        return;
    }
    if (links.type() != json::value_t::array) {
        Add(path, std::string("must be a list of links by position or an object of links by name, not ") +
                      TypeName(links));
        return;
    }
    if (links.size() > mode.links.size())
        Add(At(path, mode.links.size()), "mode \"" + mode.shortName + "\" has " + std::to_string(mode.links.size()) +
                                             " links, this is link " + std::to_string(mode.links.size() + 1));
    for (size_t position = 0; position < links.size() && position < mode.links.size(); ++position)
        CheckLinkEntry(links[position], mode.links[position], At(path, position));
}

void GraphCheck::CheckLinkEntry(const json& at, const LinkInfo& link, const std::string& path) {
    if (at.is_null()) return;
    if (at.is_array()) {
        if (!link.repeatable) {
            Add(path, "link \"" + link.name + "\" takes one channel, not a list");
            return;
        }
        for (size_t i = 0; i < at.size(); ++i) CheckLink(at[i], link, At(path, i));
    } else if (at.is_string()) {
        CheckLink(at, link, path);
    } else {
        Add(path, std::string("must be a channel id, a list of ids or null, not ") + TypeName(at));
    }
}

void GraphCheck::CheckLink(const json& id, const LinkInfo& link, const std::string& path) {
    if (!ExpectId(id, path, kAnyKind)) return;
    const std::string child = id.get<std::string>();
    const Kind* kind = FindDeclared(child)->kind;
    if (!kind || LinkAccepts(link, kind->second->GetChannelType())) return;
    Add(path, "link \"" + link.name + "\" expects a " + link.kind + " channel; \"" + child + "\" is a " + kind->first +
                  " channel");
}

const GraphCheck::Declared* GraphCheck::FindDeclared(const std::string& id) const {
    const size_t place =
        _declaredIds.Find(std::hash<std::string>{}(id), [&](size_t at) { return _declared[at].id == id; });
    return place == PlaceIndex::kNone ? nullptr : &_declared[place];
}

size_t GraphCheck::ModeChannelEntry(const json& id) const {
    const Declared* found = id.is_string() ? FindDeclared(id.get_ref<const std::string&>()) : nullptr;
    if (!found || !found->kind || !dynamic_cast<Aco_Storyloom*>(found->kind->second.get())) return std::string::npos;
    return found->entry;
}

void GraphCheck::CheckCycles(const json& channels) {
    // Mode channels read their mode-channel children on evaluation; in a ring the channel
    // reached again refuses to run, which is never what the designer meant. A mode channel is
    // the first entry of its id; walks start from each in the order of the ids.
    auto idOf = [&](size_t i) -> const std::string& { return channels[i]["id"].get_ref<const std::string&>(); };
    std::vector<size_t> starts;
    for (const Declared& declared : _declared)
        if (declared.kind && dynamic_cast<Aco_Storyloom*>(declared.kind->second.get())) starts.push_back(declared.entry);
    std::vector<std::vector<size_t>> children(channels.size());
    for (size_t i : starts) {
        auto take = [&](const json& child) {
            if (const size_t entry = ModeChannelEntry(child); entry != std::string::npos) children[i].push_back(entry);
        };
        const json& entry = channels[i];
        if (!entry.contains("links") || !entry["links"].is_structured()) continue;
        for (const json& at : entry["links"]) {
            if (!at.is_array()) take(at);
            else
                for (const json& child : at) take(child);
        }
    }
    // A channel that links no mode channel ends every walk reaching it: no walk need start there.
    starts.erase(std::remove_if(starts.begin(), starts.end(), [&](size_t i) { return children[i].empty(); }),
                 starts.end());
    std::sort(starts.begin(), starts.end(), [&](size_t a, size_t b) { return idOf(a) < idOf(b); });
    enum Colour { White, Grey, Black };
    std::vector<Colour> colour(channels.size(), White);
    for (size_t start : starts) {
        if (colour[start] != White) continue;
        // Iterative walk: the stack holds the path from `start`, each with its next child.
        std::vector<std::pair<size_t, size_t>> stack = {{start, 0}};
        colour[start] = Grey;
        while (!stack.empty()) {
            auto& [at, next] = stack.back();
            const std::vector<size_t>& out = children[at];
            if (next == out.size()) {
                colour[at] = Black;
                stack.pop_back();
                continue;
            }
            const size_t child = out[next++];
            if (colour[child] == Grey) {
                std::string cycle;
                bool inCycle = false;
                for (const auto& frame : stack) {
                    inCycle = inCycle || frame.first == child;
                    if (inCycle) cycle += "\"" + idOf(frame.first) + "\" -> ";
                }
                Add(Key(At("$.channels", child), "links"),
                    "link cycle " + cycle + "\"" + idOf(child) +
                        "\": evaluating it reaches a channel again, which answers 105");
            } else if (colour[child] == White) {
                colour[child] = Grey;
                stack.emplace_back(child, 0);
            }
        }
    }
}

void GraphCheck::CheckExpect(const json& expect, const std::string& path) {
    if (!Expect(expect, json::value_t::object, path)) return;
    ExpectKeys(expect, {"status", "channel", "value", "tolerance", "text", "ref", "scenario", "variable", "errorLog"},
               path);
    for (const char* key : {"status", "value", "tolerance"})
        if (expect.contains(key)) ExpectNumber(expect[key], Key(path, key));
    if (expect.contains("tolerance") && expect["tolerance"].is_number() && expect["tolerance"].get<double>() < 0)
        Add(Key(path, "tolerance"), "must not be negative: no difference is within it, so the expectation always fails");
    if (expect.contains("text")) Expect(expect["text"], json::value_t::string, Key(path, "text"));
    if (expect.contains("variable")) Expect(expect["variable"], json::value_t::string, Key(path, "variable"));
    if (expect.contains("ref") && !expect["ref"].is_null()) Expect(expect["ref"], json::value_t::string, Key(path, "ref"));
    if (expect.contains("channel")) ExpectId(expect["channel"], Key(path, "channel"), kAnyKind);
    if (expect.contains("scenario")) ExpectId(expect["scenario"], Key(path, "scenario"), KindsOf<Aco_CoreRef>());
    if (expect.contains("variable") != expect.contains("scenario"))
        Add(path, "\"variable\" and \"scenario\" go together");
    bool aboutChannel = expect.contains("value") || expect.contains("ref") ||
                        (expect.contains("text") && !expect.contains("variable"));
    if (aboutChannel && !expect.contains("channel")) Add(path, "\"value\", \"text\" and \"ref\" need a \"channel\"");
    if (expect.contains("errorLog") && Expect(expect["errorLog"], json::value_t::array, Key(path, "errorLog")))
        for (size_t i = 0; i < expect["errorLog"].size(); ++i)
            Expect(expect["errorLog"][i], json::value_t::string, At(Key(path, "errorLog"), i));
}

void GraphCheck::CheckStep(const json& step, const std::string& path) {
    if (!Expect(step, json::value_t::object, path)) return;
    const std::vector<const StepKind*> named = StepKinds::Named(step);
    if (named.size() > 1) {
        Add(path, "one step does one thing; this one has " + Quoted(NamesOf(named)));
        return;
    }
    std::vector<std::string> allowed = {"comment", "expect"};
    if (!named.empty()) {
        allowed.push_back(named[0]->name);
        allowed.insert(allowed.end(), named[0]->keys.begin(), named[0]->keys.end());
    } else if (!step.contains("comment") && !step.contains("expect")) {
        std::vector<std::string> names;
        for (const StepKind& kind : StepKinds::All()) names.push_back(kind.name);
        Add(path, "a step needs one of " + Quoted(names) + ", \"comment\" or \"expect\"");
    }
    ExpectKeys(step, allowed, path);
    if (step.contains("comment")) Expect(step["comment"], json::value_t::string, Key(path, "comment"));
    if (step.contains("expect")) {
        CheckExpect(step["expect"], Key(path, "expect"));
        if (step["expect"].is_object() && step["expect"].contains("status") && !step.contains("evaluate"))
            Add(Key(Key(path, "expect"), "status"), "only an \"evaluate\" step has a status");
    }
    if (!named.empty()) named[0]->check(*this, step, path);
}
