#pragma once
// Fixed blocks of the channel framework in the host's file container.
#include <cstdint>

#include "storyloom/host/engine/A3dFile.h"

namespace ChannelBlocks {
// A whole number as 4 bytes little-endian, whatever the machine.
bool SaveWord(A3dFileSaver& saver, const char* tag, uint32_t value);
// False when no block with `tag` is next; a block of another size than 4 is skipped, once, and
// also answers false.
bool ReadWord(A3dFileLoader& loader, const char* tag, uint32_t& value);
}  // namespace ChannelBlocks
