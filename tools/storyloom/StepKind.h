#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class GraphCheck;
class StepRunner;

// One kind of step, named by the key that says what the step does. Adding a kind is adding
// a record to a family file (and a new family to StepKinds::All).
struct StepKind {
    const char* name;
    std::vector<std::string> keys;  // the keys it takes besides its name, "comment" and "expect"
    const char* describe;           // what it does, as the schema and the format's docs say it
    // Adds the step's problems; a step runs only once the whole graph has none.
    void (*check)(GraphCheck& check, const nlohmann::json& step, const std::string& path);
    // False with the reason in `error`; an evaluation leaves its status in `status`.
    bool (*run)(StepRunner& runner, const nlohmann::json& step, float& status, std::string& error);
};

// The families, each in its own file.
const std::vector<StepKind>& ChannelStepKinds();
const std::vector<StepKind>& ScenarioStepKinds();
const std::vector<StepKind>& RenderStepKinds();

namespace StepKinds {
// Every kind, in the order messages list them.
const std::vector<StepKind>& All();
// The kinds whose name is a key of `step`.
std::vector<const StepKind*> Named(const nlohmann::json& step);
// The kind of a checked step; null for one with only "comment" and "expect".
const StepKind* Of(const nlohmann::json& step);
}  // namespace StepKinds
