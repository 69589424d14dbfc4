#pragma once
#include <string>

#include "storyloom/host/core/Action.h"
#include "storyloom/host/core/ActionFactoryManager.h"
#include "storyloom/host/core/Condition.h"
#include "storyloom/host/core/ConditionFactoryManager.h"
#include "storyloom/host/core/Event.h"
#include "storyloom/host/core/EventFactoryManager.h"
#include "storyloom/host/core/EventNode.h"
#include "storyloom/host/core/FactoryKinds.h"
#include "storyloom/host/core/VariableSlotSetOwner.h"
#include "storyloom/quest/QuestAction.h"
#include "storyloom/quest/QuestCondition.h"
#include "storyloom/quest/QuestEvent.h"
#include "storyloom/quest/QuestProductFactory.h"

// The factory of one channel-defined kind: registered with the kind's manager under the
// construct channel's name for as long as it lives, it makes and clones that kind's nodes.
template <class AbstractFactory, class Product, class QuestType, class Owner>
class STORYLOOM_API TQuestProductFactory : public QuestProductFactory, public AbstractFactory {
public:
    TQuestProductFactory(Aco_Storyloom& channel, const std::string& name);

    const std::string& GetRegisteredName() const override { return AbstractFactory::GetName(); }
    Product* CreateProduct(Owner& owner) override;
    Product* CloneProduct(const Product& source) override;
};

using QuestActionFactory = TQuestProductFactory<Core::ActionFactory, Core::Action, QuestAction, Core::VariableSlotSetOwner>;
using QuestConditionFactory =
    TQuestProductFactory<Core::ConditionFactory, Core::Condition, QuestCondition, Core::VariableSlotSetOwner>;
using QuestEventFactory = TQuestProductFactory<Core::EventFactory, Core::Event, QuestEvent, Core::EventNode>;

extern template class STORYLOOM_API TQuestProductFactory<Core::ActionFactory, Core::Action, QuestAction, Core::VariableSlotSetOwner>;
extern template class STORYLOOM_API TQuestProductFactory<Core::ConditionFactory, Core::Condition, QuestCondition,
                                           Core::VariableSlotSetOwner>;
extern template class STORYLOOM_API TQuestProductFactory<Core::EventFactory, Core::Event, QuestEvent, Core::EventNode>;
