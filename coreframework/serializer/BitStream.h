#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Single bits appended and read back in order. Reading past the end sets the failure flag,
// which stays set: readers check it once after a batch of reads.
class BitStream {
public:
    void WriteBit(bool bit);
    void WriteByte(std::uint8_t byte);  // least significant bit first
    bool ReadBit();                     // false once the stream has failed
    std::uint8_t ReadByte();

    // True when the next count bits can be read.
    bool CanRead(std::size_t count) const { return !_failed && _readPosition + count <= _bitCount; }
    bool HasFailed() const { return _failed; }
    void SetFailed() { _failed = true; }
    std::size_t GetBitCount() const { return _bitCount; }

private:
    std::vector<std::uint8_t> _bytes;
    std::size_t _bitCount = 0;
    std::size_t _readPosition = 0;
    bool _failed = false;
};
