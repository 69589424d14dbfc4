#include "storyloom/host/enum/Aco_CustomEnum.h"

ChannelType Aco_CustomEnum::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type("CustomEnum", ChannelGuids::CustomEnum, ChannelGuids::Value);
    return type;
}

bool Aco_CustomEnum::SaveChannel(A3dFileSaver& saver) {
    return Aco_FloatChannel::SaveChannel(saver) &&
           saver.SaveBlock("ENUM", _typeName.data(), static_cast<uint32_t>(_typeName.size()));
}

bool Aco_CustomEnum::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    if (!Aco_FloatChannel::LoadChannel(loader, group)) return false;
    // Files written before the type name was kept have no ENUM block.
    if (!loader.GetInfoIfTag("ENUM")) return true;
    std::string typeName(loader.GetSizeDataBlock(false), '\0');
    loader.CopyTagDataToPointer(&typeName[0]);
    _typeName = typeName.substr(0, typeName.find('\0'));
    return true;
}

float Aco_CustomEnum::GetFloatExt(int) { return GetFloat(); }
