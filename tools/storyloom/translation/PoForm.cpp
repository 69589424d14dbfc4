// gettext PO: the key as msgctxt (an entry without one is keyed by its msgid), the source as
// msgid, the translation as msgstr; "#, fuzzy" with the old source as "#| msgid", the source
// hash as the extracted comment "#. hash: ...", "reviewed" and "final" as flags of their own.

#include "QuotedText.h"
#include "TextLines.h"
#include "TranslationForm.h"

namespace {
constexpr std::string_view kHashComment = "#. hash: ";

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// The text of one quoted PO string, C escapes decoded; false when it is not one.
bool Unquote(std::string_view quoted, std::string& out) {
    while (!quoted.empty() && (quoted.back() == ' ' || quoted.back() == '\t')) quoted.remove_suffix(1);
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return false;
    quoted = quoted.substr(1, quoted.size() - 2);
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"') return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == quoted.size()) return false;
        const char e = quoted[i];
        static constexpr std::string_view simple = "ntr\"\\abfv?", meaning = "\n\t\r\"\\\a\b\f\v?";
        if (const std::size_t s = simple.find(e); s != std::string_view::npos) {
            out += meaning[s];
        } else if (e >= '0' && e <= '7') {
            int value = 0;
            for (int digits = 0; digits < 3 && i < quoted.size() && quoted[i] >= '0' && quoted[i] <= '7'; ++digits, ++i)
                value = value * 8 + (quoted[i] - '0');
            --i;
            out += static_cast<char>(value);
        } else {
            return false;
        }
    }
    return true;
}

struct PendingEntry {
    std::size_t line = 0;  // its first line; 0 before it has one
    std::string context, id, translated, previous, hash;
    bool hasContext = false, hasId = false, hasTranslated = false, fuzzy = false, plural = false;
    EntryState flagState = EntryState::Translated;
};

class PoReader {
public:
    PoReader(TranslationFile& file, ReadReport& report) : _file(file), _report(report) {}

    void Read(std::string_view text) {
        TextLines::Walker lines(TextLines::WithoutBom(text));
        std::string_view line;
        while (lines.Next(line)) {
            if (!ReadLine(line, lines.Number())) {
                _report.error = "line " + std::to_string(lines.Number()) + ": not a PO line: " +
                                QuotedText::ForMessage(std::string(line));
                return;
            }
        }
        Finish();
        if (_obsolete > 0)
            _report.warnings.push_back(std::to_string(_obsolete) + " obsolete (#~) lines are not read");
        if (_comments > 0)
            _report.warnings.push_back(std::to_string(_comments) + " comment lines (#, #:) are not kept");
    }

private:
    bool ReadLine(std::string_view line, std::size_t number) {
        if (line.find_first_not_of(" \t") == std::string_view::npos) return true;
        if (line[0] == '#') {
            if (_entry.hasId || _entry.hasTranslated) Finish();
            Begin(number);
            return ReadComment(line);
        }
        if (line[0] == '"') return _field && Unquote(line, *_field);
        std::string_view keyword = line.substr(0, line.find(' '));
        std::string_view rest = line.substr(std::min(line.size(), keyword.size() + 1));
        if (keyword == "msgctxt") {
            if (_entry.hasContext || _entry.hasId) Finish();
            _entry.hasContext = true;
            _field = &_entry.context;
        } else if (keyword == "msgid") {
            if (_entry.hasId) Finish();
            _entry.hasId = true;
            _field = &_entry.id;
        } else if (keyword == "msgstr") {
            _entry.hasTranslated = true;
            _field = &_entry.translated;
        } else if (keyword == "msgid_plural" || StartsWith(keyword, "msgstr[")) {
            _entry.plural = true;
            std::string ignored;
            _field = nullptr;
            return Unquote(rest, ignored);
        } else {
            return false;
        }
        Begin(number);
        return Unquote(rest, *_field);
    }

    bool ReadComment(std::string_view line) {
        _field = nullptr;
        if (StartsWith(line, "#~")) {
            ++_obsolete;
        } else if (StartsWith(line, kHashComment)) {
            _entry.hash = line.substr(kHashComment.size());
        } else if (StartsWith(line, "#,")) {
            for (std::size_t at = 2; at < line.size();) {
                std::size_t end = line.find(',', at);
                if (end == std::string_view::npos) end = line.size();
                std::string_view flag = line.substr(at, end - at);
                flag.remove_prefix(std::min(flag.find_first_not_of(' '), flag.size()));
                flag = flag.substr(0, flag.find_last_not_of(' ') + 1);
                if (flag == "fuzzy") _entry.fuzzy = true;
                else if (flag == "reviewed") _entry.flagState = EntryState::Reviewed;
                else if (flag == "final") _entry.flagState = EntryState::Final;
                at = end + 1;
            }
        } else if (StartsWith(line, "#| msgid ")) {
            _field = &_entry.previous;
            return Unquote(line.substr(9), _entry.previous);
        } else if (StartsWith(line, "#| \"")) {
            _field = nullptr;
            return Unquote(line.substr(3), _entry.previous);
        } else if (!StartsWith(line, "#|")) {
            ++_comments;
        }
        return true;
    }

    void Begin(std::size_t number) {
        if (_entry.line == 0) _entry.line = number;
    }

