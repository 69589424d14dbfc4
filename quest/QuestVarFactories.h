#pragma once
#include <string>

#include "storyloom/host/core/EntityVar.h"
#include "storyloom/host/core/ObjectiveVar.h"
#include "storyloom/host/core/StringVar.h"
#include "storyloom/host/core/TVariable.h"
#include "storyloom/quest/QuestVarFactory.h"

// The plain value kinds: float, vector, text and objective. Their slots take the child's
// "!" (select-only) and "@" (insert-only) name prefixes.
template <class Variable>
class STORYLOOM_API TQuestVarFactory : public QuestVarFactory {
public:
    using QuestVarFactory::QuestVarFactory;

    size_t GetSlotSize() const override;
    std::unique_ptr<Core::VariableSlotBase> CreateSlot(Core::Scenario& scenario) const override;
    std::unique_ptr<Core::VariableBase> CreateVariable(Core::Scenario& scenario) const override;
    void SendParameter(Core::VariableBase* parameter, A3d_Channel* channel, unsigned int childIndex) const override;
};

extern template class STORYLOOM_API TQuestVarFactory<Core::TVariable<float>>;
extern template class STORYLOOM_API TQuestVarFactory<Core::TVariable<VelmMathLib::Vec3>>;
extern template class STORYLOOM_API TQuestVarFactory<Core::StringVar>;
extern template class STORYLOOM_API TQuestVarFactory<Core::ObjectiveVar>;

// Entity slots, from reference children: their slot and variable belong to a scenario, and
// name prefixes are dropped but not applied.
template <>
size_t TQuestVarFactory<Core::EntityVar>::GetSlotSize() const;
template <>
std::unique_ptr<Core::VariableSlotBase> TQuestVarFactory<Core::EntityVar>::CreateSlot(Core::Scenario& scenario) const;
template <>
std::unique_ptr<Core::VariableBase> TQuestVarFactory<Core::EntityVar>::CreateVariable(Core::Scenario& scenario) const;
extern template class TQuestVarFactory<Core::EntityVar>;

class STORYLOOM_API QuestEntityVarFactory : public TQuestVarFactory<Core::EntityVar> {
public:
    using TQuestVarFactory::TQuestVarFactory;
};

// Enumeration and string-list slots of one registered type; name prefixes are dropped but
// not applied.
class STORYLOOM_API QuestEnumVarFactory : public QuestVarFactory {
public:
    QuestEnumVarFactory(std::string slotName, bool selectOnly, bool insertOnly, std::string enumType);

    size_t GetSlotSize() const override;
    std::unique_ptr<Core::VariableSlotBase> CreateSlot(Core::Scenario& scenario) const override;
    std::unique_ptr<Core::VariableBase> CreateVariable(Core::Scenario& scenario) const override;
    void SendParameter(Core::VariableBase* parameter, A3d_Channel* channel, unsigned int childIndex) const override;

    const std::string& GetEnumType() const { return _enumType; }

private:
    std::string _enumType;
};
