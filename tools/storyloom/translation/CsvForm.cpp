// CSV as spreadsheets save and read it (RFC 4180 quoting, CRLF or LF, a byte-order mark or
// none): a header row naming the columns, one row per entry.
#include <algorithm>

#include "QuotedText.h"
#include "TextLines.h"
#include "TranslationForm.h"

namespace {
enum Column { Key, Original, Translated, State, Hash, Previous, ColumnCount };
const char* const kColumnNames[ColumnCount] = {"key", "original", "translated", "state", "hash", "previous"};

struct Row {
    std::vector<std::string> fields;
    std::size_t line;  // where the row starts
};

// Rows of fields, blank lines skipped; false at an unclosed quote.
bool ReadRows(std::string_view text, std::vector<Row>& rows, std::string& error) {
    Row row{{""}, 1};
    bool quoted = false, rowHasData = false;
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') ++line;
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') row.fields.back() += text[++i];
            else if (c == '"') quoted = false;
            else row.fields.back() += c;
            continue;
        }
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            if (rowHasData) rows.push_back(std::move(row));
            row = Row{{""}, line};
            rowHasData = false;
            continue;
        }
        rowHasData = true;
        if (c == '"') quoted = true;
        else if (c == ',') row.fields.emplace_back();
        else row.fields.back() += c;
    }
    if (quoted) {
        error = "line " + std::to_string(row.line) + ": a quoted field is never closed";
        return false;
    }
    if (rowHasData) rows.push_back(std::move(row));
    return true;
}

// Which field holds each column; -1 for one the file does not have. False when the first row
// is not a header.
bool ReadHeader(const std::vector<std::string>& fields, int (&at)[ColumnCount]) {
    std::fill(std::begin(at), std::end(at), -1);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto name = std::find(std::begin(kColumnNames), std::end(kColumnNames), fields[i]);
        if (name == std::end(kColumnNames) || at[name - kColumnNames] != -1) return false;
        at[name - kColumnNames] = static_cast<int>(i);
    }
    return at[Key] != -1 && at[Original] != -1 && at[Translated] != -1;
}

void Read(const std::string& text, TranslationFile& file, ReadReport& report) {
    std::vector<Row> rows;
    if (!ReadRows(TextLines::WithoutBom(text), rows, report.error) || rows.empty()) return;
    int at[ColumnCount];
    const bool hasHeader = ReadHeader(rows[0].fields, at);
    if (!hasHeader)  // files without a header hold the first three columns, or all
        for (int c = 0; c < ColumnCount; ++c) at[c] = rows[0].fields.size() == ColumnCount || c <= Translated ? c : -1;
    const std::size_t width = hasHeader ? rows[0].fields.size() : at[State] == -1 ? 3 : ColumnCount;
    ReadKeys keys;
    for (std::size_t r = hasHeader; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const std::string where = "line " + std::to_string(row.line) + ": ";
        if (row.fields.size() != width) {
            report.losses.push_back(where + "a row of " + std::to_string(row.fields.size()) + " fields where the file has " +
                                    std::to_string(width) + " columns is not read");
            continue;
        }
        auto field = [&](Column c) { return at[c] == -1 ? std::string() : row.fields[at[c]]; };
        TranslationEntry entry{field(Key), field(Original), field(Translated), EntryState::Translated, "", ""};
        const std::string state = field(State);
        if (state.empty()) {
            // A spreadsheet's empty cell is a line not translated yet.
            entry.state = entry.translated.empty() && !entry.source.empty() ? EntryState::Untranslated
                                                                            : EntryState::Translated;
        } else if (!StateFromName(state, entry.state)) {
            report.losses.push_back(where + "the state " + QuotedText::ForMessage(state) + " is none of untranslated, "
                                    "fuzzy, translated, reviewed, final: the row is not read");
            continue;
        }
        entry.sourceHash = field(Hash);
        entry.previousSource = field(Previous);
        if (keys.Take(entry.key, row.line, report)) file.entries.push_back(std::move(entry));
    }
}

void AppendField(std::string& out, const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void Write(const TranslationFile& file, std::string& out) {
    out += "key,original,translated,state,hash,previous\r\n";
    for (const TranslationEntry& entry : file.entries) {
        for (const std::string* field : {&entry.key, &entry.source, &entry.translated}) {
            AppendField(out, *field);
            out += ',';
        }
        out += StateName(entry.state);
        out += ',';
        AppendField(out, entry.sourceHash);
        out += ',';
        AppendField(out, entry.previousSource);
        out += "\r\n";
    }
}

bool LooksLike(std::string_view text) {
    return TextLines::FirstLine(text).find(',') != std::string_view::npos;
}
}  // namespace

// CSV holds every byte.
const TranslationForm& CsvForm() {
    static const TranslationForm form{"csv", {".csv"}, true, LooksLike, Read, Write, [](const TranslationEntry&) { return std::string(); }};
    return form;
}
