#include "EvaluationRecorder.h"

#include <algorithm>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

EvaluationRecorder::EvaluationRecorder(const ChannelGraph& graph)
    : _graph(graph), _previous(globalEngine.GetEvaluationObserver()), _channels(graph.GetChannelIds().size()) {
    globalEngine.SetEvaluationObserver(this);
    BeginStep();
}

EvaluationRecorder::~EvaluationRecorder() { globalEngine.SetEvaluationObserver(_previous); }

void EvaluationRecorder::BeginStep() {
    _nodes.clear();
    _open.clear();
    _openChannels.clear();
    _before.clear();
    for (size_t channel : _evaluated) _evaluatedInStep[channel] = false;
    _evaluated.clear();
    _evaluatedInStep.resize(_channels.size());
    _errorLogSeen = Core::GetErrorLog().size();
    _debugSeen = globalEngine.GetDebugMessages().size();
}

void EvaluationRecorder::TakeLines() {
    const auto take = [this](const std::vector<std::string>& lines, size_t& seen, std::vector<std::string>* into) {
        if (into) into->insert(into->end(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(seen, lines.size())), lines.end());
        seen = lines.size();
    };
    EvaluationNode* running = _open.empty() ? nullptr : &_nodes[_open.back()];
    take(Core::GetErrorLog(), _errorLogSeen, running ? &running->errorLog : nullptr);
    take(globalEngine.GetDebugMessages(), _debugSeen, running ? &running->debug : nullptr);
}

void EvaluationRecorder::Open(EvaluationNode node) {
    _open.push_back(_nodes.size());
    _nodes.push_back(std::move(node));
}

void EvaluationRecorder::Close() {
    _nodes[_open.back()].end = _nodes.size();
    _open.pop_back();
    _openChannels.pop_back();
    _before.pop_back();
}

std::vector<EvaluationNode::ChildValue> EvaluationRecorder::Children(A3d_Channel& channel) {
    std::vector<EvaluationNode::ChildValue> values;
    _snapshotting = true;
    for (unsigned index = 0; index < channel.GetChildCount(); ++index)
        if (A3d_Channel* child = channel.GetChild(index))
            values.push_back({index, _graph.IndexOf(child), _graph.Describe(child)});
    _snapshotting = false;
    return values;
}

void EvaluationRecorder::ChannelBegins(A3d_Channel& channel) {
    TakeLines();
    EvaluationNode node;
    node.channel = _graph.IndexOf(&channel);
    if (auto* storyloom = dynamic_cast<Aco_Storyloom*>(&channel)) {
        const ModeDescription* mode = storyloom->GetModeDescription(storyloom->GetCurrentMode());
        node.mode = mode ? mode->shortName : "(none)";
    }
    if (node.channel < _channels.size() && !_evaluatedInStep[node.channel]) {
        _evaluatedInStep[node.channel] = true;
        _evaluated.push_back(node.channel);
    }
    Open(std::move(node));
    _openChannels.push_back(&channel);
    _before.push_back(Children(channel));
}

void EvaluationRecorder::ChildTaken(const A3d_Channel& parent, unsigned index) {
    if (_snapshotting || _open.empty() || _openChannels.back() != &parent) return;
    EvaluationNode& node = _nodes[_open.back()];
    for (const EvaluationNode::ChildValue& taken : node.read)
        if (taken.childIndex == index) return;
    const auto& before = _before.back();
    auto found = std::find_if(before.begin(), before.end(), [index](const auto& child) { return child.childIndex == index; });
    node.read.push_back(found != before.end() ? *found : EvaluationNode::ChildValue{index, ChannelGraph::kNotInGraph, "(nothing linked)"});
}

std::string EvaluationRecorder::LinkName(const A3d_Channel& channel, unsigned childIndex) const {
    unsigned at = 0;
    for (unsigned position = 0; position < channel.GetChildCreationCount(); ++position) {
        const ChildCreation* record = channel.GetChildCreateType(position);
        const unsigned width = record && record->IsRepeatable() ? channel.GetChildLinkPositionCount(at) + 1 : 1;
        if (childIndex < at + width) return record ? record->linkName : "";
        at += width;
    }
    return "child " + std::to_string(childIndex);
}

void EvaluationRecorder::ChannelEnds(A3d_Channel& channel, float value) {
    if (_open.empty() || _openChannels.back() != &channel) return;
    TakeLines();
    EvaluationNode& node = _nodes[_open.back()];
    node.value = value;
    const auto& before = _before.back();
    for (EvaluationNode::ChildValue& after : Children(channel)) {
        auto was = std::find_if(before.begin(), before.end(), [&](const auto& child) { return child.childIndex == after.childIndex; });
        if (was == before.end() || was->value != after.value || was->child != after.child) node.written.push_back(std::move(after));
    }
    if (node.channel < _channels.size()) {
        ChannelTally& tally = _channels[node.channel];
        ++tally.evaluations;
        ++tally.statuses[value];
        tally.last = value;
        ++_modeEvaluations[node.mode];
        auto& links = _linksTaken[node.mode];
        for (const EvaluationNode::ChildValue& taken : node.read) ++links[LinkName(channel, taken.childIndex)];
    }
    Close();
}

void EvaluationRecorder::ProductBegins(const char* role, const char* type) {
    TakeLines();
    EvaluationNode node;
    node.mode = role ? role : "";
    node.type = type ? type : "";
    Open(std::move(node));
    _openChannels.push_back(nullptr);
    _before.emplace_back();
}

void EvaluationRecorder::ProductEnds(bool answer) {
    if (_open.empty() || _openChannels.back()) return;
    TakeLines();
    _nodes[_open.back()].answer = answer;
    Close();
}

size_t EvaluationRecorder::Next(size_t at) const { return std::max(_nodes[at].end, at + 1); }

void EvaluationRecorder::Print(FILE* out, size_t from) const {
    for (size_t at = from; at < _nodes.size(); at = Next(at)) PrintNode(out, at, 1);
}

void EvaluationRecorder::PrintNode(FILE* out, size_t at, int depth) const {
    const EvaluationNode& node = _nodes[at];
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    const auto id = [this](size_t channel) {
        return channel < _channels.size() ? _graph.GetChannelIds()[channel] : std::string("-");
    };
    if (node.IsChannel())
        std::fprintf(out, "%strace %s: mode %s -> %g\n", indent.c_str(), id(node.channel).c_str(), node.mode.c_str(),
                     node.value);
    else
        std::fprintf(out, "%s%s \"%s\" -> %s\n", indent.c_str(), node.mode.c_str(), node.type.c_str(),
                     node.answer ? "true" : "false");
    for (const auto& child : node.read)
        std::fprintf(out, "%s  read  child %u %-20s = %s\n", indent.c_str(), child.childIndex, id(child.child).c_str(),
                     child.value.c_str());
    for (size_t child = at + 1; child < node.end; child = Next(child)) PrintNode(out, child, depth + 1);
    for (const auto& child : node.written)
        std::fprintf(out, "%s  write child %u %-20s = %s\n", indent.c_str(), child.childIndex, id(child.child).c_str(),
                     child.value.c_str());
    for (const std::string& line : node.errorLog) std::fprintf(out, "%s  error log: %s\n", indent.c_str(), line.c_str());
    for (const std::string& line : node.debug) std::fprintf(out, "%s  debug: %s\n", indent.c_str(), line.c_str());
}
