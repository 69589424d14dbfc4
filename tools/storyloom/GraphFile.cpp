#include "GraphFile.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <zlib.h>

#include "ChannelGraph.h"
#include "ChannelKind.h"
#include "JsonText.h"
#include "QuotedText.h"

using nlohmann::json;

namespace GraphFile {
namespace {
constexpr const char* kHeaderTag = "SLGH";
constexpr const char* kChannelTag = "SLID";
// Closes the file, so a file cut anywhere is refused rather than read in part.
constexpr const char* kEndTag = "SLEN";
// After the end block, a CRC-32 of every byte before it: a damaged file is told from another
// graph. Engine loaders pass over it as a tag they do not know; files written before it have none.
constexpr const char* kChecksumTag = "SLCK";
constexpr size_t kBlockHeaderSize = 8;
constexpr size_t kChecksumBlockSize = kBlockHeaderSize + 4;

uint32_t Checksum(const unsigned char* bytes, size_t size) {
    return static_cast<uint32_t>(crc32_z(crc32_z(0, nullptr, 0), bytes, size));
}

// Drops the checksum block from the end of `bytes` once it matches; files without one pass as
// they are. False when the block is there but does not match what it follows.
bool TakeChecksum(std::vector<unsigned char>& bytes, std::string& error) {
    const size_t trailerSize = kBlockHeaderSize + kChecksumBlockSize;
    if (bytes.size() < trailerSize) return true;
    const unsigned char* block = bytes.data() + bytes.size() - kChecksumBlockSize;
    const bool followsEndTag = std::memcmp(block - kBlockHeaderSize, kEndTag, 4) == 0;
    if (!followsEndTag || std::memcmp(block, kChecksumTag, 4) != 0) return true;
    A3dFileLoader loader(std::vector<unsigned char>(block, block + kChecksumBlockSize));
    unsigned char stored[4];
    const size_t covered = bytes.size() - kChecksumBlockSize;
    if (!loader.ReadFixedBlock(kChecksumTag, stored, sizeof(stored)) ||
        Checksum(bytes.data(), covered) !=
            (uint32_t(stored[0]) | uint32_t(stored[1]) << 8 | uint32_t(stored[2]) << 16 | uint32_t(stored[3]) << 24)) {
        error = "checksum mismatch: the file is damaged";
        return false;
    }
    bytes.resize(covered);
    return true;
}
}  // namespace

bool Save(const json& description, const A3dPluginLoader& plugin, std::vector<unsigned char>& bytes,
          std::string& error) {
    ChannelGraph graph(plugin);
    if (!graph.Build(description, error)) return false;
    json header = description;
    for (json& entry : header["channels"]) {
        entry.erase("name");
        for (const ChannelKey& key : ChannelKinds::Find(entry["kind"].get<std::string>())->keys)
            if (key.saved) entry.erase(key.name);
    }
    const std::string headerText = header.dump();
    A3dFileSaver saver;
    saver.SaveBlock(kHeaderTag, headerText.data(), static_cast<uint32_t>(headerText.size()));
    for (const std::string& id : graph.GetChannelIds()) {
        saver.SaveBlock(kChannelTag, id.data(), static_cast<uint32_t>(id.size()));
        if (!graph.FindChannel(id)->SaveChannel(saver)) {
            error = "channel \"" + id + "\" could not be saved";
            return false;
        }
    }
    saver.SaveBlock(kEndTag, nullptr, 0);
    const uint32_t checksum = Checksum(saver.GetBytes().data(), saver.GetBytes().size());
    const unsigned char stored[4] = {static_cast<unsigned char>(checksum), static_cast<unsigned char>(checksum >> 8),
                                     static_cast<unsigned char>(checksum >> 16), static_cast<unsigned char>(checksum >> 24)};
    saver.SaveBlock(kChecksumTag, stored, sizeof(stored));
    bytes = saver.GetBytes();
    return true;
}

bool Load(std::vector<unsigned char> bytes, const A3dPluginLoader& plugin, std::string& text, std::string& error) {
    if (!TakeChecksum(bytes, error)) return false;
    const unsigned char* end = bytes.data() + bytes.size();
    const bool endsWithEndBlock = bytes.size() >= kBlockHeaderSize && std::memcmp(end - 8, kEndTag, 4) == 0 &&
                                  std::all_of(end - 4, end, [](unsigned char size) { return size == 0; });
    A3dFileLoader loader(std::move(bytes));
    auto readBlock = [&](const char* tag, std::string& out) {
        if (!loader.GetInfoIfTag(tag)) return false;
        out.assign(loader.GetSizeDataBlock(false), '\0');
        loader.CopyTagDataToPointer(out.data());
        return true;
    };
    std::string headerText, ignored;
    json description;
    if (!readBlock(kHeaderTag, headerText) || !JsonText::Parse(headerText, "header", description, ignored))
        description = json();
    if (!description.is_object() || !description.contains("channels") || !description["channels"].is_array()) {
        error = "not a graph file: no readable header block";
        return false;
    }
    std::map<std::string, json*> entries;
    for (json& entry : description["channels"])
        if (entry.is_object() && entry.contains("id") && entry["id"].is_string())
            entries[entry["id"].get<std::string>()] = &entry;
    std::string id;
    while (readBlock(kChannelTag, id)) {
        auto found = entries.find(id);
        const ChannelKind* kind = found == entries.end() ? nullptr : ChannelKinds::Find(found->second->value("kind", ""));
        std::unique_ptr<A3d_Channel> channel = kind ? kind->make(plugin) : nullptr;
        if (!channel || !channel->LoadChannel(loader, nullptr)) {
            error = "channel " + QuotedText::ForMessage(id) + " cannot be read back";
            return false;
        }
        // What a reopened channel says about itself, in the description's keys.
        if (channel->GetChannelName()) (*found->second)["name"] = channel->GetChannelName();
        kind->save(*channel, *found->second);
        entries.erase(found);
    }
    if (!entries.empty()) {
        error = "channel " + QuotedText::ForMessage(entries.begin()->first) + " is missing";
        return false;
    }
    if (!endsWithEndBlock || !loader.GetInfoIfTag(kEndTag)) {
        error = "the file is cut short or holds unreadable data after the channels";
        return false;
    }
    loader.SkipCurrentTag();
    if (!loader.AtEnd()) {
        error = "the file holds unreadable data after its end block";
        return false;
    }
    try {
        text = description.dump(2);
    } catch (const json::type_error&) {
        error = "a channel's name or text is not valid UTF-8";
        return false;
    }
    return true;
}

}  // namespace GraphFile
