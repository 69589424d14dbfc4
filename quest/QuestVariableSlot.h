#pragma once
#include "storyloom/channel/Export.h"

class A3d_Channel;

// A variable slot of a channel-defined node that mirrors itself into the construct channel's
// child at the slot's position. Slots are owned and destroyed through their core slot part.
class STORYLOOM_API QuestVariableSlot {
public:
    // The slot's value into the child at `childIndex` of `channel`.
    virtual void SyncToQuest(A3d_Channel* channel, unsigned int childIndex) = 0;
    // The child's value into the variable bound to the slot (output slots only).
    virtual void SyncFromQuest(A3d_Channel* channel, unsigned int childIndex) = 0;

protected:
    ~QuestVariableSlot() = default;
};
