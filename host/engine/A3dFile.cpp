#include "storyloom/host/engine/A3dFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {
constexpr size_t kHeaderSize = 8;

uint32_t ReadLittleEndian(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
}  // namespace

int A3dFileSaver::SaveTag(const char* tag) {
    if (!tag || std::strlen(tag) != 4) return 0;
    _bytes.insert(_bytes.end(), tag, tag + 4);
    return 1;
}

void A3dFileSaver::SaveBlockSize(uint32_t size) {
    for (int i = 0; i < 4; ++i) _bytes.push_back(static_cast<unsigned char>(size >> (8 * i)));
}

void A3dFileSaver::SaveDataToFile(const void* data, uint32_t size) {
    if (!data || size == 0) return;
    const auto* p = static_cast<const unsigned char*>(data);
    _bytes.insert(_bytes.end(), p, p + size);
}

bool A3dFileSaver::SaveBlock(const char* tag, const void* data, uint32_t size) {
    if (!SaveTag(tag)) return false;
    SaveBlockSize(size);
    SaveDataToFile(data, size);
    return true;
}

bool A3dFileSaver::WriteToFile(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(_bytes.data()), static_cast<std::streamsize>(_bytes.size()));
    return static_cast<bool>(out);
}

A3dFileLoader::A3dFileLoader(std::vector<unsigned char> bytes) : _bytes(std::move(bytes)) {}

bool A3dFileLoader::ReadFromFile(const std::string& path) {
    _bytes.clear();
    _position = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    _bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool A3dFileLoader::HasWholeBlock() const {
    if (_bytes.size() - _position < kHeaderSize) return false;
    return ReadLittleEndian(&_bytes[_position + 4]) <= _bytes.size() - _position - kHeaderSize;
}

bool A3dFileLoader::GetInfoIfTag(const char* tag) const {
    if (!tag || std::strlen(tag) != 4 || !HasWholeBlock()) return false;
    return std::memcmp(&_bytes[_position], tag, 4) == 0;
}

uint32_t A3dFileLoader::GetSizeDataBlock(bool includeHeader) const {
    if (!HasWholeBlock()) return 0;
    uint32_t size = ReadLittleEndian(&_bytes[_position + 4]);
    return includeHeader ? size + static_cast<uint32_t>(kHeaderSize) : size;
}

void A3dFileLoader::CopyTagDataToPointer(void* destination) {
    if (!HasWholeBlock()) {  // a cut-off block ends what can be read
        _position = _bytes.size();
        return;
    }
    uint32_t size = GetSizeDataBlock(false);
    if (destination && size > 0) std::memcpy(destination, &_bytes[_position + kHeaderSize], size);
    _position += kHeaderSize + size;
}

void A3dFileLoader::SkipCurrentTag() { CopyTagDataToPointer(nullptr); }

bool A3dFileLoader::ReadFixedBlock(const char* tag, void* destination, uint32_t size) {
    if (!GetInfoIfTag(tag)) return false;
    // A block of the right tag but the wrong size is passed over, so the blocks after it
    // are still read.
    if (GetSizeDataBlock(false) != size) {
        SkipCurrentTag();
        return false;
    }
    CopyTagDataToPointer(destination);
    return true;
}
