#include "storyloom/host/engine/A3d_Channel.h"

#include <algorithm>
#include <cstring>

#include "storyloom/host/engine/A3dEngine.h"
#include "storyloom/host/engine/EvaluationObserver.h"

namespace {
// The base channel class's own type; channels built on nothing have the zero base GUID.
constexpr _GUID kChannelGuid = {0x5C1A7E2D, 0x3B84, 0x4F0E, {0x9A, 0x61, 0x0D, 0x52, 0xC7, 0x18, 0xE4, 0x93}};
}  // namespace

A3d_Channel::A3d_Channel() = default;

A3d_Channel* A3d_Channel::TakeObservedChild(unsigned index) const {
    if (EvaluationObserver* observer = globalEngine.GetEvaluationObserver()) observer->ChildTaken(*this, index);
    return index < _childIndex.size() ? _childIndex[index] : nullptr;
}

A3d_Channel::A3d_Channel(const A3d_Channel& other)
    : _name(other._name),
      _hasName(other._hasName),
      _group(other._group),
      _gateOpen(other._gateOpen),
      _contextRenderCountName(other._contextRenderCountName),
      _interfaceType(other._interfaceType) {
    for (const Position& p : other._positions) _positions.push_back({p.record, {}});
    RebuildChildIndex();
}

A3d_Channel::~A3d_Channel() {
    DetachFromChildren();
    std::vector<ParentLinks> parents;
    parents.swap(_parents);
    _parentSlots.clear();
    for (const ParentLinks& entry : parents) entry.parent->ForgetChild(this);
}

bool A3d_Channel::CallChannel() { return true; }
void A3d_Channel::OneTimeInitialize() {}
void A3d_Channel::DoEvent(int, unsigned long) {}
ChannelType A3d_Channel::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type("A3d_Channel", kChannelGuid, ChannelGuids::None);
    return type;
}

bool A3d_Channel::SaveChannel(A3dFileSaver& saver) {
    uint32_t size = _hasName ? static_cast<uint32_t>(_name.size() + 1) : 0;
    return saver.SaveBlock("NAME", _name.c_str(), size);
}

bool A3d_Channel::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    if (!loader.GetInfoIfTag("NAME")) return false;
    std::vector<char> name(loader.GetSizeDataBlock(false) + 1, '\0');
    bool hasName = name.size() > 1;
    loader.CopyTagDataToPointer(name.data());
    SetChannelName(hasName ? name.data() : nullptr);
    _group = group;
    return true;
}

void A3d_Channel::SetChannelInterfaceType(int type) { _interfaceType = type; }

A3d_Channel* A3d_Channel::GetChannelFromChannel(A3d_Channel* channel, ChildInfo* info) {
    if (!channel) return nullptr;
    for (unsigned i = 0; i < _childIndex.size(); ++i) {
        if (_childIndex[i] != channel) continue;
        if (info) *info = ChildInfo{i, this};
        return channel;
    }
    return nullptr;
}

unsigned long A3d_Channel::GetTimeStamp() { return _timeStamp; }
void A3d_Channel::SetTimeStamp() { ++_timeStamp; }
void A3d_Channel::DoDependencyInit(A3d_List*) {}
bool A3d_Channel::CheckIndexNrRemoval(int index) { return index >= 0 && unsigned(index) < GetChildCount(); }
A3d_Channel* A3d_Channel::GetInternalChild(int) { return nullptr; }

bool A3d_Channel::CheckPublicChannelInstanceRemoval(A3d_Channel* channel, int) {
    return std::find(_childIndex.begin(), _childIndex.end(), channel) != _childIndex.end();
}

void A3d_Channel::AddMetaData(A3dFileSaver&) {}
void A3d_Channel::SetChannelGroup(A3d_ChannelGroup* group) { _group = group; }
void* A3d_Channel::GetFeedbackClass() { return nullptr; }
void A3d_Channel::SetContextRenderCountName(const char* name) { _contextRenderCountName = name ? name : ""; }
const char* A3d_Channel::GetContextRenderCountName() { return _contextRenderCountName.c_str(); }

unsigned A3d_Channel::GetChildLinkPositionCount(unsigned index) const {
    return index < _linkedAtIndex.size() ? _linkedAtIndex[index] : 0;
}

void A3d_Channel::SetChildCreationCount(unsigned count) {
    if (count < _positions.size()) {
        for (size_t p = count; p < _positions.size(); ++p)
            for (A3d_Channel* child : _positions[p].linked) child->ForgetParent(this);
        _positions.resize(count);
    } else {
        _positions.resize(count);
    }
    RebuildChildIndex();
}

