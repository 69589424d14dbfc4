#include "coreframework/serializer/Serializer.h"

#include <algorithm>
#include <boost/thread/locks.hpp>
#include <boost/thread/mutex.hpp>
#include <string_view>

#include "coreframework/serializer/ImportText.h"

using std::string;

namespace {

const char* const sourcePath = "coreframework/serializer/Serializer";

// Finds `what` starting at `from` among the characters of `text` before `end`.
size_t FindBefore(const string& text, std::string_view what, size_t from, size_t end) {
    return std::string_view(text.data(), std::min(end, text.size())).find(what, from);
}

bool EndsOpeningName(char c) { return c == ' ' || c == '\t' || c == '>'; }

// The first `start` + `name` + ">" at or after `from`.
size_t FindTag(std::string_view text, std::string_view start, std::string_view name, size_t from) {
    string tag(start);
    tag.append(name.data(), name.size());
    tag += '>';
    return text.find(tag, from);
}

}  // namespace

Serializer::Serializer() : _changeMutex(std::make_unique<boost::timed_mutex>()) {}

Serializer::~Serializer() {
    for (DataChunk* chunk : _attributes) delete chunk;
    for (DataChunk* chunk : _chunks) delete chunk;
}

void Serializer::SetTag(const string& tag) {
    _tag = tag;
    _hasTag = true;
}

void Serializer::AddChild(Serializer* s) {
    if (FRAMEWORK_ASSERT(s, sourcePath)) _children.push_back(s);
}

bool Serializer::AdoptChunk(DataChunk* chunk, bool asAttribute) {
    if (!FRAMEWORK_ASSERT(chunk, sourcePath)) return false;
    if (FindChunk(chunk->GetName(), asAttribute)) {
        delete chunk;
        return false;
    }
    (asAttribute ? _attributes : _chunks).push_back(chunk);
    return true;
}

DataChunk* Serializer::FindChunk(const string& name, bool attribute) const {
    for (DataChunk* chunk : attribute ? _attributes : _chunks)
        if (chunk->GetName() == name) return chunk;
    return nullptr;
}

int Serializer::Export(CustomEnums::SerializerFlag::State state, string& out, unsigned int indent) {
    const bool writesTag = state == CustomEnums::SerializerFlag::Export && _hasTag;
    if (writesTag) {
        out.append(indent, '\t');
        out += '<';
        out += _tag;
        for (const DataChunk* chunk : _attributes) {
            if (!chunk->IsToBeWritten()) continue;
            out += ' ';
            out += chunk->GetName();
            out += "=\"";
            out += chunk->ToString();
            out += '"';
        }
        out += ">\n";
    }
    const unsigned int inner = writesTag ? indent + 1 : indent;
    for (const DataChunk* chunk : _chunks) {
        if (!chunk->IsToBeWritten()) continue;
        out.append(inner, '\t');
        out += '<';
        out += chunk->GetName();
        out += '>';
        out += chunk->ToString();
        out += "</";
        out += chunk->GetName();
        out += ">\n";
    }
    for (Serializer* child : _children) child->Export(state, out, inner);
    if (writesTag) {
        out.append(indent, '\t');
        out += "</";
        out += _tag;
        out += ">\n";
    }
    return 0;
}

int Serializer::Import(CustomEnums::SerializerFlag::State state, string& data) {
    for (DataChunk* chunk : _attributes) chunk->ResetImportCount();
    for (DataChunk* chunk : _chunks) chunk->ResetImportCount();
    if (!_children.empty()) {
        // The children read one shared copy, each seeing what the earlier ones left.
        string shared = data;
        for (Serializer* child : _children) child->Import(state, shared);
    }
    // Without comments the text is taken over, not copied: `data` is given its new text below.
    ImportText text(data.find("<!--") == string::npos ? std::move(data) : WithoutComments(data));
    size_t scan = 1;  // without a tag of its own the node's text starts after one character
    int result = _hasTag ? ImportOwnTag(text, scan) : ImportDone;
    if (result == ImportDone) result = ImportElements(text, scan);
    data = text.TakeText();
    return result;
}

int Serializer::ImportOwnTag(ImportText& text, size_t& scan) {
    const string& data = text.Source();
    // The first "<tag " or "<tag>", found in one pass rather than two.
    const string opening = "<" + _tag;
    size_t start = data.find(opening);
    while (start != string::npos && start + opening.size() < data.size() &&
           data[start + opening.size()] != ' ' && data[start + opening.size()] != '>')
        start = data.find(opening, start + 1);
    if (start == string::npos || start + opening.size() == data.size()) return ImportTagNotFound;
    size_t found = data.find_first_of("\n \t>", start);
    if (data[found] == '>') {
        scan = found;
        return ImportDone;
    }
    for (;;) {
        found = data.find_first_not_of("\n \t", found);
        if (!FRAMEWORK_ASSERT(found<data.size(), sourcePath)) return ImportUnclosedAttribute;
        const size_t attributeStart = found;
        const size_t openingQuote = data.find('"', attributeStart + 2);
        if (openingQuote == string::npos || data.find('>', attributeStart) < openingQuote) {
            scan = attributeStart;
            return ImportDone;
        }
        const size_t closingQuote = data.find('"', openingQuote + 1);
        if (closingQuote == string::npos) return ImportUnclosedAttribute;
        found = closingQuote + 1;
        std::string_view attribute(data.data() + attributeStart, found - attributeStart);
        if (ImportAttribute(attribute)) text.CutWithPrecedingCharacter(attributeStart, found);
        if (!FRAMEWORK_ASSERT(found<data.size(), sourcePath)) return ImportUnclosedAttribute;
        if (data[found] == '>') {
            scan = found;
            return ImportDone;
        }
    }
}

