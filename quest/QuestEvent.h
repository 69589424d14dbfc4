#pragma once
#include "storyloom/host/core/Event.h"
#include "storyloom/host/core/EventParams.h"
#include "storyloom/quest/TQuestProduct.h"

// An event of a channel-defined kind: when an event of its type is fired, the channel sees
// the slots, the instigator and the parameters, and its activation child decides.
class STORYLOOM_API QuestEvent : public TQuestProduct<Core::Event> {
public:
    using TQuestProduct::TQuestProduct;

    bool CheckActivate(Core::EventParams& params) override;
};
