#include "storyloom/quest/QuestSlotKinds.h"

#include "storyloom/scenario_channel/ModeSupport.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

void QuestSlotKind<Core::TVariable<float>>::Write(Aco_FloatChannel& child, const float& value) { child.SetFloat(value); }

void QuestSlotKind<Core::TVariable<VelmMathLib::Vec3>>::Write(Aco_VectorChannel& child, const VelmMathLib::Vec3& value) {
    child.SetVector(value.x, value.y, value.z);
}

void QuestSlotKind<Core::StringVar>::Write(Aco_StringChannel& child, const std::string& value) {
    child.SetString(value.c_str());
}

void QuestSlotKind<Core::EntityVar>::Write(Aco_CoreRef& child, Core::ScenarioSupport* value) {
    ModeSupport::PointReferenceAt(child, value);
}

void QuestSlotKind<Core::EnumVar>::Write(Aco_FloatChannel& child, const Core::EnumValue& value) {
    child.SetFloat(static_cast<float>(value.index));
}
// Truncated toward zero like an id, so no value is out of range.
unsigned int QuestSlotKind<Core::EnumVar>::IndexOf(float value) { return ModeSupport::ValueToId(value); }

Aco_Storyloom* QuestSlotKind<Core::ObjectiveVar>::ChildFor(A3d_Channel* channel) {
    auto* child = dynamic_cast<Aco_Storyloom*>(channel);
    return child && child->GetCurrentMode() == MODE_VariableSlot_Objective ? child : nullptr;
}
// Each text only where its link holds a text channel.
void QuestSlotKind<Core::ObjectiveVar>::Write(Aco_Storyloom& child, const Core::Objective& value) {
    constexpr unsigned int kShort = 0, kLong = 1;
    child.CE_SetString(value.shortText, kShort);
    child.CE_SetString(value.longText, kLong);
}

const char* QuestChannelName(const A3d_Channel* channel) {
    const char* name = channel ? channel->GetChannelName() : nullptr;
    return name ? name : "[no-name]";
}
