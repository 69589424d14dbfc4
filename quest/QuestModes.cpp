#include <memory>
#include <vector>

#include "quest/QuestVarFactory.h"
#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

namespace QuestModes {

namespace {
// Links of "EventSystem_FireEvent"; "EventType" follows the parameters and their empty place.
constexpr unsigned int kScenarioLink = 0;
constexpr unsigned int kInstigatorLink = 1;
constexpr unsigned int kParametersLink = 2;
constexpr unsigned int kEventTypeLink = 3;

constexpr const char* kEventTypes[] = {"Mission - Started", "Mission - Loaded", "Area - Entity Entered",
                                       "Area - Entity Left"};
constexpr unsigned int kEventTypeCount = sizeof(kEventTypes) / sizeof(kEventTypes[0]);
}  // namespace

float Construct(Aco_Storyloom& self) {
    self.TryCreateFactory();
    self.InitializeFactory();
    return ModeResult::Done;
}

float FireEvent(Aco_Storyloom& self) {
    float status = ModeResult::Done;
    Core::Scenario* scenario = ModeSupport::ScenarioAt(self, kScenarioLink, status);
    if (!scenario) return status;
    auto* instigator = ModeSupport::ObjectAt<Core::EntityBase>(self, kInstigatorLink, status);
    if (!instigator) return status;

    // The variables outlive the parameter list that refers to them.
    std::vector<std::unique_ptr<Core::VariableBase>> variables;
    Core::EventParams params(instigator);
    unsigned int parameterCount = self.GetChildLinkPositionCount(kParametersLink);
    for (unsigned int i = 0; i < parameterCount; ++i) {
        std::unique_ptr<QuestVarFactory> kind(self.CreateVarFactoryFromLink(kParametersLink + i));
        if (!kind) continue;
        variables.emplace_back(kind->CreateVariable(*scenario));
        params.AddParameter(variables.back().get());
    }

    float typeValue = 0.0f;
    if (!self.CE_GetValue(typeValue, parameterCount + kEventTypeLink)) return ModeSupport::LinkError(self, kEventTypeLink);
    unsigned int type = ModeSupport::ValueToId(typeValue);
    if (type >= kEventTypeCount) return ModeSupport::LinkInvalid(self, kEventTypeLink);
    CoreFramework::Singleton<Core::EventFactoryManager>::Instance().FireEvent(kEventTypes[type], params);
    return ModeResult::Done;
}

}  // namespace QuestModes
