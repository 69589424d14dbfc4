#include "Coverage.h"

#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "JsonText.h"

using nlohmann::json;

void Coverage::Add(const std::string& source, const ChannelGraph& graph, const EvaluationRecorder& recorder) {
    _graphs.push_back(source);
    const auto& ids = graph.GetChannelIds();
    for (size_t index = 0; index < ids.size(); ++index) {
        // Values, texts and references are read, never evaluated: only mode channels count.
        auto* storyloom = dynamic_cast<Aco_Storyloom*>(graph.FindChannel(ids[index]));
        if (!storyloom) continue;
        const ModeDescription* mode = storyloom->GetModeDescription(storyloom->GetCurrentMode());
        if (mode) ++_tallies[mode->shortName].channels;
        const ChannelTally& tally = recorder.Channels()[index];
        if (!tally.evaluations) {
            _neverEvaluated.push_back({{"graph", source}, {"id", ids[index]}});
            continue;
        }
        json statuses = json::object();
        for (const auto& [status, count] : tally.statuses) statuses[JsonText::Number(status)] = count;
        _channels.push_back({{"graph", source}, {"id", ids[index]}, {"mode", mode ? mode->shortName : ""},
                             {"evaluations", tally.evaluations}, {"statuses", statuses}});
    }
    for (const auto& [mode, count] : recorder.ModeEvaluations()) _tallies[mode].evaluations += count;
    for (const auto& [mode, links] : recorder.LinksTaken())
        for (const auto& [link, count] : links) _tallies[mode].linksTaken[link] += count;
}

json Coverage::Json(bool oneGraph) const {
    json modes = json::array();
    size_t modesRun = 0;
    for (const ModeInfo& mode : _modes.GetModes()) {
        auto found = _tallies.find(mode.shortName);
        const ModeTally tally = found == _tallies.end() ? ModeTally() : found->second;
        json read = json::object(), neverRead = json::array();
        for (const LinkInfo& link : mode.links) {
            auto taken = tally.linksTaken.find(link.name);
            if (taken == tally.linksTaken.end()) neverRead.push_back(link.name);
            else read[link.name] = taken->second;
        }
        if (tally.evaluations) ++modesRun;
        modes.push_back({{"mode", mode.shortName}, {"channels", tally.channels}, {"evaluations", tally.evaluations},
                         {"linksRead", read}, {"linksNeverRead", neverRead}});
    }
    json channels = _channels, neverEvaluated = _neverEvaluated;
    if (oneGraph) {
        for (json& channel : channels) channel.erase("graph");
        for (json& channel : neverEvaluated) channel = channel["id"];
    }
    const size_t all = _channels.size() + _neverEvaluated.size();
    return {{"graphs", _graphs},
            {"summary", {{"channels", all}, {"channelsEvaluated", _channels.size()}, {"modes", modes.size()},
                         {"modesEvaluated", modesRun}}},
            {"channels", channels}, {"neverEvaluated", neverEvaluated}, {"modes", modes}};
}
