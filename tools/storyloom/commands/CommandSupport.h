#pragma once
#include <string>

#include "storyloom/host/engine/A3dPluginLoader.h"
#include "ExitStatus.h"

// What the commands share: their failure line, the plug-in and the graph they read.

// Prints "storyloom: MESSAGE" on standard error after everything printed before it; answers `status`.
ExitStatus::Code Fail(ExitStatus::Code status, const std::string& message);

// By the name alone: a channel file (.cgr); a graph description (.json) or a channel file.
bool IsChannelFile(const std::string& path);
bool IsGraphFile(const std::string& path);

// Opens the plug-in the program is linked with, as an engine would (see LinkedPlugin).
ExitStatus::Code OpenPlugin(A3dPluginLoader& plugin);

// Opens the plug-in, then reads the JSON text of the graph at `path`: a description, or a
// channel file reopened through the plug-in.
ExitStatus::Code OpenGraph(const std::string& path, A3dPluginLoader& plugin, std::string& text);
// Reads the JSON text of the graph at `path` through an open plug-in.
ExitStatus::Code ReadGraph(const std::string& path, const A3dPluginLoader& plugin, std::string& text);
