#include <memory>
#include <string>

#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/core/EnumVarSupport.h"
#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/StringListVarSupport.h"
#include "storyloom/quest/QuestVarFactories.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

namespace {

// A slot child's name, without its flag prefix: "!" marks an output (select-only) slot,
// "@" an input (insert-only) one.
struct SlotDeclaration {
    std::string name;
    bool selectOnly = false;
    bool insertOnly = false;
};

SlotDeclaration DeclarationOf(const A3d_Channel& child) {
    const char* name = child.GetChannelName();
    SlotDeclaration declaration{name ? name : "Error: Channel has no name!"};
    if (!declaration.name.empty() && declaration.name[0] == '!') {
        declaration.name.erase(0, 1);
        declaration.selectOnly = true;
    } else if (!declaration.name.empty() && declaration.name[0] == '@') {
        declaration.name.erase(0, 1);
        declaration.insertOnly = true;
    }
    return declaration;
}

std::unique_ptr<QuestVarFactory> EnumFactory(const SlotDeclaration& slot, A3d_Channel& child) {
    auto* enumChannel = dynamic_cast<Aco_CustomEnum*>(&child);
    if (!enumChannel) return nullptr;
    std::string type = enumChannel->GetEnumTypeName();
    if (!Core::EnumVarSupport::IsTypeSupported(type)) {
        ERRLOG(FormatText("Enum type %s not supported", type.c_str()));
        return nullptr;
    }
    return std::make_unique<QuestEnumVarFactory>(slot.name, slot.selectOnly, slot.insertOnly, type);
}

// The list type is the text of the string-select channel's own "Type" link, read with this
// channel's extension pointed at that channel for the moment.
std::unique_ptr<QuestVarFactory> StringListFactory(const SlotDeclaration& slot, Aco_Storyloom& self, Aco_Storyloom& declaring) {
    constexpr unsigned int kTypeLink = 0;
    std::string type;
    self.CE_SetSelf(&declaring);
    bool hasType = self.CE_CopyString(type, kTypeLink, false);
    self.CE_SetSelf(&self);
    if (!hasType) {
        ERRLOG("No Stringlist Type defined");
        return nullptr;
    }
    if (!Core::StringListVarSupport::IsTypeSupported(type)) {
        ERRLOG(FormatText("StringList type %s not supported", type.c_str()));
        return nullptr;
    }
    return std::make_unique<QuestEnumVarFactory>(slot.name, slot.selectOnly, slot.insertOnly, type);
}

// Slot children declared by a mode of this channel class: objectives and string lists.
std::unique_ptr<QuestVarFactory> StoryloomChildFactory(const SlotDeclaration& slot, Aco_Storyloom& self, A3d_Channel& child) {
    auto* declaring = dynamic_cast<Aco_Storyloom*>(&child);
    if (!declaring) return nullptr;
    switch (declaring->GetCurrentMode()) {
        case MODE_VariableSlot_Objective:
            return std::make_unique<TQuestVarFactory<Core::ObjectiveVar>>(slot.name, slot.selectOnly, slot.insertOnly);
        case MODE_StringSelectVar: return StringListFactory(slot, self, *declaring);
        default: return nullptr;
    }
}

}  // namespace

std::unique_ptr<QuestVarFactory> Aco_Storyloom::CreateVarFactoryFromLink(unsigned int childIndex) {
    A3d_Channel* child = GetChild(childIndex);
    if (!child) return nullptr;
    SlotDeclaration slot = DeclarationOf(*child);
    ChannelType type = child->GetChannelType();

    if (type.typeGuid == ChannelGuids::CustomEnum) return EnumFactory(slot, *child);
    if (type.typeGuid == GetChannelType().typeGuid) return StoryloomChildFactory(slot, *this, *child);
    if (type.baseTypeGuid == ChannelGuids::Value)
        return std::make_unique<TQuestVarFactory<Core::TVariable<float>>>(slot.name, slot.selectOnly, slot.insertOnly);
    if (type.baseTypeGuid == ChannelGuids::Text)
        return std::make_unique<TQuestVarFactory<Core::StringVar>>(slot.name, slot.selectOnly, slot.insertOnly);
    if (type.baseTypeGuid == ChannelGuids::CoreRef)
        return std::make_unique<QuestEntityVarFactory>(slot.name, slot.selectOnly, slot.insertOnly);
    if (type.baseTypeGuid == ChannelGuids::Vector)
        return std::make_unique<TQuestVarFactory<Core::TVariable<VelmMathLib::Vec3>>>(slot.name, slot.selectOnly, slot.insertOnly);
    return nullptr;
}
