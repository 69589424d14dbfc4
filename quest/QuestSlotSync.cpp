#include "storyloom/quest/QuestSlotSync.h"

#include "storyloom/channel/ReportFacility.h"
#include "storyloom/quest/QuestSlotKinds.h"

namespace {
template <class Kind>
typename Kind::Child* ChildOrReport(A3d_Channel* channel, unsigned int childIndex, const std::string& slotName) {
    typename Kind::Child* child = Kind::ChildFor(channel ? channel->GetChild(childIndex) : nullptr);
    if (!child)
        ReportToDebugSink(
            FormatText(kWrongChildMessage, slotName.c_str(), static_cast<int>(childIndex), Kind::Expected).c_str());
    return child;
}
}  // namespace

template <class CoreSlot, class Variable>
void QuestSlotSync<CoreSlot, Variable>::SyncToQuest(A3d_Channel* channel, unsigned int childIndex) {
    using Kind = QuestSlotKind<Variable>;
    if (auto* child = ChildOrReport<Kind>(channel, childIndex, this->GetName())) Kind::Write(*child, this->GetValue());
}

template <class CoreSlot, class Variable>
void QuestSlotSync<CoreSlot, Variable>::SyncFromQuest(A3d_Channel* channel, unsigned int childIndex) {
    using Kind = QuestSlotKind<Variable>;
    if constexpr (Kind::Pulls) {
        // Only output slots are pulled; anything else is a caller's mistake, said once.
        if (!this->GetIsSelectOnly()) ReportToDebugSink(FormatFailedCondition(Kind::PullFunction, "GetIsSelectOnly()"));
        auto* child = ChildOrReport<Kind>(channel, childIndex, this->GetName());
        if (!child) return;
        Variable* bound = this->GetBoundVariable();
        if (!bound) return;
        bound->SetValue(Kind::Read(*child, *this));
    } else {
        (void)channel;
        (void)childIndex;
    }
}

template class QuestSlotSync<Core::TVariableSlot<Core::TVariable<float>>, Core::TVariable<float>>;
template class QuestSlotSync<Core::TVariableSlot<Core::TVariable<VelmMathLib::Vec3>>, Core::TVariable<VelmMathLib::Vec3>>;
template class QuestSlotSync<Core::TVariableSlot<Core::StringVar>, Core::StringVar>;
template class QuestSlotSync<Core::TVariableSlot<Core::ObjectiveVar>, Core::ObjectiveVar>;
template class QuestSlotSync<Core::EntityVarSlot, Core::EntityVar>;
template class QuestSlotSync<Core::EnumVarSlot, Core::EnumVar>;
