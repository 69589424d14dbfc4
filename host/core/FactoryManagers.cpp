#include "storyloom/host/core/ActionFactoryManager.h"
#include "storyloom/host/core/ConditionFactoryManager.h"
#include "storyloom/host/core/EventFactoryManager.h"

CORE_SINGLETON_INSTANCE(Core::ActionFactoryManager)
CORE_SINGLETON_INSTANCE(Core::ConditionFactoryManager)
CORE_SINGLETON_INSTANCE(Core::EventFactoryManager)
