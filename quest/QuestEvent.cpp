#include "storyloom/quest/QuestEvent.h"

#include <memory>

#include "storyloom/channel/KindCast.h"
#include "storyloom/host/core/EntityBase.h"
#include "storyloom/quest/ConstructLinks.h"
#include "storyloom/quest/QuestVarFactory.h"
#include "storyloom/scenario_channel/ModeSupport.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

// Children: n slot children, an empty place, "Instigator", then m parameter children and
// an empty place, the activation child, "DisplayText".
bool QuestEvent::CheckActivate(Core::EventParams& params) {
    Aco_Storyloom* channel = ChannelOrReport("Error: QuestEvent: Trying to execute a event that is no longer there (%s)");
    if (!channel) return false;
    PushSlots(*channel, *this, "QuestEvent::CheckActivate");

    using namespace ConstructLinks;
    unsigned int slotCount = channel->GetChildLinkPositionCount(kVariableSlots);
    auto* instigator = KindCast<Aco_CoreRef>(channel->GetChild(ChildIndexAfterSlots(slotCount, kInstigator)));
    if (!instigator) {
        ReportWithName("Error: QuestEvent: Event has no Instigator child linked! (%s)");
        channel->SetFloat(ModeResult::LinkError);
        return false;
    }
    instigator->SetRef(params.GetInstigator());

    unsigned int firstParameter = ChildIndexAfterSlots(slotCount, kEventParameters);
    const std::vector<Core::VariableBase*>& parameters = params.GetParameters();
    unsigned int parameterCount = channel->GetChildLinkPositionCount(firstParameter);
    if (parameterCount != parameters.size()) {
        ReportWithName("Error: QuestEvent: An event was fired with an incorrect amount of parameters! (%s)");
        channel->SetFloat(ModeResult::LinkError);
        return false;
    }
    for (unsigned int u = 0; u < parameterCount; ++u) {
        std::unique_ptr<QuestVarFactory> kind(channel->CreateVarFactoryFromLink(firstParameter + u));
        if (kind) kind->SendParameter(parameters[u], channel, firstParameter + u);
    }

    if (std::optional<bool> result = ReadResultChild(*channel)) return *result;
    ReportWithName("Error: QuestEvent: Trying to call unlinked child (%s)");
    return false;
}
