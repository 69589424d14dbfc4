#include "storyloom/channel/ChannelBlocks.h"

namespace ChannelBlocks {

bool SaveWord(A3dFileSaver& saver, const char* tag, uint32_t value) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return saver.SaveBlock(tag, bytes, sizeof(bytes));
}

bool ReadWord(A3dFileLoader& loader, const char* tag, uint32_t& value) {
    unsigned char bytes[4];
    if (!loader.ReadFixedBlock(tag, bytes, sizeof(bytes))) return false;
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

}  // namespace ChannelBlocks
