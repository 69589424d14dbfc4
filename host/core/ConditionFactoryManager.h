#pragma once
#include "storyloom/host/core/Condition.h"
#include "storyloom/host/core/TFactoryManager.h"

namespace Core {

class ConditionFactoryManager : public TFactoryManager<ConditionFactoryManager, Condition, VariableSlotSetOwner> {
public:
    static constexpr const char* Name = "ConditionFactoryManager";
};

}  // namespace Core

template <>
Core::ConditionFactoryManager& CoreFramework::Singleton<Core::ConditionFactoryManager>::Instance();
