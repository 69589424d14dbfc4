#pragma once
#include <string>

#include "host/core/Action.h"
#include "host/core/ActionFactoryManager.h"
#include "host/core/Condition.h"
#include "host/core/ConditionFactoryManager.h"
#include "host/core/Event.h"
#include "host/core/EventFactoryManager.h"
#include "host/core/EventNode.h"
#include "host/core/FactoryKinds.h"
#include "host/core/VariableSlotSetOwner.h"
#include "quest/QuestAction.h"
#include "quest/QuestCondition.h"
#include "quest/QuestEvent.h"
#include "quest/QuestProductFactory.h"

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
