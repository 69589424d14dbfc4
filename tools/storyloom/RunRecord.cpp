#include "RunRecord.h"

#include <algorithm>

#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "JsonText.h"

using nlohmann::json;

namespace RunRecord {
namespace {
json Lines(const std::vector<std::string>& lines) {
    json out = json::array();
    for (const std::string& line : lines) out.push_back(line);
    return out;
}

std::string Id(const ChannelGraph& graph, size_t channel) {
    return channel < graph.GetChannelIds().size() ? graph.GetChannelIds()[channel] : "";
}

json Children(const std::vector<EvaluationNode::ChildValue>& values, const A3d_Channel* parent,
              const ChannelGraph& graph, const EvaluationRecorder& recorder) {
    json out = json::array();
    for (const auto& value : values)
        out.push_back({{"link", parent ? recorder.LinkName(*parent, value.childIndex) : ""},
                       {"child", Id(graph, value.child)},
                       {"value", value.value}});
    return out;
}

json Node(const EvaluationRecorder& recorder, const ChannelGraph& graph, size_t at) {
    const EvaluationNode& node = recorder.Nodes()[at];
    json out;
    if (node.IsChannel()) {
        const A3d_Channel* channel = graph.FindChannel(Id(graph, node.channel));
        out = {{"channel", Id(graph, node.channel)}, {"mode", node.mode}, {"status", node.value},
               {"read", Children(node.read, channel, graph, recorder)},
               {"written", Children(node.written, channel, graph, recorder)}};
    } else {
        out = {{"product", node.mode}, {"type", node.type}, {"answer", node.answer}};
    }
    out["errorLog"] = Lines(node.errorLog);
    out["debug"] = Lines(node.debug);
    out["children"] = json::array();
    for (size_t child = at + 1; child < node.end; child = recorder.Next(child))
        out["children"].push_back(Node(recorder, graph, child));
    return out;
}

json Variables(const StepFacts& facts) {
    json out = json::array();
    const auto text = [](const VariableTexts& texts, const VariableTexts::key_type& key) {
        auto found = texts.find(key);
        return found == texts.end() ? json() : json(found->second);
    };
    std::vector<VariableTexts::key_type> keys;
    for (const auto& [key, value] : facts.variablesBefore) keys.push_back(key);
    for (const auto& [key, value] : facts.variablesAfter)
        if (!facts.variablesBefore.count(key)) keys.push_back(key);
    for (const auto& key : keys) {
        json before = text(facts.variablesBefore, key), after = text(facts.variablesAfter, key);
        if (before != after)
            out.push_back({{"scenario", key.first}, {"name", key.second}, {"before", before}, {"after", after}});
    }
    return out;
}

json Pictures(const json& step) {
    json out = json::array();
    if (!step.contains("picture") || !step["picture"].is_string()) return out;
    const std::string file = step["picture"].get<std::string>();
    std::string bytes, error;
    if (JsonText::ReadFile(file, bytes, error)) out.push_back({{"file", file}, {"png", Base64(bytes)}});
    return out;
}
}  // namespace

json Step(const json& step, const StepFacts& facts, const EvaluationRecorder* recorder, const ChannelGraph& graph) {
    const std::string path = "$.steps[" + std::to_string(facts.index) + "]";
    const bool expects = step.contains("expect");
    json out = {{"index", facts.index}, {"path", path}, {"kind", facts.kind}, {"subject", facts.subject},
                {"comment", step.value("comment", "")}, {"step", step}, {"ran", facts.ran},
                {"status", facts.ran && facts.evaluated ? json(facts.status) : json()},
                {"output", json::array()}, {"expect", expects ? step["expect"] : json()},
                {"expectPath", path + ".expect"}, {"failure", facts.failure},
                {"errorLog", Lines(facts.errorLog)}, {"debug", Lines(facts.debug)},
                {"dictionary", Lines(facts.dictionary)}, {"checks", Lines(facts.checks)},
                {"variables", Variables(facts)}, {"evaluated", json::array()}, {"tree", json::array()},
                {"pictures", facts.ran && facts.passed ? Pictures(step) : json::array()}};
    out["result"] = !facts.ran ? "not run" : !expects ? "none" : facts.passed ? "met" : "failed";
    for (size_t start = 0; start < facts.output.size();) {
        const size_t end = std::min(facts.output.find('\n', start), facts.output.size());
        out["output"].push_back(facts.output.substr(start, end - start));
        start = end + 1;
    }
    if (recorder) {
        for (size_t channel : recorder->Evaluated()) out["evaluated"].push_back(Id(graph, channel));
        for (size_t at = 0; at < recorder->Nodes().size(); at = recorder->Next(at))
            out["tree"].push_back(Node(*recorder, graph, at));
    }
    return out;
}

json Channels(const ChannelGraph& graph, const EvaluationRecorder& recorder) {
    json out = json::array();
    const auto& ids = graph.GetChannelIds();
    for (size_t index = 0; index < ids.size(); ++index) {
        A3d_Channel* channel = graph.FindChannel(ids[index]);
        auto* storyloom = dynamic_cast<Aco_Storyloom*>(channel);
        const ModeDescription* mode = storyloom ? storyloom->GetModeDescription(storyloom->GetCurrentMode()) : nullptr;
        const ChannelTally& tally = recorder.Channels()[index];
        json links = json::array();
        for (unsigned position = 0, at = 0; position < channel->GetChildCreationCount(); ++position) {
            const ChildCreation* record = channel->GetChildCreateType(position);
            const unsigned count = record->IsRepeatable() ? channel->GetChildLinkPositionCount(at) : 1;
            json children = json::array();
            for (unsigned i = 0; i < count; ++i)
                if (const A3d_Channel* child = channel->GetChild(at + i)) children.push_back(graph.IdOf(child));
            links.push_back({{"name", record->linkName}, {"children", children}});
            at += record->IsRepeatable() ? count + 1 : 1;
        }
        out.push_back({{"id", ids[index]}, {"kind", graph.KindOf(channel)}, {"mode", mode ? mode->shortName : ""},
                       {"evaluations", tally.evaluations},
                       {"lastStatus", tally.evaluations ? json(tally.last) : json()}, {"links", links}});
    }
    return out;
}

std::string Base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t left = bytes.size() - at;
        uint32_t group = static_cast<unsigned char>(bytes[at]) << 16;
        if (left > 1) group |= static_cast<unsigned char>(bytes[at + 1]) << 8;
        if (left > 2) group |= static_cast<unsigned char>(bytes[at + 2]);
        out += digits[(group >> 18) & 63];
        out += digits[(group >> 12) & 63];
        out += left > 1 ? digits[(group >> 6) & 63] : '=';
        out += left > 2 ? digits[group & 63] : '=';
    }
    return out;
}

}  // namespace RunRecord