void A3d_Channel::SetChildCreateType(ChildCreation record, unsigned index) {
    if (index >= _positions.size()) _positions.resize(index + 1);
    Position& position = _positions[index];
    position.record = SharedChildCreation(record);
    // A position that became single keeps only its first channel.
    if (!record.IsRepeatable() && position.linked.size() > 1) {
        for (size_t i = 1; i < position.linked.size(); ++i) position.linked[i]->ForgetParent(this);
        position.linked.resize(1);
    }
    RebuildChildIndex();
}

const ChildCreation* A3d_Channel::GetChildCreateType(unsigned position) const {
    return position < _positions.size() ? &_positions[position].record.Get() : nullptr;
}

bool A3d_Channel::LinkChild(unsigned position, A3d_Channel* child) {
    if (!child || position >= _positions.size()) return false;
    Position& target = _positions[position];
    const _GUID& wanted = target.record.Get().type.typeGuid;
    if (wanted != ChannelGuids::Generic) {
        ChannelType type = child->GetChannelType();
        if (type.typeGuid != wanted && type.baseTypeGuid != wanted) return false;
    }
    if (!target.record.Get().IsRepeatable()) UnlinkChild(position);
    target.linked.push_back(child);
    child->AddParent(this);
    RebuildChildIndex();
    return true;
}

void A3d_Channel::UnlinkChild(unsigned position) {
    if (position >= _positions.size()) return;
    for (A3d_Channel* child : _positions[position].linked) child->ForgetParent(this);
    _positions[position].linked.clear();
    RebuildChildIndex();
}

void A3d_Channel::SetChannelName(const char* name) {
    _hasName = name != nullptr;
    _name = name ? name : "";
}

void A3d_Channel::RebuildChildIndex() {
    _childIndex.clear();
    _linkedAtIndex.clear();
    for (const Position& p : _positions) {
        _linkedAtIndex.push_back(static_cast<unsigned>(p.linked.size()));
        if (p.record.Get().IsRepeatable()) {
            _childIndex.insert(_childIndex.end(), p.linked.begin(), p.linked.end());
            _childIndex.push_back(nullptr);
            _linkedAtIndex.resize(_childIndex.size(), 0);
        } else {
            _childIndex.push_back(p.linked.empty() ? nullptr : p.linked.front());
        }
    }
}

void A3d_Channel::DetachFromChildren() {
    for (Position& p : _positions) {
        for (A3d_Channel* child : p.linked) child->ForgetParent(this);
        p.linked.clear();
    }
    _childIndex.clear();
    _linkedAtIndex.clear();
}

namespace {
// Up to this many parents a look through the list beats hashing.
constexpr std::size_t kParentsWithoutSlots = 8;
constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);
}  // namespace

std::size_t A3d_Channel::FindParent(const A3d_Channel* parent) const {
    if (!_parentSlots.empty()) {
        auto found = _parentSlots.find(parent);
        return found == _parentSlots.end() ? kNoParent : found->second;
    }
    for (std::size_t i = 0; i < _parents.size(); ++i)
        if (_parents[i].parent == parent) return i;
    return kNoParent;
}

void A3d_Channel::AddParent(A3d_Channel* parent) {
    const std::size_t slot = FindParent(parent);
    if (slot != kNoParent) {
        ++_parents[slot].links;
        return;
    }
    _parents.push_back({parent, 1});
    if (!_parentSlots.empty()) {
        _parentSlots.emplace(parent, _parents.size() - 1);
    } else if (_parents.size() > kParentsWithoutSlots) {
        _parentSlots.reserve(_parents.size());
        for (std::size_t i = 0; i < _parents.size(); ++i) _parentSlots.emplace(_parents[i].parent, i);
    }
}

void A3d_Channel::ForgetParent(A3d_Channel* parent) {
    // The order of parents means nothing, and a channel shared by thousands of parents must
    // not move them all each time one goes.
    const std::size_t slot = FindParent(parent);
    if (slot == kNoParent || --_parents[slot].links > 0) return;
    if (!_parentSlots.empty()) {
        _parentSlots.erase(parent);
        if (slot + 1 < _parents.size()) _parentSlots[_parents.back().parent] = slot;
    }
    _parents[slot] = _parents.back();
    _parents.pop_back();
}

void A3d_Channel::ForgetChild(A3d_Channel* child) {
    for (Position& p : _positions) p.linked.erase(std::remove(p.linked.begin(), p.linked.end(), child), p.linked.end());
    RebuildChildIndex();
}
