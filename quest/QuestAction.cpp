#include "storyloom/quest/QuestAction.h"

#include "storyloom/quest/ConstructLinks.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

namespace {
constexpr const char* kFunction = "QuestAction::ExecuteImpl";
}

void QuestAction::ExecuteImpl() {
    Aco_Storyloom* channel = ChannelOrReport("Error: QuestAction: Trying to execute an action that is no longer there (%s)");
    if (!channel) return;
    PushSlots(*channel, *this, kFunction);
    if (!channel->CE_CallChild(channel->GetChildCount() - ConstructLinks::kFromEndRun))
        ReportWithName("Error: QuestAction: Trying to call unlinked child (%s)");
    // What the called child ran may have destroyed the channel.
    channel = GetQuestChannel();
    if (channel) PullSlots(*channel, *this, kFunction);
}
