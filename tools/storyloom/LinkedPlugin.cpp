#include "LinkedPlugin.h"

#include <dlfcn.h>

#include "storyloom/scenario_channel/StoryloomChannel.h"

namespace LinkedPlugin {

std::string Path() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&GetType), &info) && info.dli_fname) return info.dli_fname;
    return "";
}

bool Open(A3dPluginLoader& plugin, std::string& error) {
    const std::string path = Path();
    if (path.empty()) {
        error = "the plug-in this program is linked with cannot be found";
        return false;
    }
    // dlopen hands back the copy already mapped, so its modes stay registered once.
    if (plugin.Load(path)) return true;
    error = "the plug-in does not load: " + plugin.GetError();
    return false;
}

}  // namespace LinkedPlugin
