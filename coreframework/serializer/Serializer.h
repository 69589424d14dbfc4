#pragma once
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storyloom/coreframework/serializer/DataChunk.h"
#include "storyloom/coreframework/serializer/SerializerFlag.h"

namespace boost {
class timed_mutex;
}
class ImportText;

// One node of a tree of named values, written as an indented tag text and read back from
// such a text. The text looks like XML but is not: no escaping, no character references,
// and the reader is a scanner for what the writer produces.
class Serializer {
public:
    // Results of Import besides a non-zero answer of OnImportUnknownData.
    static constexpr int ImportDone = 0;
    static constexpr int ImportUnclosedAttribute = 1;  // also: text ends inside a tag
    static constexpr int ImportTagNotFound = 109;
    static constexpr int ImportUnbalancedElement = 112;  // an error dump file was written

    Serializer();
    Serializer(const Serializer&) = delete;
    Serializer& operator=(const Serializer&) = delete;

    // Appends the node's text to `out`: its tag only for state Export, then its chunk lines,
    // then its children. Answers 0.
    virtual int Export(CustomEnums::SerializerFlag::State state, std::string& out,
                       unsigned int indent);
    // Reads the node's values from `data` and removes from it what was consumed.
    virtual int Import(CustomEnums::SerializerFlag::State state, std::string& data);
    // A nested element (one holding further elements); a non-zero answer stops the import.
    virtual int OnImportUnknownData(const std::string& tag, const std::string& text);
    // A simple element that no chunk is named after; `text` is the piece that holds it.
    virtual int OnImportUnknownChunk(const std::string& name, const std::string& text);
    // A chunk has just received a value.
    virtual int OnImportChunk(const DataChunk* chunk);
    // Frees the chunks; children belong to whoever built the tree.
    virtual ~Serializer();

    void SetTag(const std::string& tag);
    const std::string& GetTag() const { return _tag; }
    bool HasTag() const { return _hasTag; }

    void AddChild(Serializer* child);

    // A chunk owning its value, or null (and nothing added) when that list has the name.
    template <class U>
    TDataChunkValue<U>* AddChunk(const std::string& name, U value, const U& defaultValue,
                                 bool asAttribute) {
        if (FindChunk(name, asAttribute)) return nullptr;
        auto* chunk = new TDataChunkValue<U>(name, value, defaultValue);
        (asAttribute ? _attributes : _chunks).push_back(chunk);
        return chunk;
    }

    // A data chunk holding a copy of the variable's value, found again by the variable's
    // address when a change of it is queued.
    template <class U>
    TDataChunkValue<U>* AddChunkFor(const std::string& name, const U* variable,
                                    const U& defaultValue) {
        if (!FRAMEWORK_ASSERT(variable, "coreframework/serializer/Serializer")) return nullptr;
        TDataChunkValue<U>* chunk = AddChunk<U>(name, *variable, defaultValue, false);
        if (chunk) _chunksByAddress.emplace(variable, chunk);
        return chunk;
    }

    // Takes ownership of any chunk, for example one bound to a variable (TDataChunkPtr).
    // False, and the chunk deleted, when that list has the name already.
    bool AdoptChunk(DataChunk* chunk, bool asAttribute);

    DataChunk* FindChunk(const std::string& name, bool attribute) const;

    // May be called from any thread.
    void QueueChange(const void* address);
    // The chunk of the oldest queued address that has one, else the first a child answers.
    DataChunk* TakeChangedChunk();

    // The content of the first element `name` in `text` (comments removed, not trimmed).
    // Answers 0, or 1 with `out` untouched when the element is not there.
    static int GetElementText(std::string& out, const std::string& text,
                              const std::string& name);
    // The same for a text without comments, as a view into it; false when not there.
    static bool FindElementText(std::string_view text, std::string_view name,
                                std::string_view& content);

private:
    struct ImportBuffers;
    // The reader's steps; each answers ImportDone to go on, else the import's result.
    int ImportOwnTag(ImportText& text, std::size_t& scan, ImportBuffers& buffers);
    bool ImportAttribute(std::string_view attribute, ImportBuffers& buffers);
    int ImportElements(ImportText& text, std::size_t scan, ImportBuffers& buffers);
    // Gives the value to the first chunk of that name; false when there is none.
    bool ReadChunk(const std::vector<DataChunk*>& chunks, std::string_view name,
                   std::string_view value, ImportBuffers& buffers);

    std::vector<DataChunk*> _attributes;
    std::vector<DataChunk*> _chunks;
    std::vector<Serializer*> _children;
    std::string _tag;
    bool _hasTag = false;
    std::map<const void*, DataChunk*> _chunksByAddress;
    std::deque<const void*> _changeQueue;
    std::unique_ptr<boost::timed_mutex> _changeMutex;
};
