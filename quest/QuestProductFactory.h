#pragma once
#include <memory>
#include <string>
#include <vector>

#include "storyloom/channel/Export.h"
#include "storyloom/coreframework/MagicPointer.h"
#include "storyloom/quest/QuestVarFactory.h"

class Aco_Storyloom;
namespace Core {
class Scenario;
class VariableSlotSet;
}  // namespace Core

// The part every quest factory shares: the construct channel it serves, held weakly, and
// one variable factory per supported child at the channel's "VariableSlots", in link
// order, so slot i of every product corresponds to entry i.
class STORYLOOM_API QuestProductFactory {
public:
    explicit QuestProductFactory(Aco_Storyloom& channel);
    virtual ~QuestProductFactory();
    QuestProductFactory(const QuestProductFactory&) = delete;
    QuestProductFactory& operator=(const QuestProductFactory&) = delete;

    // Null once the channel is gone.
    Aco_Storyloom* GetChannel() const { return _channel.Get(); }
    // The type name the factory is registered under with its manager.
    virtual const std::string& GetRegisteredName() const = 0;

    void AddVarFactory(std::unique_ptr<QuestVarFactory> factory) { _varFactories.push_back(std::move(factory)); }
    const std::vector<std::unique_ptr<QuestVarFactory>>& GetVarFactories() const { return _varFactories; }

protected:
    // A new product's slots, one per variable factory, for the owner's scenario; none when
    // the owner has no scenario left.
    void AddSlots(Core::VariableSlotSet& product, Core::Scenario* scenario) const;
    // Slots like the source's, state included, for a clone; false (logged) when the source's
    // slots do not match the variable factories in count or kind, or it has no scenario left.
    bool CopySlots(const Core::VariableSlotSet& source, Core::VariableSlotSet& clone, Core::Scenario* scenario) const;
    // The channel's name for reports.
    const char* ChannelName() const;

private:
    MagicPointer<Aco_Storyloom> _channel;
    std::vector<std::unique_ptr<QuestVarFactory>> _varFactories;
};
