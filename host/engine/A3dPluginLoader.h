#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <string>

#include "storyloom/host/engine/A3d_Channel.h"

// Loads a channel plug-in the way the engine does: open the shared library, find the
// exported GetType and InitDLL by name, and create channels through InitDLL.
class A3D_API A3dPluginLoader {
public:
    A3dPluginLoader() = default;
    A3dPluginLoader(const A3dPluginLoader&) = delete;
    A3dPluginLoader& operator=(const A3dPluginLoader&) = delete;
    ~A3dPluginLoader();  // closes the library; channels it made must be gone by then

    // False with GetError() set when the library or an entry function is missing.
    bool Load(const std::string& path);
    bool IsLoaded() const { return _handle != nullptr; }
    const std::string& GetError() const { return _error; }

    ChannelType* GetType() const;     // null when nothing is loaded
    A3d_Channel* CreateChannel() const;  // caller owns it; null when nothing is loaded

private:
    using GetTypeFunction = ChannelType* (*)();
    using InitDllFunction = A3d_Channel* (*)();

    void* _handle = nullptr;
    GetTypeFunction _getType = nullptr;
    InitDllFunction _initDll = nullptr;
    std::string _error;
};
