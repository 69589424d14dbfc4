#pragma once
#include <map>
#include <string>
#include <vector>

#include "storyloom/channel/ChannelExtension.h"

// One entry of a channel class's mode table.
struct STORYLOOM_API ModeDescription {
    std::string name;        // shown when picking a mode
    std::string shortName;   // builds the automatic channel name and the message prefix
    std::vector<ChildCreation> Children;  // link declarations in link-index order
    unsigned int orderIndex = 0;          // position in the display order
};

constexpr unsigned int MODE_NONE = 0xFFFFFFFF;

// A channel class whose behaviour is chosen per channel from a process-wide mode table.
// The table is built by the first channel that needs it (Derived::InitializeModes) and
// emptied when the last channel of the class dies.
template <class Base, class Derived>
class STORYLOOM_API MultiModeChannel : public Base, public ChannelExtension<Base> {
public:
    MultiModeChannel();
    MultiModeChannel(const MultiModeChannel& other);  // counts as a new channel
    MultiModeChannel& operator=(const MultiModeChannel& other);
    ~MultiModeChannel() override;

    bool SaveChannel(A3dFileSaver& saver) override;
    bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

    virtual void InitializeModes() = 0;
    virtual void ModeIsSet();
    virtual void SetAutoChannelName();
    virtual std::string GetPrefixedMessage(const char* message);
    std::string GetPrefixedMessage(std::string message);

    // Mode table.
    void CreateLink(_GUID type, const char* TypeName, const char* Name, int hostValue, bool repeatable) override;
    // Throws std::invalid_argument when the mode is already in the table.
    void AddMode(unsigned int mode, const std::string& shortName, const std::string& name);
    void BuildModesList(bool force);
    void ClearModes();
    unsigned int GetModeCount() const;
    void GetModeNames(std::vector<std::string>& out) const;
    unsigned int GetModeFromIndex(unsigned int index) const;  // MODE_NONE after a reported bad index
    unsigned int GetIndexFromMode(unsigned int mode) const;
    bool IsModeValid(unsigned int mode) const;
    const ModeDescription* GetModeDescription(unsigned int mode) const;

    // Current mode.
    void SetCurrentMode(unsigned int mode);
    void SetCurrentModeFromIndex(unsigned int orderIndex);
    unsigned int GetCurrentMode() const { return _currentMode; }
    unsigned int GetLoadedMode() const { return _loadedMode; }
    void SetUseAutoChannelName(bool use) { _useAutoChannelName = use; }
    bool GetUseAutoChannelName() const { return _useAutoChannelName; }
    void SetAutoSetModeOnLoad(bool set) { _autoSetModeOnLoad = set; }
    void SetModeDescription(const std::string& text) { _modeDescription = text; }
    const std::string& GetModeDescription() const { return _modeDescription; }
    void SetNamePrefix(const std::string& prefix) { _namePrefix = prefix; }
    const std::string& GetNamePrefix() const { return _namePrefix; }
    // After a reported unknown mode or bad link: "[none]".
    const char* GetChildLinkName(unsigned int link) override;

    static unsigned int GetLiveChannelCount() { return _refCount; }

protected:
    void InitMode(unsigned int mode);

    unsigned int _currentMode = MODE_NONE;
    unsigned int _initMode = 0;
    std::string _modeDescription = "Mode:";  // a label the channel contract names; only its accessors use it
    std::string _namePrefix;
    bool _useAutoChannelName = true;
    bool _autoSetModeOnLoad = true;
    unsigned int _loadedMode = MODE_NONE;

private:
    void EnsureModesBuilt();
    void RunInitializeModes();

    static std::map<unsigned int, ModeDescription> _modes;
    static std::vector<unsigned int> _modeOrder;
    static std::vector<std::vector<ChildCreation>> _tempLinks;
    static unsigned int _refCount;
    static bool _bModesInitialized;  // the statics keep the names the channel contract gives them
};

class STORYLOOM_API Aco_Storyloom;
extern template class MultiModeChannel<Aco_FloatChannel, Aco_Storyloom>;
