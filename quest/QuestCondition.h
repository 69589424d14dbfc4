#pragma once
#include "storyloom/host/core/Condition.h"
#include "storyloom/quest/TQuestProduct.h"

// A condition of a channel-defined kind: true when the channel's "Evaluate Condition" child,
// evaluated with the slots mirrored into the "VariableSlots" children, is not 0.
class STORYLOOM_API QuestCondition : public TQuestProduct<Core::Condition> {
public:
    using TQuestProduct::TQuestProduct;

protected:
    bool EvaluateImpl() override;
};
