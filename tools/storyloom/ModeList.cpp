#include "ModeList.h"

#include <algorithm>
#include <memory>

#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"

namespace {
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

LinkInfo ReadLink(const ChildCreation& record, unsigned position) {
    LinkInfo link;
    link.name = record.linkName;
    link.guid = record.type.typeGuid;
    link.kind = link.guid == ChannelGuids::Generic ? "any" : record.type.typeName;
    link.position = position;
    link.hostValue = record.hostValue;
    link.repeatable = record.IsRepeatable();
    return link;
}

// A host is never told which links a mode needs; the plug-in's own records know.
bool NeededByMode(unsigned mode, unsigned position) {
    for (const ModeRecord* record : ModeCatalogue::InDisplayOrder())
        if (record->id == mode) return position < record->LinkCount() && record->links[position].needed;
    return false;
}
}  // namespace

ModeList::ModeList(const A3dPluginLoader& plugin) {
    std::unique_ptr<A3d_Channel> made(plugin.CreateChannel());
    auto* channel = dynamic_cast<Aco_Storyloom*>(made.get());
    if (!channel) return;
    channel->BuildModesList(false);
    std::vector<std::string> names;
    channel->GetModeNames(names);
    for (unsigned index = 0; index < names.size(); ++index) {
        ModeInfo mode;
        mode.id = channel->GetModeFromIndex(index);
        mode.name = names[index];
        if (const ModeDescription* description = channel->GetModeDescription(mode.id))
            mode.shortName = description->shortName;
        channel->SetCurrentMode(mode.id);
        for (unsigned position = 0; position < channel->GetChildCreationCount(); ++position)
            if (const ChildCreation* record = channel->GetChildCreateType(position)) {
                mode.links.push_back(ReadLink(*record, position));
                mode.links.back().needed = NeededByMode(mode.id, position);
            }
        _modes.push_back(std::move(mode));
    }
}

const ModeInfo* ModeList::Find(const std::string& shortName) const {
    for (const ModeInfo& mode : _modes)
        if (mode.shortName == shortName) return &mode;
    return nullptr;
}

std::vector<std::string> ModeList::Nearest(const std::string& name, size_t count) const {
    std::vector<std::pair<size_t, std::string>> ranked;
    for (const ModeInfo& mode : _modes) ranked.emplace_back(EditDistance(name, mode.shortName), mode.shortName);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> nearest;
    for (size_t i = 0; i < ranked.size() && i < count; ++i) nearest.push_back(ranked[i].second);
    return nearest;
}

bool LinkAccepts(const LinkInfo& link, const ChannelType& type) {
    return link.guid == ChannelGuids::Generic || link.guid == type.typeGuid || link.guid == type.baseTypeGuid;
}
