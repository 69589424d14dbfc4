#include "storyloom/quest/QuestProduct.h"

#include <utility>

#include "storyloom/channel/KindCast.h"
#include "storyloom/channel/ReportFacility.h"
#include "storyloom/quest/ConstructLinks.h"
#include "storyloom/quest/QuestVariableSlot.h"
#include "storyloom/quest/SlotPlaceholders.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

QuestProduct::QuestProduct(Aco_Storyloom* channel, std::string name) : _channel(channel), _name(std::move(name)) {}

void QuestProduct::ReportWithName(const char* format) const { ReportToDebugSink(FormatText(format, _name.c_str()).c_str()); }

Aco_Storyloom* QuestProduct::ChannelOrReport(const char* goneText) const {
    Aco_Storyloom* channel = _channel.Get();
    if (!channel) ReportWithName(goneText);
    return channel;
}

namespace {
// Slot i mirrors child i; a slot of another kind is reported and skipped.
QuestVariableSlot* AsQuestSlot(Core::VariableSlotBase* slot, const char* function) {
    auto* questSlot = CrossCast<QuestVariableSlot>(slot);
    if (!questSlot) ReportToDebugSink(FormatFailedCondition(function, "CurrVariableSlot"));
    return questSlot;
}
}  // namespace

void QuestProduct::PushSlots(Aco_Storyloom& channel, const Core::VariableSlotSet& slots, const char* function) const {
    const std::vector<Core::VariableSlotBase*>& list = slots.GetVariableSlots();
    for (unsigned int i = 0; i < list.size(); ++i)
        if (QuestVariableSlot* slot = AsQuestSlot(list[i], function)) slot->SyncToQuest(&channel, i);
}

void QuestProduct::PullSlots(Aco_Storyloom& channel, const Core::VariableSlotSet& slots, const char* function) const {
    const std::vector<Core::VariableSlotBase*>& list = slots.GetVariableSlots();
    for (unsigned int i = 0; i < list.size(); ++i) {
        if (!list[i]->GetIsSelectOnly()) continue;
        if (QuestVariableSlot* slot = AsQuestSlot(list[i], function)) slot->SyncFromQuest(&channel, i);
    }
}

std::optional<bool> QuestProduct::ReadResultChild(Aco_Storyloom& channel) {
    float value = 0.0f;
    if (!channel.CE_GetValue(value, channel.GetChildCount() - ConstructLinks::kFromEndRun)) return std::nullopt;
    return value != 0.0f;
}

std::string QuestProduct::BuildDisplayText(const Core::VariableSlotSet& slots) const {
    Aco_Storyloom* channel = _channel.Get();
    if (!channel) return FormatText("Channel %s was deleted!", _name.c_str());
    unsigned int last = channel->GetChildCount() - ConstructLinks::kFromEndDisplayText;
    char* text = nullptr;
    if (!channel->CE_GetStringPointer(&text, last) || !text)
        return "Error: Mandatory child at " + std::to_string(last) + " was not linked!";
    return ExpandSlotPlaceholders(text, slots.GetVariableSlots());
}
