// The channel kind the plug-in brings: the multi-mode channel, made through the loaded plug-in.
#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "ChannelKind.h"

using nlohmann::json;

namespace {
std::unique_ptr<A3d_Channel> Make(const A3dPluginLoader& plugin) {
    return std::unique_ptr<A3d_Channel>(plugin.CreateChannel());
}

// The mode whose short name is `shortName`, looked up in the channel's own catalogue.
bool FindMode(Aco_Storyloom& channel, const std::string& shortName, unsigned& mode) {
    channel.BuildModesList(false);
    for (unsigned index = 0; index < channel.GetModeCount(); ++index) {
        mode = channel.GetModeFromIndex(index);
        const ModeDescription* desc = channel.GetModeDescription(mode);
        if (desc && desc->shortName == shortName) return true;
    }
    return false;
}

bool SetUp(A3d_Channel& channel, const json& entry, const ChannelGraph&, std::string& error) {
    auto* storyloom = dynamic_cast<Aco_Storyloom*>(&channel);
    unsigned mode = 0;
    const std::string shortName = entry.value("mode", "");
    if (!storyloom || !FindMode(*storyloom, shortName, mode)) {
        error = "no mode \"" + shortName + "\"";
        return false;
    }
    storyloom->SetCurrentMode(mode);
    return true;
}

void Save(A3d_Channel& channel, json& entry) {
    auto& storyloom = dynamic_cast<Aco_Storyloom&>(channel);
    // An automatic name is the mode's to make, not the file's to keep.
    if (storyloom.GetUseAutoChannelName()) entry.erase("name");
    if (const ModeDescription* mode = storyloom.GetModeDescription(storyloom.GetCurrentMode()))
        entry["mode"] = mode->shortName;
}
}  // namespace

const std::vector<ChannelKind>& PluginChannelKinds() {
    static const std::vector<ChannelKind> kinds = {
        {"Storyloom", {{"mode", ChannelKey::Mode, true}, {"links", ChannelKey::Links, false}}, Make, SetUp, Save,
         ChannelKinds::DescribeValue},
    };
    return kinds;
}
