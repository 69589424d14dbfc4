#include "storyloom/host/engine/A3dPluginLoader.h"

#include <dlfcn.h>

A3dPluginLoader::~A3dPluginLoader() {
    if (_handle) dlclose(_handle);
}

bool A3dPluginLoader::Load(const std::string& path) {
    if (_handle) {
        _error = "a plug-in is already loaded";
        return false;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        _error = why ? why : "cannot open " + path;
        return false;
    }
    auto getType = reinterpret_cast<GetTypeFunction>(dlsym(handle, "GetType"));
    auto initDll = reinterpret_cast<InitDllFunction>(dlsym(handle, "InitDLL"));
    if (!getType || !initDll) {
        _error = path + " does not export GetType and InitDLL";
        dlclose(handle);
        return false;
    }
    _handle = handle;
    _getType = getType;
    _initDll = initDll;
    _error.clear();
    return true;
}

ChannelType* A3dPluginLoader::GetType() const { return _getType ? _getType() : nullptr; }
A3d_Channel* A3dPluginLoader::CreateChannel() const { return _initDll ? _initDll() : nullptr; }
