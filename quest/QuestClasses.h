#pragma once
// The classes through which construct channels define scenario node kinds.
#include "storyloom/quest/QuestAction.h"
#include "storyloom/quest/QuestCondition.h"
#include "storyloom/quest/QuestEvent.h"
#include "storyloom/quest/QuestProduct.h"
#include "storyloom/quest/QuestProductFactory.h"
#include "storyloom/quest/QuestVarFactories.h"
#include "storyloom/quest/QuestVarFactory.h"
#include "storyloom/quest/QuestVariableSlot.h"
#include "storyloom/quest/QuestVariableSlots.h"
#include "storyloom/quest/TQuestProductFactory.h"
#include "storyloom/quest/TQuestProduct.h"
