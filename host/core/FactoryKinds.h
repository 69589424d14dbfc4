#pragma once
#include "storyloom/host/core/TAbstractFactory.h"

namespace Core {

class Action;
class ActionFactoryManager;
class Condition;
class ConditionFactoryManager;
class Event;
class EventFactoryManager;
class EventNode;
class VariableSlotSetOwner;

// The factory classes plug-ins derive for the three kinds of scenario node.
using ActionFactory = TAbstractFactory<ActionFactoryManager, Action, VariableSlotSetOwner, NoTArg>;
using ConditionFactory = TAbstractFactory<ConditionFactoryManager, Condition, VariableSlotSetOwner, NoTArg>;
using EventFactory = TAbstractFactory<EventFactoryManager, Event, EventNode, NoTArg>;

}  // namespace Core
