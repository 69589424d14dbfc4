#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "storyloom/host/engine/A3dFile.h"
#include "storyloom/host/engine/A3d_ChannelGroup.h"
#include "storyloom/host/engine/ChannelType.h"
#include "storyloom/host/engine/SharedChildCreation.h"

class A3d_Channel;

// The channels handed to DoDependencyInit.
class A3D_API A3d_List {
public:
    void Add(A3d_Channel* channel) { _items.push_back(channel); }
    const std::vector<A3d_Channel*>& Items() const { return _items; }

private:
    std::vector<A3d_Channel*> _items;
};

// Where a channel was reached from, for GetChannelFromChannel.
struct A3D_API ChildInfo {
    unsigned index = 0;
    A3d_Channel* parent = nullptr;
};

// Base of every channel. Children are declared per position (SetChildCreateType) and linked
// by the host (LinkChild). A repeatable position holding n channels takes n consecutive child
// indices followed by one empty index; every other position takes one index. A parent never
// owns its children; a dying channel unlinks itself from every parent.
class A3D_API A3d_Channel {
public:
    A3d_Channel();
    A3d_Channel(const A3d_Channel& other);  // copies name, group and declarations, not links
    A3d_Channel& operator=(const A3d_Channel&) = delete;

    // Virtual operations, in slot order.
    virtual ~A3d_Channel();
    virtual bool CallChannel();
    virtual void OneTimeInitialize();
    virtual void DoEvent(int event, unsigned long data);
    virtual ChannelType GetChannelType();
    virtual bool SaveChannel(A3dFileSaver& saver);
    virtual bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group);
    virtual void SetChannelInterfaceType(int type);
    virtual A3d_Channel* GetChannelFromChannel(A3d_Channel* channel, ChildInfo* info);
    virtual unsigned long GetTimeStamp();
    virtual void SetTimeStamp();
    virtual void DoDependencyInit(A3d_List* list);
    virtual bool CheckIndexNrRemoval(int index);
    virtual A3d_Channel* GetInternalChild(int index);
    virtual bool CheckPublicChannelInstanceRemoval(A3d_Channel* channel, int index);
    virtual void AddMetaData(A3dFileSaver& saver);
    virtual void SetChannelGroup(A3d_ChannelGroup* group);
    virtual void* GetFeedbackClass();
    virtual void SetContextRenderCountName(const char* name);
    virtual const char* GetContextRenderCountName();

    // Child indices.
    A3d_Channel* GetChild(unsigned index) const {
        if (__builtin_expect(_observed, false)) return TakeObservedChild(index);
        return index < _childIndex.size() ? _childIndex[index] : nullptr;
    }
    unsigned GetChildCount() const { return static_cast<unsigned>(_childIndex.size()); }
    // How many channels are linked at the position starting at this child index.
    unsigned GetChildLinkPositionCount(unsigned index) const;

    // Declared positions.
    void SetChildCreationCount(unsigned count);
    void SetChildCreateType(ChildCreation record, unsigned index);
    unsigned GetChildCreationCount() const { return static_cast<unsigned>(_positions.size()); }
    const ChildCreation* GetChildCreateType(unsigned position) const;

    // Linking by declared position: a repeatable one appends, a single one replaces. False
    // when the position is not declared or the child's own or base type does not match.
    bool LinkChild(unsigned position, A3d_Channel* child);
    void UnlinkChild(unsigned position);

    const char* GetChannelName() const { return _hasName ? _name.c_str() : nullptr; }
    void SetChannelName(const char* name);
    A3d_ChannelGroup* GetChannelGroup() const { return _group; }

    // The host's evaluation gate: what CheckRenderCount answers.
    bool CheckRenderCount() const { return _gateOpen; }
    void SetEvaluationGate(bool open) { _gateOpen = open; }

    // Whether the engine's evaluation observer hears of this channel's evaluations and of the
    // children it takes. Off by default: a channel nobody observes pays one test of this flag,
    // which sits beside the child index it reads anyway.
    void SetObserved(bool observed) { _observed = observed; }
    bool IsObserved() const { return _observed; }

private:
    struct Position {
        SharedChildCreation record;
        std::vector<A3d_Channel*> linked;
    };
    void RebuildChildIndex();
    void DetachFromChildren();
    void AddParent(A3d_Channel* parent);
    void ForgetParent(A3d_Channel* parent);
    std::size_t FindParent(const A3d_Channel* parent) const;
    void ForgetChild(A3d_Channel* child);
    // GetChild for an observed channel: the observer hears of it first.
    [[gnu::cold]] A3d_Channel* TakeObservedChild(unsigned index) const;

    struct ParentLinks {
        A3d_Channel* parent;
        unsigned links;
    };

    std::string _name;
    bool _hasName = false;
    A3d_ChannelGroup* _group = nullptr;
    std::vector<Position> _positions;
    std::vector<A3d_Channel*> _childIndex;  // flat child-index view of _positions
    std::vector<unsigned> _linkedAtIndex;   // per child index: channels linked at a position starting there
    std::vector<ParentLinks> _parents;      // one entry per parent, in no particular order
    // Where each parent sits in _parents, kept once a channel has many parents (a shared
    // reference can have thousands); empty while a look through _parents is cheaper.
    std::unordered_map<const A3d_Channel*, std::size_t> _parentSlots;
    bool _gateOpen = true;
    bool _observed = false;
    unsigned long _timeStamp = 0;
    std::string _contextRenderCountName;
    int _interfaceType = 0;
};
