#pragma once
#include <cstddef>

#include "host/engine/Guid.h"

// The link kinds a mode may declare, with the type text shown to the designer.
enum class LinkKind { Generic, Value, Vector, Text, Matrix, CoreRef, CustomEnum };

struct LinkKindInfo {
    const char* typeText;
    _GUID guid;
};
const LinkKindInfo& GetLinkKindInfo(LinkKind kind);

struct CatalogueLink {
    unsigned int mode;
    const char* name;
    LinkKind kind;
    int hostValue;
    bool repeatable;
};

struct CatalogueMode {
    unsigned int id;
    const char* shortName;
    const char* name;
};

// Link declarations grouped by mode, in declaration order.
extern const CatalogueLink kCatalogueLinks[];
extern const size_t kCatalogueLinkCount;
// Modes in display order.
extern const CatalogueMode kCatalogueModes[];
extern const size_t kCatalogueModeCount;
