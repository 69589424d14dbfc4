#include "host/core/ActionFactoryManager.h"
#include "host/core/ConditionFactoryManager.h"
#include "host/core/EventFactoryManager.h"

CORE_SINGLETON_INSTANCE(Core::ActionFactoryManager)
CORE_SINGLETON_INSTANCE(Core::ConditionFactoryManager)
CORE_SINGLETON_INSTANCE(Core::EventFactoryManager)
