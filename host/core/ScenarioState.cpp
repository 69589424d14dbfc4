// The scenario's state text: written and read with the framework serializer.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "storyloom/coreframework/serializer/Serializer.h"
#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/Scenario.h"
#include "storyloom/host/core/StateText.h"
#include "storyloom/host/core/TextFormat.h"
#include "storyloom/host/core/VariableKinds.h"

namespace Core {

namespace {

using State = CustomEnums::SerializerFlag::State;

const char* const StateTag = "ScenarioState";
const char* const FormatChunk = "StateFormat";
const char* const FormatVersion = "1";
const char* const PlayTimeChunk = "PlayTime";
const char* const PausedChunk = "Paused";
const char* const EntityRecord = "Entity";
const char* const VariableRecord = "Variable";
// Last of all, the number of records before it: a text cut short anywhere lacks it or disagrees.
const char* const EndRecord = "StateEnd";

bool IsWrapped(State state) {
    return state == CustomEnums::SerializerFlag::Export || state == CustomEnums::SerializerFlag::Import;
}

void AddAlwaysWritten(Serializer& node, const char* name, const std::string& value) {
    node.AddChunk<std::string>(name, value, std::string(), false)->SetFlags(DataChunk::AlwaysWrite);
}

// Reads the fixed chunks into itself and collects the records in text order; anything else
// makes the text one this scenario does not take.
class StateReader : public Serializer {
public:
    explicit StateReader(State state) {
        if (IsWrapped(state)) SetTag(StateTag);
        for (const char* name : {FormatChunk, PlayTimeChunk, PausedChunk}) AddChunk<std::string>(name, "", "", false);
    }

    int OnImportUnknownData(const std::string& tag, const std::string&) override {
        problem = "unexpected element " + tag;
        return 1;
    }
    int OnImportUnknownChunk(const std::string& name, const std::string& segment) override {
        size_t open = segment.find('>');
        size_t close = open == std::string::npos ? open : segment.find('<', open);
        std::string value = close == std::string::npos ? std::string() : segment.substr(open + 1, close - open - 1);
        if (!ended && name == EndRecord) {
            ended = true;
            ParseStateUnsigned(value, endCount);
        } else if (!ended && name == EntityRecord) {
            entities.push_back(value);
        } else if (!ended && name == VariableRecord) {
            variables.push_back(value);
        } else if (problem.empty()) {
            problem = "unexpected element " + name;
        }
        return 0;
    }

    // Whether the records ended as the end record says, and nothing unexpected was met.
    bool IsComplete() {
        if ((!ended || endCount != entities.size() + variables.size()) && problem.empty())
            problem = "the text is incomplete";
        return problem.empty();
    }

    // The value of a fixed chunk that the text held exactly once.
    bool TakeOnce(const char* name, std::string& value) {
        DataChunk* chunk = FindChunk(name, false);
        if (chunk->GetImportCount() != 1) {
            if (problem.empty()) problem = std::string(name) + (chunk->GetImportCount() ? " given twice" : " missing");
            return false;
        }
        value = chunk->ToString();
        return true;
    }

    std::vector<std::string> entities, variables;
    std::string problem;
    bool ended = false;
    unsigned endCount = NoCount;
    static constexpr unsigned NoCount = 0xFFFFFFFFu;
};

// The records, written as the one-chunk nodes the reader takes them for. Records repeat a
// name, which one node's chunks may not, so each would need a node of its own; instead three
// nodes are refilled for each record as it is written, and no record is kept.
class RecordWriter : public Serializer {
public:
    explicit RecordWriter(std::function<void(RecordWriter&)> records) : _records(std::move(records)) {
        for (const char* name : {EntityRecord, VariableRecord, EndRecord})
            _nodes.push_back({name, std::make_unique<Serializer>()});
        for (Node& node : _nodes) {
            node.chunk = node.serializer->AddChunk<std::string>(node.name, std::string(), std::string(), false);
            node.chunk->SetFlags(DataChunk::AlwaysWrite);
        }
    }

    int Export(State state, std::string& out, unsigned indent) override {
        _state = state;
        _out = &out;
        _indent = indent;
        _records(*this);
        _out = nullptr;
        return 0;
    }

