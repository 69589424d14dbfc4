#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "storyloom/host/engine/A3dPluginLoader.h"

// A graph in a channel file (.cgr): a header block with what channels do not save
// themselves (entities, steps, kinds, groups, references, links by id), then per channel an
// id block followed by the channel's own blocks (name, value, mode, automatic-name flag), and
// an end block and a checksum block.
namespace GraphFile {

// Builds the checked description's channels and writes them; false with the reason in `error`.
bool Save(const nlohmann::json& description, const A3dPluginLoader& plugin, std::vector<unsigned char>& bytes,
          std::string& error);

// Reopens the channels of a file and answers the description they make, as JSON text.
bool Load(std::vector<unsigned char> bytes, const A3dPluginLoader& plugin, std::string& text, std::string& error);

}  // namespace GraphFile
