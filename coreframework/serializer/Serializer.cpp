#include "storyloom/coreframework/serializer/Serializer.h"

#include <algorithm>
#include <boost/thread/locks.hpp>
#include <boost/thread/mutex.hpp>
#include <string_view>

#include "storyloom/coreframework/serializer/ImportText.h"

using std::string;

namespace {

const char* const sourcePath = "coreframework/serializer/Serializer";

bool EndsOpeningName(char c) { return c == ' ' || c == '\t' || c == '>'; }

bool SameCharacters(const char* at, std::string_view what) {
    for (char c : what)
        if (*at++ != c) return false;
    return true;
}

// The first `start` + `name` + ">" at or after `from`, without building that tag. The
// characters are compared here: the names are short, a call to compare them is not.
size_t FindTag(std::string_view text, std::string_view start, std::string_view name, size_t from) {
    const size_t length = start.size() + name.size() + 1;
    if (from >= text.size() || text.size() - from < length) return string::npos;
    const char* const begin = text.data();
    const char* const end = begin + (text.size() - length) + 1;  // past the last place it can start
    for (const char* at = begin + from;; ++at) {
        at = FindByte(at, end, start[0]);
        if (at == end) return string::npos;
        if (at[length - 1] == '>' && SameCharacters(at + 1, start.substr(1)) &&
            SameCharacters(at + start.size(), name))
            return at - begin;
    }
}

// The closing tag that pairs with the element `name` opened at `start`, walking the tags
// after it once: each further opening of the name (followed by a blank, tab or ">") claims
// the next closing tag. npos when the element is unbalanced.
size_t FindPairedClosingTag(std::string_view data, size_t start, std::string_view name) {
    const char* const chars = data.data();
    const size_t length = name.size();
    size_t open = 1;
    for (size_t at = FindChar(data, '<', start + 1); at != string::npos; at = FindChar(data, '<', at + 1)) {
        const size_t rest = data.size() - at - 1;  // characters after the "<"
        if (rest >= length + 2 && chars[at + 1] == '/' && chars[at + 2 + length] == '>' &&
            SameCharacters(chars + at + 2, name)) {
            if (--open == 0) return at;
        } else if (rest > length && EndsOpeningName(chars[at + 1 + length]) &&
                   SameCharacters(chars + at + 1, name)) {
            ++open;
        }
    }
    return string::npos;
}

}  // namespace

// Texts the reader hands to the chunks and the hooks, kept for one import so that their
// buffers are reused instead of allocated for every element.
struct Serializer::ImportBuffers {
    string name;
    string value;
    string text;
};

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
    ImportText text(FindCommentStart(data) == string::npos ? std::move(data) : WithoutComments(data));
    ImportBuffers buffers;
    size_t scan = 1;  // without a tag of its own the node's text starts after one character
    int result = _hasTag ? ImportOwnTag(text, scan, buffers) : ImportDone;
    if (result == ImportDone) result = ImportElements(text, scan, buffers);
    data = text.TakeText();
    return result;
}

int Serializer::ImportOwnTag(ImportText& text, size_t& scan, ImportBuffers& buffers) {
    const string& data = text.Source();
    // The first "<tag " or "<tag>", found in one pass rather than two.
    const string opening = "<" + _tag;
    size_t start = FindText(data, opening);
    while (start != string::npos && start + opening.size() < data.size() &&
           data[start + opening.size()] != ' ' && data[start + opening.size()] != '>')
        start = FindText(data, opening, start + 1);
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
        if (ImportAttribute(attribute, buffers)) text.CutWithPrecedingCharacter(attributeStart, found);
        if (!FRAMEWORK_ASSERT(found<data.size(), sourcePath)) return ImportUnclosedAttribute;
        if (data[found] == '>') {
            scan = found;
            return ImportDone;
        }
    }
}

bool Serializer::ImportAttribute(std::string_view attribute, ImportBuffers& buffers) {
    const size_t equals = attribute.find('=', 1);
    if (equals == string::npos) return false;
    // The character after "=" is taken to be the opening quote.
    const size_t valueStart = equals + 2;
    const size_t valueEnd = attribute.find('"', valueStart);
    if (valueEnd == string::npos) return false;
    return ReadChunk(_attributes, attribute.substr(0, equals),
                     attribute.substr(valueStart, valueEnd - valueStart), buffers);
}

