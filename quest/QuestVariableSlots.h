#pragma once
#include "storyloom/quest/QuestSlotSync.h"

// The slots of the plain value kinds: float, vector, text and objective.
template <class Variable>
class STORYLOOM_API TQuestVariableSlot : public QuestSlotSync<Core::TVariableSlot<Variable>, Variable> {
public:
    using QuestSlotSync<Core::TVariableSlot<Variable>, Variable>::QuestSlotSync;
};

// An entity slot: its child is a reference channel.
class STORYLOOM_API QuestEntityVariableSlot : public QuestSlotSync<Core::EntityVarSlot, Core::EntityVar> {
public:
    using QuestSlotSync::QuestSlotSync;
};

// An enumeration or string-list slot: its child's float value is the index.
class STORYLOOM_API QuestEnumVariableSlot : public QuestSlotSync<Core::EnumVarSlot, Core::EnumVar> {
public:
    using QuestSlotSync::QuestSlotSync;
};
