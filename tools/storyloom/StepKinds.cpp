#include "StepKind.h"

namespace StepKinds {

const std::vector<StepKind>& All() {
    static const std::vector<StepKind> all = [] {
        std::vector<StepKind> kinds;
        for (const auto* family : {&ChannelStepKinds(), &ScenarioStepKinds(), &RenderStepKinds()})
            kinds.insert(kinds.end(), family->begin(), family->end());
        return kinds;
    }();
    return all;
}

std::vector<const StepKind*> Named(const nlohmann::json& step) {
    std::vector<const StepKind*> named;
    for (const StepKind& kind : All())
        if (step.is_object() && step.contains(kind.name)) named.push_back(&kind);
    return named;
}

const StepKind* Of(const nlohmann::json& step) {
    if (!step.is_object()) return nullptr;
    for (const StepKind& kind : All())
        if (step.contains(kind.name)) return &kind;
    return nullptr;
}

}  // namespace StepKinds
