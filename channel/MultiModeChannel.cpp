#include "storyloom/channel/MultiModeChannel.h"

#include <stdexcept>

#include "storyloom/channel/ChannelBlocks.h"
#include "storyloom/channel/ReportFacility.h"

#define MMC_FUNCTION(name) "MultiModeChannel<class Aco_FloatChannel,class Aco_Storyloom>::" name

template <class Base, class Derived>
std::map<unsigned int, ModeDescription> MultiModeChannel<Base, Derived>::_modes;
template <class Base, class Derived>
std::vector<unsigned int> MultiModeChannel<Base, Derived>::_modeOrder;
template <class Base, class Derived>
std::vector<std::vector<ChildCreation>> MultiModeChannel<Base, Derived>::_tempLinks;
template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::_refCount = 0;
template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::_bModesInitialized = false;

template <class Base, class Derived>
MultiModeChannel<Base, Derived>::MultiModeChannel() {
    this->CE_SetSelf(this);
    this->SetChildCreationCount(0);
    ++_refCount;
}

template <class Base, class Derived>
MultiModeChannel<Base, Derived>::MultiModeChannel(const MultiModeChannel& other)
    : Base(other),
      ChannelExtension<Base>(other),
      _currentMode(other._currentMode),
      _initMode(other._initMode),
      _modeDescription(other._modeDescription),
      _namePrefix(other._namePrefix),
      _useAutoChannelName(other._useAutoChannelName),
      _autoSetModeOnLoad(other._autoSetModeOnLoad),
      _loadedMode(other._loadedMode) {
    this->CE_SetSelf(this);
    ++_refCount;
}

template <class Base, class Derived>
MultiModeChannel<Base, Derived>& MultiModeChannel<Base, Derived>::operator=(const MultiModeChannel& other) {
    if (this == &other) return *this;
    ChannelExtension<Base>::operator=(other);
    _currentMode = other._currentMode;
    _initMode = other._initMode;
    _modeDescription = other._modeDescription;
    _namePrefix = other._namePrefix;
    _useAutoChannelName = other._useAutoChannelName;
    _autoSetModeOnLoad = other._autoSetModeOnLoad;
    _loadedMode = other._loadedMode;
    this->CE_SetSelf(this);
    return *this;
}

template <class Base, class Derived>
MultiModeChannel<Base, Derived>::~MultiModeChannel() {
    if (_refCount == 0) {
        ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("~MultiModeChannel"), "_refCount>0"));
        return;
    }
    if (--_refCount == 0) ClearModes();
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::InitMode(unsigned int mode) {
    _initMode = mode;
    if (_tempLinks.size() <= mode) _tempLinks.resize(size_t(mode) + 1);
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::CreateLink(_GUID type, const char* TypeName, const char* Name, int hostValue,
                                                 bool repeatable) {
    ChildCreation record = this->BuildLinkRecord(MMC_FUNCTION("CreateLink"), type, TypeName, Name, hostValue);
    // The link index goes in when the mode is applied.
    record.position = repeatable ? -1 : 0;
    if (_initMode >= _tempLinks.size()) throw std::out_of_range("invalid vector<T> subscript");
    std::vector<ChildCreation>& links = _tempLinks[_initMode];
    this->SetChildLinkName(static_cast<unsigned int>(links.size()), Name ? Name : "");
    links.push_back(record);
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::AddMode(unsigned int mode, const std::string& shortName,
                                              const std::string& name) {
    if (shortName.empty()) ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("AddMode"), "shortName.size()>0"));
    if (name.empty()) ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("AddMode"), "name.size()>0"));
    if (_modes.count(mode))
        throw std::invalid_argument(FormatCheckFailure(MMC_FUNCTION("AddMode"), "ModeAlreadyExists.Mode[%u]", mode));
    InitMode(mode);  // a mode declared without links gets an empty list
    ModeDescription entry;
    entry.name = name;
    entry.shortName = shortName;
    entry.Children = _tempLinks[mode];
    entry.orderIndex = static_cast<unsigned int>(_modes.size());
    _modes.emplace(mode, std::move(entry));
    _modeOrder.push_back(mode);
    if (_modes.size() == 1 && _currentMode == MODE_NONE) _currentMode = 0;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::RunInitializeModes() {
    _bModesInitialized = false;
    _tempLinks.clear();
    InitializeModes();
    _tempLinks.clear();
    _bModesInitialized = true;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::BuildModesList(bool force) {
    if (force || !_bModesInitialized) RunInitializeModes();
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::EnsureModesBuilt() {
    if (!_bModesInitialized) RunInitializeModes();
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::ClearModes() {
    _bModesInitialized = false;
    _tempLinks.clear();
    _modes.clear();
    _modeOrder.clear();
    _currentMode = MODE_NONE;
    this->SetChildCreationCount(0);
}

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetModeCount() const {
    return static_cast<unsigned int>(_modes.size());
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::GetModeNames(std::vector<std::string>& out) const {
    if (_modes.empty()) {
        ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("GetModeNames"), "_modes.size()>0"));
        return;
    }
    for (unsigned int mode : _modeOrder) out.push_back(_modes.at(mode).name);
}

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetModeFromIndex(unsigned int index) const {
    if (index >= _modeOrder.size()) {
        ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("GetModeFromIndex"), "index<_modeOrder.size()"));
        return MODE_NONE;
    }
    return _modeOrder[index];
}

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetIndexFromMode(unsigned int mode) const {
    auto found = _modes.find(mode);
    return found == _modes.end() ? 0 : found->second.orderIndex;
}

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::IsModeValid(unsigned int mode) const {
    return _modes.count(mode) != 0;
}

