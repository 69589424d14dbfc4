#pragma once
#include <optional>
#include <string>

#include "storyloom/channel/Export.h"
#include "storyloom/coreframework/MagicPointer.h"

class Aco_Storyloom;
namespace Core {
class VariableSlotSet;
}

// What every node of a channel-defined kind shares: a weak reference to the construct
// channel that defines the kind, so the node can outlive it, and the kind's name at the
// time the node was made, which names it in every message.
class STORYLOOM_API QuestProduct {
public:
    QuestProduct(Aco_Storyloom* channel, std::string name);

    // Null once the construct channel is gone.
    Aco_Storyloom* GetQuestChannel() const { return _channel.Get(); }
    const std::string& GetQuestName() const { return _name; }

protected:
    // Sends `format` with this node's name for its "%s" to the debug message sink.
    void ReportWithName(const char* format) const;
    // The channel, or null after `goneText` was reported.
    Aco_Storyloom* ChannelOrReport(const char* goneText) const;
    // Every slot's value into its child; `function` names the caller in reports about slots
    // that are not quest slots.
    void PushSlots(Aco_Storyloom& channel, const Core::VariableSlotSet& slots, const char* function) const;
    // Every output slot's child value back into its bound variable.
    void PullSlots(Aco_Storyloom& channel, const Core::VariableSlotSet& slots, const char* function) const;
    // The result child, next to last: whether its value is not 0 (NaN counts as not 0);
    // nothing when no value channel is linked there.
    static std::optional<bool> ReadResultChild(Aco_Storyloom& channel);
    // The channel's "DisplayText" with "$n$" replaced by slot n's value text.
    std::string BuildDisplayText(const Core::VariableSlotSet& slots) const;

private:
    MagicPointer<Aco_Storyloom> _channel;
    std::string _name;
};
