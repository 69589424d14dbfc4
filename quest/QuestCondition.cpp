#include "storyloom/quest/QuestCondition.h"

#include "storyloom/scenario_channel/StoryloomChannel.h"

bool QuestCondition::EvaluateImpl() {
    Aco_Storyloom* channel =
        ChannelOrReport("Error: QuestCondition: Trying to execute a condition that is no longer there (%s)");
    if (!channel) return false;
    PushSlots(*channel, *this, "QuestCondition::EvaluateImpl");
    if (std::optional<bool> result = ReadResultChild(*channel)) return *result;
    ReportWithName("Error: QuestCondition: Trying to call unlinked child (%s)");
    return false;
}
