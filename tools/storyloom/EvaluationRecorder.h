#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "storyloom/host/EngineHost.h"
#include "ChannelGraph.h"

// One evaluation of a step: a channel's (its mode ran) or a scenario rule node's (an event
// checked, a condition evaluated, an action run), with what it read, wrote and logged.
struct EvaluationNode {
    static constexpr size_t kProduct = ChannelGraph::kNotInGraph - 1;  // `channel` of a rule node

    struct ChildValue {
        unsigned childIndex;
        size_t child;  // place in the graph's channel ids
        std::string value;
    };

    size_t channel = kProduct;  // place in the graph's channel ids, or kProduct
    std::string mode;           // a channel's mode; a rule node's role ("event", "condition", "action")
    std::string type;           // a rule node's type name
    float value = 0.0f;         // what a channel answered
    bool answer = false;        // what a rule node answered
    size_t end = 0;             // one past the node's last descendant, in its step's pre-order
    std::vector<ChildValue> read;     // children it took, each once, valued as the evaluation began
    std::vector<ChildValue> written;  // children whose value the evaluation changed
    std::vector<std::string> errorLog, debug;

    bool IsChannel() const { return channel != kProduct; }
};

// How often a channel was evaluated and what it answered, over a whole run.
struct ChannelTally {
    size_t evaluations = 0;
    std::map<float, size_t> statuses;
    float last = 0.0f;
};

// Records every evaluation the graph makes while it is the engine's observer, step by step,
// as a tree; and tallies, over the run, each channel's evaluations and the links each mode
// took. Only the graph's channels are observed while it lives; the rest of the time an
// evaluation pays one test of a flag.
class EvaluationRecorder : public EvaluationObserver {
public:
    // Without `describesChildren` (a tally for coverage alone) the children's values are not
    // put in words, and the tree shows no values read or written.
    explicit EvaluationRecorder(const ChannelGraph& graph, bool describesChildren = true);
    ~EvaluationRecorder() override;
    EvaluationRecorder(const EvaluationRecorder&) = delete;
    EvaluationRecorder& operator=(const EvaluationRecorder&) = delete;

    // Starts the tree of a new step; lines logged before it are not the step's.
    void BeginStep();
    // The step's evaluations in pre-order: node i's children start at i + 1, each sibling at
    // the previous one's `end`. The top ones are those at 0, nodes[0].end, and so on.
    const std::vector<EvaluationNode>& Nodes() const { return _nodes; }
    // The channels evaluated in the step, each once, in the order first evaluated.
    const std::vector<size_t>& Evaluated() const { return _evaluated; }

    const std::vector<ChannelTally>& Channels() const { return _channels; }
    // Per mode, how often each link position was taken: by the mode's evaluations, and by the
    // rule nodes a construct channel of the mode defines.
    const std::map<std::string, std::map<unsigned, size_t>>& LinksTaken() const { return _linksTaken; }
    const std::map<std::string, size_t>& ModeEvaluations() const { return _modeEvaluations; }

    // The node after `at`'s subtree (an evaluation cut short by an exception still has one).
    size_t Next(size_t at) const;
    // Prints the top evaluations from node `from` on, indented, as --trace shows them.
    void Print(FILE* out, size_t from) const;
    // The link position a child index belongs to, as the channel declares it now; the
    // position count for an index past them all.
    static unsigned LinkPosition(const A3d_Channel& channel, unsigned childIndex);
    // That link's name.
    static std::string LinkName(const A3d_Channel& channel, unsigned childIndex);

    void ChannelBegins(A3d_Channel& channel) override;
    void ChannelEnds(A3d_Channel& channel, float value) override;
    void ChildTaken(const A3d_Channel& parent, unsigned index) override;
    void ProductBegins(const char* role, const char* type) override;
    void ProductEnds(bool answer) override;

private:
    // An evaluation running.
    struct Frame {
        size_t node;
        A3d_Channel* channel;  // null for a rule node
        std::vector<EvaluationNode::ChildValue> before;  // the children's values as it began
        std::vector<std::pair<const A3d_Channel*, unsigned>> taken;  // a rule node's takes from construct channels
    };

    // The graph's channels tell the observer of their evaluations, or stop.
    void SetObserved(bool observed) const;
    // Lines logged since the last event belong to the evaluation running now.
    void TakeLines();
    void Open(EvaluationNode node, A3d_Channel* channel);
    void Close();
    std::vector<EvaluationNode::ChildValue> Children(A3d_Channel& channel);
    // Counts a take of `parent`'s child at `index` for the mode `parent` has.
    void CountTake(const A3d_Channel& parent, unsigned index);
    void PrintNode(FILE* out, size_t at, int depth) const;

    const ChannelGraph& _graph;
    EvaluationObserver* const _previous;
    std::vector<EvaluationNode> _nodes;
    std::vector<Frame> _open;  // outermost first
    std::vector<size_t> _evaluated;
    std::vector<bool> _evaluatedInStep;
    size_t _errorLogSeen = 0, _debugSeen = 0;
    bool _snapshotting = false;  // the recorder's own child reads are no evaluation's
    std::vector<ChannelTally> _channels;
    const bool _describesChildren;
    std::map<std::string, std::map<unsigned, size_t>> _linksTaken;
    std::map<std::string, size_t> _modeEvaluations;
};
