#include "storyloom/scenario_channel/ModeCatalogue.h"

#include <algorithm>

#include "storyloom/coreframework/Logging.h"

namespace {
const LinkKindInfo kLinkKinds[] = {
    {"all types are accepted", ChannelGuids::Generic},
    {"Value", ChannelGuids::Value},
    {"Value Vector", ChannelGuids::Vector},
    {"Text", ChannelGuids::Text},
    {"Matrix", ChannelGuids::Matrix},
    {"CoreRef", ChannelGuids::CoreRef},
    {"CustomEnum", ChannelGuids::CustomEnum},
};

std::vector<const ModeRecord*>& Records() {
    static std::vector<const ModeRecord*> records;
    return records;
}
}  // namespace

ModeHandler ModeDispatch::table[kModeIdLimit];

const LinkKindInfo& GetLinkKindInfo(LinkKind kind) { return kLinkKinds[static_cast<int>(kind)]; }

unsigned int ModeRecord::LinkCount() const {
    unsigned int count = 0;
    while (count < kMaxModeLinks && links[count].name) ++count;
    return count;
}

const std::vector<const ModeRecord*>& ModeCatalogue::InDisplayOrder() { return Records(); }

ModeHandler ModeCatalogue::HandlerOf(unsigned int id) { return ModeDispatch::Find(id); }

void ModeCatalogue::Register(const ModeRecord& record) {
    if (!FRAMEWORK_ASSERT(record.id < kModeIdLimit && !ModeDispatch::Find(record.id), __FILE__)) return;
    ModeDispatch::table[record.id] = record.handler;
    std::vector<const ModeRecord*>& records = Records();
    auto before = [](const ModeRecord* a, const ModeRecord* b) { return a->displayPosition < b->displayPosition; };
    records.insert(std::upper_bound(records.begin(), records.end(), &record, before), &record);
}
