#include <memory>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/quest/ConstructLinks.h"
#include "storyloom/quest/TQuestProductFactory.h"
#include "storyloom/scenario_channel/ModeSupport.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

namespace {

// Construct modes 0, 1 and 2 make factories of the kinds 0 (action), 1 (condition) and 2 (event).
std::unique_ptr<QuestProductFactory> MakeFactory(unsigned int mode, Aco_Storyloom& channel, const std::string& name) {
    switch (mode) {
        case MODE_OnConstruct_Action: return std::make_unique<QuestActionFactory>(channel, name);
        case MODE_OnConstruct_Condition: return std::make_unique<QuestConditionFactory>(channel, name);
        default: return std::make_unique<QuestEventFactory>(channel, name);
    }
}

const char* UnnamedFactoryText(unsigned int mode) {
    switch (mode) {
        case MODE_OnConstruct_Action: return "Error: Trying to add unnamed QuestActionFactory factory!";
        case MODE_OnConstruct_Condition: return "Error: Trying to add unnamed QuestConditionFactory factory!";
        default: return "Error: Trying to add unnamed QuestEventFactory factory!";
    }
}

}  // namespace

float Aco_Storyloom::TryCreateFactory() {
    DeleteFactory();
    unsigned int mode = GetCurrentMode();
    if (!IsConstructMode(mode)) return ModeResult::Done;
    const char* name = GetChannelName();
    if (!name) {
        ERRLOG(UnnamedFactoryText(mode));
        return ModeResult::UnnamedFactory;
    }
    _questFactory = MakeFactory(mode, *this, name);
    _questFactoryType = static_cast<int>(mode);  // the construct modes are numbered as the factory kinds
    return ModeResult::Done;
}

void Aco_Storyloom::DeleteFactory() {
    // Unregisters the kind; its products are told and keep working through the channel.
    _questFactory.reset();
    _questFactoryType = kNoQuestFactory;
    _isFactoryInitialized = false;
}

float Aco_Storyloom::InitializeFactory() {
    if (!_questFactory) return ModeResult::Done;
    unsigned int slotChildren = GetChildLinkPositionCount(ConstructLinks::kVariableSlots);
    for (unsigned int i = 0; i < slotChildren; ++i) {
        std::unique_ptr<QuestVarFactory> factory(CreateVarFactoryFromLink(i));
        if (factory) {
            _questFactory->AddVarFactory(std::move(factory));
            continue;
        }
        // The other children still give slots: products then have fewer slots than children.
        ERRLOG(FormatText("QuestFactory: Type not supported at %d for %s", static_cast<int>(i),
                          _questFactory->GetRegisteredName().c_str()));
        SetFloat(ModeResult::UnsupportedSlot);
    }
    _isFactoryInitialized = true;
    return ModeResult::Done;
}
