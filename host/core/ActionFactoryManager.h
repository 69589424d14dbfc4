#pragma once
#include "storyloom/host/core/Action.h"
#include "storyloom/host/core/TFactoryManager.h"

namespace Core {

class ActionFactoryManager : public TFactoryManager<ActionFactoryManager, Action, VariableSlotSetOwner> {
public:
    static constexpr const char* Name = "ActionFactoryManager";
};

}  // namespace Core

template <>
Core::ActionFactoryManager& CoreFramework::Singleton<Core::ActionFactoryManager>::Instance();
