#pragma once
// One record per mode, declared in the file of its mode group beside its handler. The mode
// table that InitializeModes builds and the evaluation dispatch both come from these records.
#include <cstddef>
#include <vector>

#include "storyloom/channel/Export.h"
#include "storyloom/host/engine/Guid.h"

class Aco_Storyloom;

// The link kinds a mode may declare, with the type text shown to the designer.
enum class LinkKind { Generic, Value, Vector, Text, Matrix, CoreRef, CustomEnum };

struct LinkKindInfo {
    const char* typeText;
    _GUID guid;
};
STORYLOOM_API const LinkKindInfo& GetLinkKindInfo(LinkKind kind);

// The host value of a link: how the host is told data flows there. The library hands it
// through and never reads it back. In: the mode reads the child, so the host brings it up to
// date first. Out: the mode writes or calls the child, or a construct channel reads it on its
// own. InOut: a text the mode may read and write back.
enum class LinkFlow : int { Out = 0, In = 1, InOut = 2 };

struct LinkRecord {
    unsigned int position;  // the child link index the handler reads it under
    const char* name;       // null past a mode's last link
    LinkKind kind;
    LinkFlow flow;
    bool repeatable;
    // Left empty, the mode stops with 105 and reports the link. Only checkers read this: the
    // host is never told, and the handler alone decides what an empty link means.
    bool needed;
};

constexpr LinkRecord In(unsigned int position, const char* name, LinkKind kind) {
    return {position, name, kind, LinkFlow::In, false, true};
}
constexpr LinkRecord Out(unsigned int position, const char* name, LinkKind kind) {
    return {position, name, kind, LinkFlow::Out, false, true};
}
constexpr LinkRecord InOut(unsigned int position, const char* name, LinkKind kind) {
    return {position, name, kind, LinkFlow::InOut, false, true};
}
// Any number of channels may be linked at a repeatable position.
constexpr LinkRecord Repeated(LinkRecord link) {
    link.repeatable = true;
    return link;
}
// The mode runs without anything linked here.
constexpr LinkRecord Optional(LinkRecord link) {
    link.needed = false;
    return link;
}

// Runs the mode on the channel and answers its status value.
using ModeHandler = float (*)(Aco_Storyloom&);

// The most links one mode declares ("VirtualEntity_MousePicking").
constexpr unsigned int kMaxModeLinks = 7;
// Ids are stored in channel files; every id lies below this bound.
constexpr unsigned int kModeIdLimit = 64;

struct STORYLOOM_API ModeRecord {
    unsigned int id;
    unsigned int displayPosition;  // where designers see it in the list of modes
    const char* shortName;
    const char* name;
    ModeHandler handler;
    LinkRecord links[kMaxModeLinks];  // in position order

    unsigned int LinkCount() const;
};

class STORYLOOM_API ModeCatalogue {
public:
    // Every registered record, in display order.
    static const std::vector<const ModeRecord*>& InDisplayOrder();
    // The handler of mode `id`; null for an id no record declares.
    static ModeHandler HandlerOf(unsigned int id);

    // One static object per mode-group file enters its records when the library loads.
    struct Registration {
        template <size_t N>
        explicit Registration(const ModeRecord (&records)[N]) {
            for (const ModeRecord& record : records) Register(record);
        }
    };

private:
    static void Register(const ModeRecord& record);
};

// The evaluation's view of the catalogue. Not exported, so reading it takes no detour
// through the symbol table: it costs no more than a switch.
namespace ModeDispatch {
// Zero before any registration runs, so the group files may register in any order.
extern ModeHandler table[kModeIdLimit];
inline ModeHandler Find(unsigned int id) { return id < kModeIdLimit ? table[id] : nullptr; }
}  // namespace ModeDispatch
