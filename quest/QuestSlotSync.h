#pragma once
#include "storyloom/channel/Export.h"
#include "storyloom/host/core/EntityVar.h"
#include "storyloom/host/core/EnumVar.h"
#include "storyloom/host/core/ObjectiveVar.h"
#include "storyloom/host/core/StringVar.h"
#include "storyloom/host/core/TVariable.h"
#include "storyloom/host/core/TVariableSlot.h"
#include "storyloom/quest/QuestVariableSlot.h"

// A core slot of one value kind that mirrors itself into the child at its position:
// its value goes into the child before a node runs, and for output slots the child's value
// comes back into the bound variable afterwards.
template <class CoreSlot, class Variable>
class STORYLOOM_API QuestSlotSync : public QuestVariableSlot, public CoreSlot {
public:
    using CoreSlot::CoreSlot;

    void SyncToQuest(A3d_Channel* channel, unsigned int childIndex) override;
    void SyncFromQuest(A3d_Channel* channel, unsigned int childIndex) override;
};

extern template class STORYLOOM_API QuestSlotSync<Core::TVariableSlot<Core::TVariable<float>>, Core::TVariable<float>>;
extern template class STORYLOOM_API QuestSlotSync<Core::TVariableSlot<Core::TVariable<VelmMathLib::Vec3>>,
                                    Core::TVariable<VelmMathLib::Vec3>>;
extern template class STORYLOOM_API QuestSlotSync<Core::TVariableSlot<Core::StringVar>, Core::StringVar>;
extern template class STORYLOOM_API QuestSlotSync<Core::TVariableSlot<Core::ObjectiveVar>, Core::ObjectiveVar>;
extern template class STORYLOOM_API QuestSlotSync<Core::EntityVarSlot, Core::EntityVar>;
extern template class STORYLOOM_API QuestSlotSync<Core::EnumVarSlot, Core::EnumVar>;