bool Serializer::ImportAttribute(std::string_view attribute) {
    const size_t equals = attribute.find('=', 1);
    if (equals == string::npos) return false;
    // The character after "=" is taken to be the opening quote.
    const size_t valueStart = equals + 2;
    const size_t valueEnd = attribute.find('"', valueStart);
    if (valueEnd == string::npos) return false;
    return ReadChunk(_attributes, string(attribute.substr(0, equals)),
                     string(attribute.substr(valueStart, valueEnd - valueStart)));
}

int Serializer::ImportElements(ImportText& text, size_t scan) {
    const string& data = text.Source();
    const size_t first = data.find('<', scan);
    if (first == string::npos) return ImportDone;
    text.KeepUntil(first);
    for (;;) {
        const size_t o = data.find('<', text.Cursor());
        const size_t closing = data.find("</", text.Cursor());
        // Reaching a closing tag first means the node's content (or its parent's) ends here.
        if (closing == string::npos || o == closing) return ImportDone;
        const size_t found = data.find('>', closing);
        if (!FRAMEWORK_ASSERT(found<data.size(), sourcePath)) return ImportUnclosedAttribute;
        const size_t segmentEnd = found + 1;

        // The segment's first tag runs from its first "<" to the next ">"; its name keeps
        // any attributes, so an element with attributes never matches a chunk.
        const size_t nameEnd = data.find('>', o);
        const string name = data.substr(o + 1, nameEnd - o - 1);
        const size_t inner = FindBefore(data, "<", nameEnd + 1, segmentEnd);
        const bool simple = inner != string::npos &&
                            inner == FindBefore(data, "</", nameEnd + 1, segmentEnd) &&
                            FindBefore(data, name, inner, segmentEnd) != string::npos;
        if (!simple) {
            const int result = ImportNestedElement(text, o, name);
            if (result != ImportDone) return result;
            continue;
        }
        if (ReadChunk(_chunks, name, data.substr(nameEnd + 1, inner - nameEnd - 1))) {
            text.CutUntil(segmentEnd);
        } else {
            OnImportUnknownChunk(name, text.PendingUntil(segmentEnd));
            text.KeepUntil(segmentEnd);
        }
    }
}

int Serializer::ImportNestedElement(ImportText& text, size_t start, const string& segmentName) {
    const string& data = text.Source();
    const size_t nameEnd = data.find_first_of("\t >", start + 1);
    const string name = data.substr(start + 1, nameEnd - start - 1);
    const string closingTag = "</" + name + ">";
    const string openingPrefix = "<" + name;

    size_t closing = data.find(closingTag, start);
    // Each further opening of the same name before the closing tag claims that closing tag.
    for (size_t from = start + 1; closing != string::npos;) {
        const size_t opening =
            FindBefore(data, openingPrefix, from, closing - 1 + openingPrefix.size());
        if (opening == string::npos || opening >= closing) break;
        const size_t after = opening + openingPrefix.size();
        if (after < data.size() && EndsOpeningName(data[after]))
            closing = data.find(closingTag, closing + 1);
        from = opening + 1;
    }
    if (closing == string::npos) {
        WriteErrorDump(segmentName, data.substr(start));
        return ImportUnbalancedElement;
    }
    const size_t end = closing + closingTag.size();
    const int result = OnImportUnknownData(name, data.substr(start, end - start));
    if (result != 0) return result;
    text.CutRange(start, end);
    return ImportDone;
}

bool Serializer::ReadChunk(const std::vector<DataChunk*>& chunks, const string& name,
                           const string& value) {
    for (DataChunk* chunk : chunks) {
        if (chunk->GetName() != name) continue;
        // A number its type cannot hold is reported and the chunk keeps its value.
        const bool valueFits = chunk->FromString(value) != ChunkValueOutOfRange;
        if (FRAMEWORK_ASSERT(valueFits, sourcePath)) OnImportChunk(chunk);
        return true;
    }
    return false;
}

int Serializer::OnImportUnknownData(const string&, const string&) { return 0; }

int Serializer::OnImportUnknownChunk(const string&, const string&) { return 0; }

int Serializer::OnImportChunk(const DataChunk*) { return 0; }

void Serializer::QueueChange(const void* address) {
    boost::unique_lock<boost::timed_mutex> lock(*_changeMutex);
    _changeQueue.push_back(address);
}

DataChunk* Serializer::TakeChangedChunk() {
    for (;;) {
        const void* address = nullptr;
        {
            boost::unique_lock<boost::timed_mutex> lock(*_changeMutex);
            if (_changeQueue.empty()) break;
            address = _changeQueue.front();
            _changeQueue.pop_front();
        }
        auto entry = _chunksByAddress.find(address);
        if (entry != _chunksByAddress.end()) return entry->second;
    }
    for (Serializer* child : _children)
        if (DataChunk* chunk = child->TakeChangedChunk()) return chunk;
    return nullptr;
}

int Serializer::GetElementText(string& out, const string& text, const string& name) {
    string clean;
    std::string_view content;
    if (!FindElementText(WithoutCommentsView(text, clean), name, content)) return 1;
    out.assign(content.data(), content.size());
    return 0;
}

bool Serializer::FindElementText(std::string_view text, std::string_view name,
                                 std::string_view& content) {
    const size_t opening = FindTag(text, "<", name, 0);
    if (opening == std::string_view::npos) return false;
    const size_t contentStart = opening + name.size() + 2;
    const size_t closing = FindTag(text, "</", name, contentStart);
    if (closing == std::string_view::npos) return false;
    content = text.substr(contentStart, closing - contentStart);
    return true;
}
