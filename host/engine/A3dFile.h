#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <cstdint>
#include <string>
#include <vector>

// Channel files are a flat run of blocks: a 4-character tag, a 32-bit little-endian data
// size, then the data.
class A3D_API A3dFileSaver {
public:
    // Starts a block; 0 when the tag is not exactly 4 characters.
    int SaveTag(const char* tag);
    void SaveBlockSize(uint32_t size);
    void SaveDataToFile(const void* data, uint32_t size);
    // A whole block: tag, size, data. False when the tag is not 4 characters.
    bool SaveBlock(const char* tag, const void* data, uint32_t size);

    const std::vector<unsigned char>& GetBytes() const { return _bytes; }
    bool WriteToFile(const std::string& path) const;

private:
    std::vector<unsigned char> _bytes;
};

class A3D_API A3dFileLoader {
public:
    A3dFileLoader() = default;
    explicit A3dFileLoader(std::vector<unsigned char> bytes);
    // False when the file cannot be read; the loader is then empty.
    bool ReadFromFile(const std::string& path);

    // True when a whole block with this tag starts at the read position.
    bool GetInfoIfTag(const char* tag) const;
    // Data size of the current block; 0 when no whole block is left.
    uint32_t GetSizeDataBlock(bool includeHeader) const;
    // Copies the current block's data and moves past it.
    void CopyTagDataToPointer(void* destination);
    void SkipCurrentTag();
    // Copies the current block when it carries `tag` and holds exactly `size` bytes; skips it
    // when it carries `tag` with another size.
    bool ReadFixedBlock(const char* tag, void* destination, uint32_t size);
    bool AtEnd() const { return !HasWholeBlock(); }

private:
    bool HasWholeBlock() const;

    std::vector<unsigned char> _bytes;
    size_t _position = 0;
};
