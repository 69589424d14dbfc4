#pragma once
#include "storyloom/host/engine/HostExport.h"

class A3d_Channel;

// Told of the evaluations the graph makes while it is set on the engine, in the order they
// happen, nested as they nest: a debugging and profiling hook, like an engine's node inspector.
// With none set, each hooked place costs one test of a pointer.
class A3D_API EvaluationObserver {
public:
    virtual ~EvaluationObserver();
    // A computed channel evaluates; ChannelEnds follows with the value it answers.
    virtual void ChannelBegins(A3d_Channel& channel) = 0;
    virtual void ChannelEnds(A3d_Channel& channel, float value) = 0;
    // A channel takes the child at a child index.
    virtual void ChildTaken(const A3d_Channel& parent, unsigned index) = 0;
    // A scenario rule's node runs ("event", "condition", "action"); ProductEnds follows with
    // its answer (an action's is true).
    virtual void ProductBegins(const char* role, const char* type) = 0;
    virtual void ProductEnds(bool answer) = 0;
};