template <class Base, class Derived>
const ModeDescription* MultiModeChannel<Base, Derived>::GetModeDescription(unsigned int mode) const {
    auto found = _modes.find(mode);
    if (found != _modes.end()) return &found->second;
    ReportToDebugSink(FormatCheckFailure(MMC_FUNCTION("GetModeDescription"), "ModeNotRecognized.Mode[%u]", mode));
    return nullptr;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetCurrentMode(unsigned int mode) {
    EnsureModesBuilt();
    auto found = _modes.find(mode);
    if (found == _modes.end()) {
        // Copied out of the shared buffer: the prefix may need it for a report of its own.
        std::string report = FormatCheckFailure(MMC_FUNCTION("SetCurrentMode"), "InvalidMode[%u]", mode);
        ReportToDebugSink(GetPrefixedMessage(report.c_str()).c_str());
        return;
    }
    const std::vector<ChildCreation>& children = found->second.Children;
    this->SetChildCreationCount(0);
    for (size_t i = 0; i < children.size(); ++i) {
        ChildCreation record = children[i];
        if (record.position != -1) record.position = static_cast<int32_t>(i);
        this->SetChildCreateType(record, static_cast<unsigned int>(i));
    }
    this->CE_SetSelf(this);
    _currentMode = mode;
    ModeIsSet();
    if (_useAutoChannelName) SetAutoChannelName();
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetCurrentModeFromIndex(unsigned int orderIndex) {
    if (orderIndex >= _modeOrder.size()) {
        ReportToDebugSink(
            FormatFailedCondition(MMC_FUNCTION("SetCurrentModeFromIndex"), "orderIndex < _modeOrder.size()"));
        return;
    }
    SetCurrentMode(_modeOrder[orderIndex]);
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::ModeIsSet() {}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetAutoChannelName() {
    const ModeDescription* desc = GetModeDescription(_currentMode);
    std::string name = _namePrefix + (desc ? desc->shortName : FormatText("UnknownMode[%u]", _currentMode));
    this->SetChannelName(name.c_str());
}

template <class Base, class Derived>
const char* MultiModeChannel<Base, Derived>::GetChildLinkName(unsigned int link) {
    EnsureModesBuilt();
    auto found = _modes.find(_currentMode);
    if (found == _modes.end()) {
        ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("GetChildLinkName"), "found != _modes.end()"));
        return "[none]";
    }
    const ModeDescription& desc = found->second;
    if (link >= desc.Children.size()) {
        ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("GetChildLinkName"), "link < desc.Children.size()"));
        return "[none]";
    }
    return desc.Children[link].linkName;
}

template <class Base, class Derived>
std::string MultiModeChannel<Base, Derived>::GetPrefixedMessage(const char* message) {
    if (!message) {
        ReportToDebugSink(FormatFailedCondition(MMC_FUNCTION("GetPrefixedMessage"), "message"));
        message = "";
    }
    std::string result;
    if (const ModeDescription* desc = GetModeDescription(_currentMode)) result = _namePrefix + desc->shortName + ".";
    const char* group = GetChannelGroupName(this);
    const char* name = this->GetChannelName();
    result += "CGR[";
    result += group ? group : "null";
    result += "].Channel[";
    result += name ? name : "null";
    result += "].";
    result += message;
    return result;
}

template <class Base, class Derived>
std::string MultiModeChannel<Base, Derived>::GetPrefixedMessage(std::string message) {
    return GetPrefixedMessage(message.c_str());
}

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::SaveChannel(A3dFileSaver& saver) {
    if (!A3d_Channel::SaveChannel(saver)) return false;
    ChannelBlocks::SaveWord(saver, "MODE", _currentMode);
    const unsigned char flag = _useAutoChannelName ? 1 : 0;
    saver.SaveBlock("UACN", &flag, sizeof(flag));
    return true;
}

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    if (!A3d_Channel::LoadChannel(loader, group)) return false;
    _loadedMode = 0;  // when the file holds no mode
    ChannelBlocks::ReadWord(loader, "MODE", _loadedMode);
    unsigned char flag = 0;
    if (loader.ReadFixedBlock("UACN", &flag, sizeof(flag))) _useAutoChannelName = flag != 0;
    if (_autoSetModeOnLoad) SetCurrentMode(_loadedMode);
    return true;
}

template class MultiModeChannel<Aco_FloatChannel, Aco_Storyloom>;
