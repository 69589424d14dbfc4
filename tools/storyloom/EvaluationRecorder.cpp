#include "EvaluationRecorder.h"

#include <algorithm>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

EvaluationRecorder::EvaluationRecorder(const ChannelGraph& graph, bool describesChildren)
    : _graph(graph),
      _previous(globalEngine.GetEvaluationObserver()),
      _channels(graph.GetChannelIds().size()),
      _describesChildren(describesChildren) {
    globalEngine.SetEvaluationObserver(this);
    SetObserved(true);
    BeginStep();
}

EvaluationRecorder::~EvaluationRecorder() {
    SetObserved(false);
    globalEngine.SetEvaluationObserver(_previous);
}

void EvaluationRecorder::SetObserved(bool observed) const {
    for (const std::string& id : _graph.GetChannelIds()) _graph.FindChannel(id)->SetObserved(observed);
}

void EvaluationRecorder::BeginStep() {
    _nodes.clear();
    _open.clear();
    for (size_t channel : _evaluated) _evaluatedInStep[channel] = false;
    _evaluated.clear();
    _evaluatedInStep.resize(_channels.size());
    _errorLogSeen = Core::GetErrorLog().size();
    _debugSeen = globalEngine.GetDebugMessages().size();
}

void EvaluationRecorder::TakeLines() {
    const auto take = [](const std::vector<std::string>& lines, size_t& seen, std::vector<std::string>* into) {
        if (into) into->insert(into->end(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(seen, lines.size())), lines.end());
        seen = lines.size();
    };
    EvaluationNode* running = _open.empty() ? nullptr : &_nodes[_open.back().node];
    take(Core::GetErrorLog(), _errorLogSeen, running ? &running->errorLog : nullptr);
    take(globalEngine.GetDebugMessages(), _debugSeen, running ? &running->debug : nullptr);
}

void EvaluationRecorder::Open(EvaluationNode node, A3d_Channel* channel) {
    _open.push_back({_nodes.size(), channel, channel ? Children(*channel) : std::vector<EvaluationNode::ChildValue>(), {}});
    _nodes.push_back(std::move(node));
}

void EvaluationRecorder::Close() {
    _nodes[_open.back().node].end = _nodes.size();
    _open.pop_back();
}

std::vector<EvaluationNode::ChildValue> EvaluationRecorder::Children(A3d_Channel& channel) {
    std::vector<EvaluationNode::ChildValue> values;
    if (!_describesChildren) return values;
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
    Open(std::move(node), &channel);
}

void EvaluationRecorder::ChildTaken(const A3d_Channel& parent, unsigned index) {
    if (_snapshotting || _open.empty()) return;
    Frame& frame = _open.back();
    if (!frame.channel) {
        // A rule node reading its construct channel: the construct's mode link is covered.
        const auto take = std::make_pair(&parent, index);
        if (std::find(frame.taken.begin(), frame.taken.end(), take) != frame.taken.end()) return;
        frame.taken.push_back(take);
        CountTake(parent, index);
        return;
    }
    if (frame.channel != &parent) return;
    EvaluationNode& node = _nodes[frame.node];
    for (const EvaluationNode::ChildValue& taken : node.read)
        if (taken.childIndex == index) return;
    auto found = std::find_if(frame.before.begin(), frame.before.end(),
                              [index](const auto& child) { return child.childIndex == index; });
    node.read.push_back(found != frame.before.end() ? *found
                                                     : EvaluationNode::ChildValue{index, ChannelGraph::kNotInGraph,
                                                                                  _describesChildren ? "(nothing linked)" : ""});
}

void EvaluationRecorder::CountTake(const A3d_Channel& parent, unsigned index) {
    auto* storyloom = dynamic_cast<const Aco_Storyloom*>(&parent);
    if (!storyloom || _graph.IndexOf(&parent) == ChannelGraph::kNotInGraph) return;
    const ModeDescription* mode = storyloom->GetModeDescription(storyloom->GetCurrentMode());
    if (mode) ++_linksTaken[mode->shortName][LinkPosition(parent, index)];
}

unsigned EvaluationRecorder::LinkPosition(const A3d_Channel& channel, unsigned childIndex) {
    unsigned at = 0, position = 0;
    for (; position < channel.GetChildCreationCount(); ++position) {
        const ChildCreation* record = channel.GetChildCreateType(position);
        at += record && record->IsRepeatable() ? channel.GetChildLinkPositionCount(at) + 1 : 1;
        if (childIndex < at) break;
    }
    return position;
}

std::string EvaluationRecorder::LinkName(const A3d_Channel& channel, unsigned childIndex) {
    const ChildCreation* record = channel.GetChildCreateType(LinkPosition(channel, childIndex));
    return record ? record->linkName : "child " + std::to_string(childIndex);
}

void EvaluationRecorder::ChannelEnds(A3d_Channel& channel, float value) {
    if (_open.empty() || _open.back().channel != &channel) return;
    TakeLines();
    EvaluationNode& node = _nodes[_open.back().node];
    node.value = value;
    const auto& before = _open.back().before;
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
        for (const EvaluationNode::ChildValue& taken : node.read) CountTake(channel, taken.childIndex);
    }
    Close();
}

void EvaluationRecorder::ProductBegins(const char* role, const char* type) {
    TakeLines();
    EvaluationNode node;
    node.mode = role ? role : "";
    node.type = type ? type : "";
    Open(std::move(node), nullptr);
}

void EvaluationRecorder::ProductEnds(bool answer) {
    if (_open.empty() || _open.back().channel) return;
    TakeLines();
    _nodes[_open.back().node].answer = answer;
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
