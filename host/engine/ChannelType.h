#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <cstddef>
#include <cstdint>

#include "storyloom/host/engine/Guid.h"

// The channel-type record the host keeps per channel class.
struct A3D_API ChannelType {
    char typeName[80];    // NUL-terminated, at most 79 characters
    _GUID typeGuid;       // the class's own type
    _GUID baseTypeGuid;   // the class it is built on; link kind checks compare this
    uint32_t hostWords[5];  // host fields; word 2 (offset 120) and word 4 (offset 128) are set by plug-ins

    ChannelType();
    ChannelType(const char* name, const _GUID& own, const _GUID& base);
    void SetTypeName(const char* name);  // copies at most 79 characters
};

// What a child position accepts and what it is called; handed to SetChildCreateType.
struct A3D_API ChildCreation {
    ChannelType type;       // offset 0
    int32_t position;       // 132: the link's own child index, or -1 for a repeatable link
    uint8_t flag0;          // 136
    uint8_t flag1;          // 137
    char linkName[100];     // 138: NUL-terminated, at most 99 characters
    uint8_t padding[2];     // 238
    _GUID secondGuid;       // 240
    uint32_t word256;       // 256
    int32_t hostValue;      // 260

    ChildCreation();
    void SetLinkName(const char* name);  // copies at most 99 characters
    bool IsRepeatable() const { return position == -1; }
};

static_assert(sizeof(ChannelType) == 132, "ChannelType is 132 bytes");
static_assert(offsetof(ChannelType, typeGuid) == 80, "own type GUID at 80");
static_assert(offsetof(ChannelType, baseTypeGuid) == 96, "base-type GUID at 96");
static_assert(offsetof(ChannelType, hostWords) + 2 * sizeof(uint32_t) == 120, "word at 120");
static_assert(sizeof(ChildCreation) == 264, "ChildCreation is 264 bytes");
static_assert(offsetof(ChildCreation, position) == 132, "position at 132");
static_assert(offsetof(ChildCreation, flag0) == 136 && offsetof(ChildCreation, flag1) == 137, "flags at 136");
static_assert(offsetof(ChildCreation, linkName) == 138, "link name at 138");
static_assert(offsetof(ChildCreation, secondGuid) == 240, "second GUID at 240");
static_assert(offsetof(ChildCreation, word256) == 256, "word at 256");
static_assert(offsetof(ChildCreation, hostValue) == 260, "host value at 260");
