#pragma once
// The classes through which construct channels define scenario node kinds.
#include "quest/QuestAction.h"
#include "quest/QuestCondition.h"
#include "quest/QuestEvent.h"
#include "quest/QuestProduct.h"
#include "quest/QuestProductFactory.h"
#include "quest/QuestVarFactories.h"
#include "quest/QuestVarFactory.h"
#include "quest/QuestVariableSlot.h"
#include "quest/QuestVariableSlots.h"
#include "quest/TQuestProductFactory.h"
#include "quest/TQuestProduct.h"