    void Write(const char* name, const std::string& record) {
        for (Node& node : _nodes)
            if (node.name == name) {
                node.chunk->SetValue(record);
                node.serializer->Export(_state, *_out, _indent);
                return;
            }
    }

private:
    struct Node {
        const char* name;
        std::unique_ptr<Serializer> serializer;
        TDataChunkValue<std::string>* chunk = nullptr;
    };
    std::function<void(RecordWriter&)> _records;
    std::vector<Node> _nodes;
    State _state = CustomEnums::SerializerFlag::Export;
    std::string* _out = nullptr;
    unsigned _indent = 0;
};

}  // namespace

struct Scenario::ImportPlan {
    float playTime = 0.0f;
    bool paused = false;
    std::vector<std::pair<unsigned, ScenarioSupport*>> entities;  // ascending ids once planned
    std::vector<std::unique_ptr<VariableBase>> variables;
};

int Scenario::ExportState(State state, std::string& text, unsigned indent) const {
    Serializer root;
    if (IsWrapped(state)) root.SetTag(StateTag);
    AddAlwaysWritten(root, FormatChunk, FormatVersion);
    AddAlwaysWritten(root, PlayTimeChunk, FormatStateFloat(_playTime));
    AddAlwaysWritten(root, PausedChunk, _paused ? "true" : "false");
    RecordWriter records([this](RecordWriter& writer) {
        std::string record;
        VisitEntities([&](unsigned id, const ScenarioSupport* entity) {
            record = FormatStateUnsigned(id);
            record += ' ';
            AppendEncodedStateField(record, entity->GetName());
            writer.Write(EntityRecord, record);
            return true;
        });
        for (const VariableBase* variable : _variables)
            writer.Write(VariableRecord, JoinStateFields({variable->GetKindName(), EncodeStateField(variable->GetName()),
                                                          EncodeStateField(variable->ExportValue())}));
        writer.Write(EndRecord, FormatStateUnsigned(static_cast<unsigned>(_entityCount + _variables.size())));
    });
    root.AddChild(&records);
    root.Export(IsWrapped(state) ? CustomEnums::SerializerFlag::Export : CustomEnums::SerializerFlag::ExportNoInt, text,
                std::min(indent, MaxStateIndent));
    return 0;
}

int Scenario::ImportState(State state, std::string& text) {
    ImportPlan plan;
    if (!PlanImport(state, text, plan)) return 1;
    ApplyImport(plan);
    return 0;
}

bool Scenario::PlanImport(State state, const std::string& text, ImportPlan& plan) {
    StateReader reader(state);
    // The reader skips a bare text's first character, so the text never starts there.
    std::string data = "\n" + text;
    int result = reader.Import(state, data);
    auto reject = [&reader](const std::string& why) {
        ERRLOG("Scenario::ImportState: state text rejected: " + (reader.problem.empty() ? why : reader.problem));
        return false;
    };
    if (result != Serializer::ImportDone) return reject(FormatString("unreadable (%d)", result));
    std::string format, playTime, paused;
    if (!reader.TakeOnce(FormatChunk, format) || !reader.TakeOnce(PlayTimeChunk, playTime) ||
        !reader.TakeOnce(PausedChunk, paused) || !reader.IsComplete())
        return reject("");
    if (format != FormatVersion) return reject("unknown format " + format);
    if (!ParseStateFloat(playTime, plan.playTime) || !std::isfinite(plan.playTime) || plan.playTime < 0.0f)
        return reject("bad play time " + playTime);
    if (paused != "true" && paused != "false") return reject("bad pause flag " + paused);
    plan.paused = paused == "true";

    // Texts as written list ids ascending and each entity at the id it holds here, which
    // needs neither set below; they are filled only once a record breaks that pattern.
    std::unordered_set<unsigned> ids;
    std::unordered_set<const ScenarioSupport*> chosen;
    std::unordered_map<std::string, std::vector<ScenarioSupport*>> liveByName;  // filled by the first search
    bool ascending = true, searched = false;
    plan.entities.reserve(reader.entities.size());
    for (const std::string& record : reader.entities) {
        std::vector<std::string> fields = SplitStateFields(record);
        unsigned id = NoID;
        std::string name;
        if (fields.size() != 2 || !ParseStateUnsigned(fields[0], id) || id == NoID || !DecodeStateField(fields[1], name))
            return reject("bad entity record " + record);
        if (ascending && !plan.entities.empty() && id <= plan.entities.back().first) {
            ascending = false;
            for (const auto& entry : plan.entities) ids.insert(entry.first);
        }
        if (!ascending && !ids.insert(id).second) return reject("bad entity record " + record);
        // The entity already at that id first, then the oldest live one of that name not yet
        // taken. Entities taken at their own ids are all different, so only a search can
        // have taken the one at this id already.
        ScenarioSupport* entity = GetEntity(id);
        if (!entity || entity->GetName() != name || (searched && chosen.count(entity))) {
            if (!searched) {
                searched = true;
                for (const auto& entry : plan.entities) chosen.insert(entry.second);
                liveByName = ScenarioSupport::LiveByName();
            }
            // Oldest last; a support once taken stays taken, so it leaves its list for good.
            std::vector<ScenarioSupport*>& candidates = liveByName[name];
            while (!candidates.empty() && chosen.count(candidates.back())) candidates.pop_back();
            entity = candidates.empty() ? nullptr : candidates.back();
        }
        if (!entity) return reject("no live entity named " + name);
        if (searched) chosen.insert(entity);
        plan.entities.emplace_back(id, entity);
    }
    if (!ascending) std::sort(plan.entities.begin(), plan.entities.end());

    std::set<std::string> names;
    for (const std::string& record : reader.variables) {
        std::vector<std::string> fields = SplitStateFields(record);
        std::string name, value;
        if (fields.size() != 3 || !DecodeStateField(fields[1], name) || !DecodeStateField(fields[2], value) ||
            !names.insert(name).second)
            return reject("bad variable record " + record);
        std::unique_ptr<VariableBase> variable(
            CreateVariableOfKind(fields[0], name, *this));
        if (!variable || !variable->ImportValue(value)) return reject("bad variable record " + record);
        plan.variables.push_back(std::move(variable));
    }
    return true;
}

// Variables of the same name and kind keep their object, so slots bound to them stay bound.
void Scenario::ApplyImport(ImportPlan& plan) {
    _playTime = plan.playTime;
    _paused = plan.paused;
    LeaveAllEntities();
    for (const auto& entry : plan.entities) PlaceEntity(*entry.second, entry.first);
    RefreshUnusedIDsList();

    std::vector<VariableBase*> variables;
    std::unordered_set<const VariableBase*> kept;
    for (std::unique_ptr<VariableBase>& imported : plan.variables) {
        VariableBase* same = FindVariable(imported->GetName());
        if (same && std::string(same->GetKindName()) == imported->GetKindName() && same->CopyValueFrom(*imported)) {
            kept.insert(same);
            variables.push_back(same);
        } else {
            variables.push_back(imported.release());
        }
    }
    for (VariableBase* old : _variables)
        if (!kept.count(old)) delete old;
    _variables = std::move(variables);
    _variablesByName.clear();
    for (VariableBase* variable : _variables) _variablesByName.emplace(variable->GetName(), variable);
}

}  // namespace Core
