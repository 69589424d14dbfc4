#include "SourceHash.h"

#include <cstdint>

std::string SourceHash(std::string_view source) {
    // FNV-1a: a hash, not a checksum against tampering; 32 bits folded from 64 keep a
    // changed source from matching by chance in all but one of four billion cases.
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char c : source) hash = (hash ^ c) * 0x100000001b3u;
    const std::uint32_t folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
    static const char digits[] = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7, shift = 0; i >= 0; --i, shift += 4) out[i] = digits[(folded >> shift) & 15];
    return out;
}
