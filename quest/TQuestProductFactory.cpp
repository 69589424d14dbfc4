#include "storyloom/quest/TQuestProductFactory.h"

#include <memory>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

template <class AbstractFactory, class Product, class QuestType, class Owner>
TQuestProductFactory<AbstractFactory, Product, QuestType, Owner>::TQuestProductFactory(Aco_Storyloom& channel,
                                                                                      const std::string& name)
    : QuestProductFactory(channel), AbstractFactory(name) {}

template <class AbstractFactory, class Product, class QuestType, class Owner>
Product* TQuestProductFactory<AbstractFactory, Product, QuestType, Owner>::CreateProduct(Owner& owner) {
    Aco_Storyloom* channel = GetChannel();
    auto product = std::make_unique<QuestType>(channel, ChannelName(), owner);
    // A factory registered on load learns its slots from the links present at first use.
    if (channel && !channel->IsFactoryInitialized()) channel->InitializeFactory();
    AddSlots(*product, owner.GetScenario());
    return product.release();
}

template <class AbstractFactory, class Product, class QuestType, class Owner>
Product* TQuestProductFactory<AbstractFactory, Product, QuestType, Owner>::CloneProduct(const Product& source) {
    auto* questSource = dynamic_cast<const QuestType*>(&source);
    if (!questSource) {
        ERRLOG(FormatText("VariableSlot type/size mismatch in %s while attempting to clone!", ChannelName()));
        return nullptr;
    }
    auto clone = std::make_unique<QuestType>(*questSource);
    if (!CopySlots(*questSource, *clone, questSource->GetScenario())) return nullptr;
    return clone.release();
}

template class TQuestProductFactory<Core::ActionFactory, Core::Action, QuestAction, Core::VariableSlotSetOwner>;
template class TQuestProductFactory<Core::ConditionFactory, Core::Condition, QuestCondition, Core::VariableSlotSetOwner>;
template class TQuestProductFactory<Core::EventFactory, Core::Event, QuestEvent, Core::EventNode>;
