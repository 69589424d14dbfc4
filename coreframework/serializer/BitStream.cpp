#include "storyloom/coreframework/serializer/BitStream.h"

void BitStream::WriteBit(bool bit) {
    if (_bitCount % 8 == 0) _bytes.push_back(0);
    if (bit) _bytes.back() |= static_cast<std::uint8_t>(1u << (_bitCount % 8));
    ++_bitCount;
}

void BitStream::WriteByte(std::uint8_t byte) {
    for (int i = 0; i < 8; ++i) WriteBit((byte >> i) & 1u);
}

bool BitStream::ReadBit() {
    if (!CanRead(1)) {
        _failed = true;
        return false;
    }
    bool bit = (_bytes[_readPosition / 8] >> (_readPosition % 8)) & 1u;
    ++_readPosition;
    return bit;
}

std::uint8_t BitStream::ReadByte() {
    std::uint8_t byte = 0;
    for (int i = 0; i < 8; ++i)
        if (ReadBit()) byte |= static_cast<std::uint8_t>(1u << i);
    return byte;
}
