#include "storyloom/quest/QuestVarFactories.h"

#include <utility>

#include "storyloom/quest/QuestSlotKinds.h"
#include "storyloom/quest/QuestVariableSlots.h"

template <class Variable>
size_t TQuestVarFactory<Variable>::GetSlotSize() const {
    return sizeof(TQuestVariableSlot<Variable>);
}

// Setting either flag clears the other, so insert-only wins when both were asked for.
template <class Variable>
std::unique_ptr<Core::VariableSlotBase> TQuestVarFactory<Variable>::CreateSlot(Core::Scenario&) const {
    auto slot = std::make_unique<TQuestVariableSlot<Variable>>();
    slot->SetName(GetSlotName());
    if (GetIsSelectOnly()) slot->SetIsSelectOnly(true);
    if (GetIsInsertOnly()) slot->SetIsInsertOnly(true);
    return slot;
}

template <class Variable>
std::unique_ptr<Core::VariableBase> TQuestVarFactory<Variable>::CreateVariable(Core::Scenario&) const {
    return std::make_unique<Variable>(GetSlotName());
}

template <class Variable>
void TQuestVarFactory<Variable>::SendParameter(Core::VariableBase* parameter, A3d_Channel* channel,
                                               unsigned int childIndex) const {
    SendParameterAs<Variable>(parameter, channel, childIndex);
}

template class TQuestVarFactory<Core::TVariable<float>>;
template class TQuestVarFactory<Core::TVariable<VelmMathLib::Vec3>>;
template class TQuestVarFactory<Core::StringVar>;
template class TQuestVarFactory<Core::ObjectiveVar>;

template <>
size_t TQuestVarFactory<Core::EntityVar>::GetSlotSize() const {
    return sizeof(QuestEntityVariableSlot);
}

template <>
std::unique_ptr<Core::VariableSlotBase> TQuestVarFactory<Core::EntityVar>::CreateSlot(Core::Scenario& scenario) const {
    return std::make_unique<QuestEntityVariableSlot>(scenario, GetSlotName());
}

template <>
std::unique_ptr<Core::VariableBase> TQuestVarFactory<Core::EntityVar>::CreateVariable(Core::Scenario& scenario) const {
    return std::make_unique<Core::EntityVar>(GetSlotName(), scenario);
}

template class TQuestVarFactory<Core::EntityVar>;

QuestEnumVarFactory::QuestEnumVarFactory(std::string slotName, bool selectOnly, bool insertOnly, std::string enumType)
    : QuestVarFactory(std::move(slotName), selectOnly, insertOnly), _enumType(std::move(enumType)) {}

size_t QuestEnumVarFactory::GetSlotSize() const { return sizeof(QuestEnumVariableSlot); }

std::unique_ptr<Core::VariableSlotBase> QuestEnumVarFactory::CreateSlot(Core::Scenario&) const {
    return std::make_unique<QuestEnumVariableSlot>(GetSlotName(), _enumType);
}

std::unique_ptr<Core::VariableBase> QuestEnumVarFactory::CreateVariable(Core::Scenario&) const {
    return std::make_unique<Core::EnumVar>(GetSlotName());
}

void QuestEnumVarFactory::SendParameter(Core::VariableBase* parameter, A3d_Channel* channel,
                                        unsigned int childIndex) const {
    SendParameterAs<Core::EnumVar>(parameter, channel, childIndex);
}