    void Finish() {
        PendingEntry entry = std::move(_entry);
        _entry = PendingEntry();
        _field = nullptr;
        if (!entry.hasId && !entry.hasTranslated) return;  // comments alone
        if (entry.plural) {
            _report.losses.push_back("line " + std::to_string(entry.line) + ": an entry with plural forms is not read: plurals are not supported");
            return;
        }
        if (!entry.hasContext && entry.id.empty()) {
            ReadHeader(entry.translated);
            return;
        }
        TranslationEntry read{entry.hasContext ? entry.context : entry.id, entry.id, entry.translated, EntryState::Translated, "", ""};
        read.state = entry.translated.empty() ? EntryState::Untranslated
                     : entry.fuzzy            ? EntryState::Fuzzy
                                              : entry.flagState;
        read.sourceHash = std::move(entry.hash);
        read.previousSource = std::move(entry.previous);
        if (_keys.Take(read.key, entry.line, _report)) _file.entries.push_back(std::move(read));
    }

    void ReadHeader(const std::string& header) {
        TextLines::Walker fields(header);
        std::string_view field;
        while (fields.Next(field))
            if (StartsWith(field, "Language: ")) _file.targetLanguage = field.substr(10);
    }

    TranslationFile& _file;
    ReadReport& _report;
    PendingEntry _entry;
    std::string* _field = nullptr;  // where a continued string goes
    std::size_t _obsolete = 0, _comments = 0;
    ReadKeys _keys;
};

void Read(const std::string& text, TranslationFile& file, ReadReport& report) { PoReader(file, report).Read(text); }

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    const char octal[] = {'\\', char('0' + (c >> 6)), char('0' + ((c >> 3) & 7)), char('0' + (c & 7)), 0};
                    out += octal;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

// A text of several lines goes out as gettext writes it: an empty first string, then one
// string per line, so translators' editors show the lines. `prefix` starts every line.
void AppendString(std::string& out, std::string_view prefix, const char* keyword, const std::string& text) {
    out += prefix;
    out += keyword;
    out += ' ';
    const std::size_t feed = text.find('\n');
    if (feed == std::string::npos || feed + 1 == text.size()) {
        AppendQuoted(out, text);
        out += '\n';
        return;
    }
    out += "\"\"\n";
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        end = end == std::string::npos ? text.size() : end + 1;
        out += prefix;
        AppendQuoted(out, text.substr(from, end - from));
        out += '\n';
        from = end;
    }
}

// gettext's msgfmt --check refuses a translation that does not begin and end with a line feed
// where its original does; such an entry goes out fuzzy, which msgfmt leaves alone.
bool LineFeedsDiffer(const TranslationEntry& entry) {
    auto first = [](const std::string& text) { return !text.empty() && text.front() == '\n'; };
    auto last = [](const std::string& text) { return !text.empty() && text.back() == '\n'; };
    return first(entry.source) != first(entry.translated) || last(entry.source) != last(entry.translated);
}

std::string WhyNotHeld(const TranslationEntry& entry) {
    if (entry.state != EntryState::Untranslated && entry.translated.empty())
        return "PO holds an empty translation as untranslated";
    if (entry.state != EntryState::Untranslated && entry.state != EntryState::Fuzzy && LineFeedsDiffer(entry))
        return "its translation does not begin and end with a line feed as its original does, which gettext refuses "
               "unless the entry is fuzzy";
    return "";
}

void Write(const TranslationFile& file, std::string& out) {
    out += "msgid \"\"\nmsgstr \"\"\n"
           "\"Project-Id-Version: storyloom\\n\"\n\"PO-Revision-Date: \\n\"\n\"Last-Translator: \\n\"\n"
           "\"Language-Team: \\n\"\n";
    // Quoted as any string is: a language read from another file may hold a quote.
    AppendQuoted(out, "Language: " + file.targetLanguage + "\n");
    out += "\n\"MIME-Version: 1.0\\n\"\n"
           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Content-Transfer-Encoding: 8bit\\n\"\n";
    for (const TranslationEntry& entry : file.entries) {
        out += '\n';
        if (!entry.sourceHash.empty()) {
            out += kHashComment;
            out += entry.sourceHash;
            out += '\n';
        }
        if (entry.state == EntryState::Fuzzy || (entry.state != EntryState::Untranslated && LineFeedsDiffer(entry)))
            out += "#, fuzzy\n";
        else if (entry.state == EntryState::Reviewed) out += "#, reviewed\n";
        else if (entry.state == EntryState::Final) out += "#, final\n";
        if (!entry.previousSource.empty()) AppendString(out, "#| ", "msgid", entry.previousSource);
        AppendString(out, "", "msgctxt", entry.key);
        AppendString(out, "", "msgid", entry.source);
        AppendString(out, "", "msgstr", entry.state == EntryState::Untranslated ? std::string() : entry.translated);
    }
}

bool LooksLike(std::string_view text) {
    const std::string_view line = TextLines::FirstLine(text);
    return StartsWith(line, "msgid ") || StartsWith(line, "msgctxt ") || StartsWith(line, "#");
}
}  // namespace

const TranslationForm& PoForm() {
    static const TranslationForm form{"po", {".po", ".pot"}, true, LooksLike, Read, Write, WhyNotHeld};
    return form;
}
