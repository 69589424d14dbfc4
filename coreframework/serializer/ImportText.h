#pragma once
#include <cstddef>
#include <string>
#include <string_view>

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
