#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "ModeList.h"
#include "PlaceIndex.h"

// One thing wrong with a graph description, at its JSON path ("$.channels[2].links[0]").
struct GraphProblem {
    std::string path;
    std::string message;
    bool onlyAtRun = false;  // well formed, but the run would fail there (--allow-errors runs it)
    std::string Line() const { return path + ": " + message; }
};

// Validates a graph description without building it: shape and types of every key, ids,
// entities, cameras, modes, links (position, kind, repetition), link cycles between mode
// channels and steps, and what would only fail when the graph runs (a needed link left empty).
// A description without problems builds and runs without a malformed-input failure.
class GraphCheck {
public:
    GraphCheck(const ModeList& modes, const A3dPluginLoader& plugin);

    std::vector<GraphProblem> Check(const nlohmann::json& description);
    // Link cycles between mode channels are let through: the library refuses the evaluation
    // that comes round again with a report, so such a graph runs (the fuzz target runs them).
    void AllowCycles() { _allowCycles = true; }
    // The slots its lookups of channel ids have looked at (see PlaceIndex).
    size_t Probes() const { return _declaredIds.Probes(); }

    // What the step records check with.
    using json = nlohmann::json;
    void Add(const std::string& path, const std::string& message);
    // A problem of a well-formed graph: the run would fail there.
    void AddRunFailure(const std::string& path, const std::string& message) {
        _problems.push_back({path, message, true});
    }
    // `type` is a string, an array or an object; numbers have ExpectNumber.
    bool Expect(const json& value, json::value_t type, const std::string& path);
    bool ExpectNumber(const json& value, const std::string& path);
    void ExpectKeys(const json& object, const std::vector<std::string>& allowed, const std::string& path);
    // A channel id whose kind is one of `kinds`; any kind when `kinds` is empty.
    bool ExpectId(const json& value, const std::string& path, const std::vector<std::string>& kinds);
    bool IsCamera(const std::string& name) const;
    // The kinds that make `Channel`s, for each class in turn, in the order of the records: what
    // a step accepts follows from the class it runs on.
    template <class... Channel>
    std::vector<std::string> KindsOf() const {
        std::vector<std::string> kinds;
        (AddKindsOf<Channel>(kinds), ...);
        return kinds;
    }
    // Whether the channels of `kind` are `Channel`s.
    template <class Channel>
    bool KindIs(const std::string& kind) const {
        return dynamic_cast<Channel*>(Blank(kind)) != nullptr;
    }
    // Whether the channel `id` is of a kind that makes `Channel`s.
    template <class Channel>
    bool Is(const std::string& id) const {
        const Declared* declared = FindDeclared(id);
        return declared && declared->kind && dynamic_cast<Channel*>(declared->kind->second.get());
    }

private:
    // A kind the plug-in can make, with a channel of it.
    using Kind = std::pair<std::string, std::unique_ptr<A3d_Channel>>;
    // The kind named `name`; null for a kind the plug-in cannot make or no kind.
    const Kind* FindKind(const std::string& name) const;
    // The first channel of each usable id: its kind (null for an unknown one) and its place.
    struct Declared {
        std::string id;
        const Kind* kind;
        size_t entry;
    };
    // The first channel of `id`; null when there is none.
    const Declared* FindDeclared(const std::string& id) const;
    template <class Channel>
    void AddKindsOf(std::vector<std::string>& kinds) const {
        for (const auto& [name, blank] : _blanks)
            if (dynamic_cast<Channel*>(blank.get())) kinds.push_back(name);
    }
    // The channel made for `kind`; null for a kind the plug-in cannot make or no kind.
    A3d_Channel* Blank(const std::string& kind) const;
    bool ExpectVector(const json& value, const std::string& path);

    void CheckEntity(const json& entry, const std::string& path);
    void CheckComponent(const json& entry, const std::string& path);
    void CheckCamera(const json& entry, const std::string& path);
    // Entities and cameras share one name space: a reference names either.
    void AddReferable(const json& entry, const char* what, std::unordered_set<std::string>& names,
                      const std::string& path);
    bool ExpectInRange(const json& value, double low, double high, const std::string& path);
    void CheckChannel(const json& entry, const std::string& path);
    void CheckLinks(const json& entry, const ModeInfo& mode, const std::string& path);
    void CheckLinkEntry(const json& at, const LinkInfo& link, const std::string& path);
    void CheckLink(const json& id, const LinkInfo& link, const std::string& path);
    void CheckCycles(const json& channels);
    // The place of the first channel `id` names when that is a mode channel; npos otherwise.
    size_t ModeChannelEntry(const json& id) const;
    // What passes every check of shape and kind yet can only fail when the graph runs.
    void CheckModeChannelRuns(const json& entry, const ModeInfo& mode, const std::string& path);
    void CheckStaticMeshReferences(const json& channels);
    void CheckStep(const json& step, const std::string& path);
    void CheckExpect(const json& expect, const std::string& path);

    const ModeList& _modes;
    // A channel of each kind the plug-in can make, in the order of the records.
    std::vector<Kind> _blanks;
    std::vector<Declared> _declared;  // in the order of the channels
    PlaceIndex _declaredIds;
    std::unordered_set<std::string> _entityNames;
    std::unordered_map<std::string, std::string> _entityKinds;  // name -> kind, for entities of a known kind
    std::unordered_set<std::string> _cameraNames;
    std::vector<GraphProblem> _problems;
    bool _allowCycles = false;
};
