#pragma once
#include "storyloom/host/core/Action.h"
#include "storyloom/quest/TQuestProduct.h"

// An action of a channel-defined kind: runs the channel's "Execute Action" child with the
// slots mirrored into the "VariableSlots" children, then pulls output slots back.
class STORYLOOM_API QuestAction : public TQuestProduct<Core::Action> {
public:
    using TQuestProduct::TQuestProduct;

protected:
    void ExecuteImpl() override;
};