// The text is walked once, tag by tag: each step looks at the element's first tag, the tag
// after it and, for a nested element, the tags up to its paired closing tag, never searching
// ahead past them.
int Serializer::ImportElements(ImportText& text, size_t scan, ImportBuffers& buffers) {
    const string& data = text.Source();
    const char* const chars = data.data();
    const size_t size = data.size();
    const size_t first = FindChar(data, '<', scan);
    if (first == string::npos) return ImportDone;
    text.KeepUntil(first);
    for (;;) {
        const size_t o = FindChar(data, '<', text.Cursor());
        // Reaching a closing tag first means the node's content (or its parent's) ends here.
        if (o == string::npos || o + 1 == size || chars[o + 1] == '/') return ImportDone;

        // The first tag runs to the next ">"; its name keeps any attributes, so an element
        // with attributes never matches a chunk. A closing tag inside it ends the node's
        // content after the element has begun: the element is then a nested one.
        size_t nameEnd = o + 1;
        bool closingInName = false;
        for (; nameEnd < size && chars[nameEnd] != '>'; ++nameEnd)
            if (chars[nameEnd] == '<' && nameEnd + 1 < size && chars[nameEnd + 1] == '/')
                closingInName = true;
        if (nameEnd == size) {
            // The text ends inside a tag, unless no closing tag follows at all.
            const size_t found = string::npos;
            if (!closingInName) return ImportDone;
            FRAMEWORK_ASSERT(found<data.size(), sourcePath);
            return ImportUnclosedAttribute;
        }
        const std::string_view name(chars + o + 1, nameEnd - o - 1);
        if (!closingInName) {
            const size_t inner = FindChar(data, '<', nameEnd + 1);
            if (inner == string::npos) return ImportDone;  // no closing tag follows
            if (inner + 1 < size && chars[inner + 1] == '/') {
                const size_t found = FindChar(data, '>', inner + 2);
                if (!FRAMEWORK_ASSERT(found<data.size(), sourcePath)) return ImportUnclosedAttribute;
                const size_t segmentEnd = found + 1;
                // A simple element when its name occurs again in the closing tag.
                const std::string_view closingName(chars + inner + 2, found - inner - 2);
                if (closingName == name ||
                    std::string_view(chars, segmentEnd).find(name, inner) != string::npos) {
                    const std::string_view value(chars + nameEnd + 1, inner - nameEnd - 1);
                    if (ReadChunk(_chunks, name, value, buffers)) {
                        text.CutUntil(segmentEnd);
                    } else {
                        buffers.name.assign(name.data(), name.size());
                        text.PendingUntil(segmentEnd, buffers.text);
                        OnImportUnknownChunk(buffers.name, buffers.text);
                        text.KeepUntil(segmentEnd);
                    }
                    continue;
                }
            }
        }

        // A nested element; its own name ends at the first tab, blank or ">".
        size_t tagEnd = o + 1;
        while (!EndsOpeningName(chars[tagEnd])) ++tagEnd;
        const std::string_view tag(chars + o + 1, tagEnd - o - 1);
        const size_t closing = FindPairedClosingTag(data, o, tag);
        if (closing == string::npos) {
            // Unbalanced; unless no closing tag follows at all, or the text ends inside it.
            const size_t anyClosing = FindText(data, "</", o + 1);
            if (anyClosing == string::npos) return ImportDone;
            const size_t found = FindChar(data, '>', anyClosing);
            if (!FRAMEWORK_ASSERT(found<data.size(), sourcePath)) return ImportUnclosedAttribute;
            WriteErrorDump(string(name), data.substr(o));
            return ImportUnbalancedElement;
        }
        const size_t end = closing + tag.size() + 3;
        buffers.name.assign(tag.data(), tag.size());
        buffers.text.assign(data, o, end - o);
        const int result = OnImportUnknownData(buffers.name, buffers.text);
        if (result != 0) return result;
        text.CutRange(o, end);
    }
}

bool Serializer::ReadChunk(const std::vector<DataChunk*>& chunks, std::string_view name,
                           std::string_view value, ImportBuffers& buffers) {
    for (DataChunk* chunk : chunks) {
        if (chunk->GetName() != name) continue;
        buffers.value.assign(value.data(), value.size());
        chunk->FromString(buffers.value);
        OnImportChunk(chunk);
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
