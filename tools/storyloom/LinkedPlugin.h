#pragma once
#include <string>

#include "storyloom/host/engine/A3dPluginLoader.h"

// The program links the plug-in for its classes and still reaches it as an engine does:
// through the exported GetType and InitDLL of the file it was linked with. Another copy of the
// plug-in beside it would register every mode twice, so there is no other to choose.
namespace LinkedPlugin {
// The file the linked plug-in was loaded from; empty when the loader cannot tell.
std::string Path();
// Opens that file in `plugin`; false with the reason in `error`.
bool Open(A3dPluginLoader& plugin, std::string& error);
}  // namespace LinkedPlugin
