#include "storyloom/host/engine/ChannelType.h"

#include <cstring>

namespace {
void CopyBounded(char* dest, size_t capacity, const char* text) {
    std::memset(dest, 0, capacity);
    if (text) std::strncpy(dest, text, capacity - 1);
}
}  // namespace

ChannelType::ChannelType() { std::memset(static_cast<void*>(this), 0, sizeof(*this)); }

ChannelType::ChannelType(const char* name, const _GUID& own, const _GUID& base) : ChannelType() {
    SetTypeName(name);
    typeGuid = own;
    baseTypeGuid = base;
}

void ChannelType::SetTypeName(const char* name) { CopyBounded(typeName, sizeof(typeName), name); }

ChildCreation::ChildCreation() : type() {
    std::memset(reinterpret_cast<char*>(this) + sizeof(ChannelType), 0, sizeof(*this) - sizeof(ChannelType));
    type.typeGuid = ChannelGuids::Generic;
    type.baseTypeGuid = ChannelGuids::Generic;
    position = -1;
    hostValue = 1;
}

void ChildCreation::SetLinkName(const char* name) { CopyBounded(linkName, sizeof(linkName), name); }
