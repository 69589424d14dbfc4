#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The text a serializer imports, as the reader changes it. The reader scans `Source()` from
// left to right and cuts consumed pieces out; a cut only moves the cursor, and the text that
// stays is copied once, so an import costs time linear in the text's size.
//
// The current text is always kept + pending + Source()[Cursor()...]. The reader's scan
// position is the end of kept; pending is text behind the scan position that the reader
// has looked at but not yet passed (it never holds a "<").
class ImportText {
public:
    explicit ImportText(std::string source) : _source(std::move(source)) {}

    const std::string& Source() const { return _source; }
    std::size_t Cursor() const { return _cursor; }

    // Passes over everything up to `end` of the source; it stays in the text.
    void KeepUntil(std::size_t end);
    // Cuts everything up to `end` of the source, pending text included.
    void CutUntil(std::size_t end);
    // Cuts [begin, end) of the source; what lies between the cursor and begin stays pending.
    void CutRange(std::size_t begin, std::size_t end);
    // Cuts [begin, end) of the source and the one character in front of it.
    void CutWithPrecedingCharacter(std::size_t begin, std::size_t end);

    // Pending text followed by the source up to `end`, into `out` (its buffer is reused).
    void PendingUntil(std::size_t end, std::string& out) const;
    // The current text; the object is spent afterwards.
    std::string TakeText();

private:
    std::string _source;
    std::string _kept;
    std::string _pending;
    std::size_t _cursor = 0;
};

// The first `c` in [at, end), or `end`. Inline and sixteen characters at a time: the reader
// looks for the next "<" or ">" a few characters ahead, where a call costs more than the search.
inline const char* FindByte(const char* at, const char* end, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (; end - at >= 16; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        if (const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)))
            return at + __builtin_ctz(static_cast<unsigned>(hits));
    }
#endif
    while (at < end && *at != c) ++at;
    return at;
}

// The first `c` in `text` at or after `from`, as std::string_view::find answers.
inline std::size_t FindChar(std::string_view text, char c, std::size_t from) {
    if (from >= text.size()) return std::string_view::npos;
    const char* const end = text.data() + text.size();
    const char* const at = FindByte(text.data() + from, end, c);
    return at == end ? std::string_view::npos : static_cast<std::size_t>(at - text.data());
}

// The first `what` in `text` at or after `from`, as std::string_view::find answers. The
// reader's needles all start with "<", which is frequent in its texts: the second character
// is compared before the call to compare the rest.
std::size_t FindText(std::string_view text, std::string_view what, std::size_t from = 0);
// The first "<!--" at or after `from`, as FindText answers; found by its "!", which is rare.
std::size_t FindCommentStart(std::string_view text, std::size_t from = 0);

// Removes every "<!--" through the next "-->" and the one character after it; an unclosed
// comment runs to the end of the text.
std::string WithoutComments(const std::string& text);
// The same as a view: `text` itself when it holds no comment, else `scratch` made from it.
std::string_view WithoutCommentsView(const std::string& text, std::string& scratch);

// Appends the text of a malformed element to a file in the current directory named after
// the current UTC time and the element's name. Nothing is written when it cannot be opened.
void WriteErrorDump(const std::string& name, const std::string& text);
