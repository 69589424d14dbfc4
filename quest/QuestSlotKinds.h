#pragma once
// How each kind of slot value travels between the scenario side and a child channel, and
// what is said when it cannot. One specialisation per core variable class.
#include <string>
#include <typeinfo>

#include "storyloom/channel/KindCast.h"
#include "storyloom/channel/ReportFacility.h"
#include "storyloom/host/core/Aco_CoreRef.h"
#include "storyloom/host/core/EntityVar.h"
#include "storyloom/host/core/EnumVar.h"
#include "storyloom/host/core/ObjectiveVar.h"
#include "storyloom/host/core/ScenarioSupport.h"
#include "storyloom/host/core/StringVar.h"
#include "storyloom/host/core/TVariable.h"
#include "storyloom/host/d3d9/d3dx9math.h"
#include "storyloom/host/engine/A3d_Channel.h"
#include "storyloom/host/engine/Aco_FloatChannel.h"
#include "storyloom/host/engine/Aco_StringChannel.h"
#include "storyloom/host/engine/Aco_VectorChannel.h"

class Aco_Storyloom;

// Each kind names the child it expects in these reports.
constexpr const char* kWrongChildMessage =
    "Error: Child %s at index %d was not linked or was of the wrong type (%s expected)!";
constexpr const char* kWrongParameterMessage =
    "Error: Send parameter %s at index %d(%s) was of the incorrect type for Event %s (%s expected)!";

template <class Variable>
struct QuestSlotKind;

// Children are taken by their class: a child of another class counts as not linked.
template <class ChildClass>
struct QuestSlotChild {
    using Child = ChildClass;
    static constexpr bool Pulls = true;  // the slot's value can be read back from the child
    static Child* ChildFor(A3d_Channel* channel) { return KindCast<Child>(channel); }
};

template <>
struct QuestSlotKind<Core::TVariable<float>> : QuestSlotChild<Aco_FloatChannel> {
    static constexpr const char* Expected = "Aco_FloatChannel";
    static constexpr const char* PullFunction = "TQuestVariableSlot<class Core::TVariable<float> >::SyncFromQuest";
    static void Write(Child& child, const float& value);
    template <class Slot>
    static float Read(Child& child, const Slot&) { return child.GetFloat(); }
};

template <>
struct QuestSlotKind<Core::TVariable<VelmMathLib::Vec3>> : QuestSlotChild<Aco_VectorChannel> {
    static constexpr const char* Expected = "Aco_VectorChannel";
    static constexpr const char* PullFunction =
        "TQuestVariableSlot<class Core::TVariable<struct VelmMathLib::Vec3> >::SyncFromQuest";
    static void Write(Child& child, const VelmMathLib::Vec3& value);
    template <class Slot>
    static VelmMathLib::Vec3 Read(Child& child, const Slot&) {
        D3DXVECTOR3 v = child.GetVector();
        return {v.x, v.y, v.z};
    }
};

template <>
struct QuestSlotKind<Core::StringVar> : QuestSlotChild<Aco_StringChannel> {
    static constexpr const char* Expected = "Aco_StringChannel";
    static constexpr const char* PullFunction = "TQuestVariableSlot<class Core::StringVar>::SyncFromQuest";
    static void Write(Child& child, const std::string& value);
    template <class Slot>
    static std::string Read(Child& child, const Slot&) {
        const char* text = child.GetString();
        return text ? text : "";
    }
};

template <>
struct QuestSlotKind<Core::EntityVar> : QuestSlotChild<Aco_CoreRef> {
    static constexpr const char* Expected = "Aco_CoreRef";
    static constexpr const char* PullFunction = "QuestEntityVariableSlot::SyncFromQuest";
    static void Write(Child& child, Core::ScenarioSupport* value);
    template <class Slot>
    static Core::ScenarioSupport* Read(Child& child, const Slot&) {
        Core::RefSupport* object = child.GetRef();
        return object ? object->AsScenarioSupport() : nullptr;
    }
};

// Enumerations and string lists: the child's float value is the index.
template <>
struct QuestSlotKind<Core::EnumVar> : QuestSlotChild<Aco_FloatChannel> {
    static constexpr const char* Expected = "Aco_CustomEnum";
    static constexpr const char* PullFunction = "QuestEnumVariableSlot::SyncFromQuest";
    static void Write(Child& child, const Core::EnumValue& value);
    static unsigned int IndexOf(float value);
    template <class Slot>
    static Core::EnumValue Read(Child& child, const Slot& slot) {
        return {slot.GetEnumType(), IndexOf(child.GetFloat())};
    }
};

// An objective goes into the "Short" and "Long" texts of a "VariableSlot :: Objective"
// channel and never comes back.
template <>
struct QuestSlotKind<Core::ObjectiveVar> {
    using Child = Aco_Storyloom;
    static constexpr bool Pulls = false;
    static constexpr const char* Expected = "Aco_Storyloom with mode \"VariableSlot :: Objective\"";
    static Child* ChildFor(A3d_Channel* channel);
    static void Write(Child& child, const Core::Objective& value);
};

// The channel's name for messages; "[no-name]" for none.
const char* QuestChannelName(const A3d_Channel* channel);

// Writes `parameter` into the child at `childIndex` when it is a Variable the child can take,
// else reports the kind's parameter message.
template <class Variable>
void SendParameterAs(Core::VariableBase* parameter, A3d_Channel* channel, unsigned int childIndex) {
    using Kind = QuestSlotKind<Variable>;
    A3d_Channel* linked = channel ? channel->GetChild(childIndex) : nullptr;
    typename Kind::Child* child = Kind::ChildFor(linked);
    if (parameter && child && typeid(*parameter) == typeid(Variable)) {
        Kind::Write(*child, static_cast<Variable*>(parameter)->GetValue());
        return;
    }
    ReportToDebugSink(FormatText(kWrongParameterMessage, parameter ? parameter->GetName().c_str() : "",
                                 static_cast<int>(childIndex), QuestChannelName(linked), QuestChannelName(channel),
                                 Kind::Expected)
                          .c_str());
}
