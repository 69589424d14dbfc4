#include "CommandSupport.h"

#include <cstdio>
#include <vector>

#include "GraphFile.h"
#include "JsonText.h"
#include "LinkedPlugin.h"

namespace {
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
}  // namespace

ExitStatus::Code Fail(ExitStatus::Code status, const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "storyloom: %s\n", message.c_str());
    return status;
}

bool IsChannelFile(const std::string& path) { return EndsWith(path, ".cgr"); }
bool IsGraphFile(const std::string& path) { return EndsWith(path, ".json") || IsChannelFile(path); }

ExitStatus::Code OpenPlugin(A3dPluginLoader& plugin) {
    std::string error;
    return LinkedPlugin::Open(plugin, error) ? ExitStatus::Success : Fail(ExitStatus::Failed, error);
}

ExitStatus::Code OpenGraph(const std::string& path, A3dPluginLoader& plugin, std::string& text) {
    if (ExitStatus::Code status = OpenPlugin(plugin)) return status;
    return ReadGraph(path, plugin, text);
}

ExitStatus::Code ReadGraph(const std::string& path, const A3dPluginLoader& plugin, std::string& text) {
    std::string error;
    if (!JsonText::ReadFile(path, text, error)) return Fail(ExitStatus::UsageError, error);
    if (!IsChannelFile(path)) return ExitStatus::Success;
    std::vector<unsigned char> bytes(text.begin(), text.end());
    if (!GraphFile::Load(bytes, plugin, text, error)) return Fail(ExitStatus::Failed, path + ": " + error);
    return ExitStatus::Success;
}
