#include "storyloom/quest/QuestProductFactory.h"

#include <memory>
#include <typeinfo>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/quest/QuestSlotKinds.h"
#include "storyloom/quest/QuestVariableSlot.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

QuestProductFactory::QuestProductFactory(Aco_Storyloom& channel) : _channel(&channel) {}

QuestProductFactory::~QuestProductFactory() = default;

// Slots are made for a scenario: a node whose owner outlived its scenario gets none, as a
// node gets none for a child no slot is made from.
void QuestProductFactory::AddSlots(Core::VariableSlotSet& product, Core::Scenario* scenario) const {
    if (!scenario) return;
    for (const std::unique_ptr<QuestVarFactory>& factory : _varFactories)
        product.AddVariableSlot(factory->CreateSlot(*scenario).release());
}

namespace {
bool SameKind(const Core::VariableSlotBase& a, const Core::VariableSlotBase& b) { return typeid(a) == typeid(b); }
}  // namespace

bool QuestProductFactory::CopySlots(const Core::VariableSlotSet& source, Core::VariableSlotSet& clone,
                                    Core::Scenario* scenario) const {
    const std::vector<Core::VariableSlotBase*>& sourceSlots = source.GetVariableSlots();
    if (sourceSlots.size() != _varFactories.size()) {
        ERRLOG(FormatText("VariableSlot count mismatch in %s while attempting to clone!", ChannelName()));
        return false;
    }
    for (size_t i = 0; i < sourceSlots.size(); ++i) {
        // Without a scenario no slot can be made to match the source's.
        std::unique_ptr<Core::VariableSlotBase> slot = scenario ? _varFactories[i]->CreateSlot(*scenario) : nullptr;
        const Core::VariableSlotBase& sourceSlot = *sourceSlots[i];
        if (!slot || !SameKind(*slot, sourceSlot)) {
            ERRLOG(FormatText("VariableSlot type/size mismatch in %s while attempting to clone!", ChannelName()));
            return false;
        }
        slot->CopyStateFrom(sourceSlot);
        clone.AddVariableSlot(slot.release());
    }
    return true;
}

const char* QuestProductFactory::ChannelName() const { return QuestChannelName(_channel.Get()); }
