#include "quest/QuestProductFactory.h"
#include "scenario_channel/Aco_Storyloom.h"

// Construct channels register no factory until quest factories are built.
bool Aco_Storyloom::TryCreateFactory() { return false; }

void Aco_Storyloom::DeleteFactory() {
    _questFactory.reset();
    _questFactoryType = 3;
    _isFactoryInitialized = false;
}
