#include "TranslationFormats.h"

#include <vector>

#include "TranslationGuard.h"

namespace TranslationFormats {
namespace {

// CSV ------------------------------------------------------------------------------------

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// Rows of fields; false at an unclosed quote.
bool CsvRows(const std::string& text, std::vector<std::vector<std::string>>& rows, std::string& error) {
    std::vector<std::string> row(1);
    bool quoted = false, rowHasData = false;
    size_t line = 1, quoteLine = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n') ++line;
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') row.back() += text[++i];
            else if (c == '"') quoted = false;
            else row.back() += c;
            continue;
        }
        if (c == '"') {
            quoted = true;
            quoteLine = line;
            rowHasData = true;
        } else if (c == ',') {
            row.emplace_back();
            rowHasData = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            if (rowHasData) rows.push_back(row);
            row.assign(1, "");
            rowHasData = false;
        } else {
            row.back() += c;
            rowHasData = true;
        }
    }
    if (quoted) {
        error = "line " + std::to_string(quoteLine) + ": a quoted field is never closed";
        return false;
    }
    if (rowHasData) rows.push_back(row);
    return true;
}

bool ReadCsv(const std::string& text, LanguageDictionary& dictionary, std::string& error) {
    std::vector<std::vector<std::string>> rows;
    if (!CsvRows(text, rows, error)) return false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i == 0 && rows[i] == std::vector<std::string>{"key", "original", "translated"}) continue;
        if (rows[i].size() != 3) {
            error = "row " + std::to_string(i + 1) + ": needs 3 fields (key, original, translated), has " +
                    std::to_string(rows[i].size());
            return false;
        }
        dictionary.AddItem(rows[i][0], rows[i][2], rows[i][1]);
    }
    return true;
}

void WriteCsv(const LanguageDictionary& dictionary, std::string& out) {
    out += "key,original,translated\r\n";
    for (const auto& [key, item] : dictionary.GetItems())
        out += CsvField(key) + "," + CsvField(item->GetSource()) + "," + CsvField(item->GetTranslated()) + "\r\n";
}

// PO -------------------------------------------------------------------------------------

std::string PoString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

bool PoUnquote(const std::string& quoted, std::string& out) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return false;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        char c = quoted[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 2 >= quoted.size()) return false;
        switch (quoted[++i]) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            default: return false;
        }
    }
    return true;
}

bool ReadPo(const std::string& text, LanguageDictionary& dictionary, std::string& error) {
    struct Entry {
        std::string context, id, translated;
        bool hasContext = false;
    } entry;
    std::string* field = nullptr;
    auto finish = [&] {
        if (entry.hasContext) dictionary.AddItem(entry.context, entry.translated, entry.id);
        entry = Entry();
        field = nullptr;
    };
    size_t lineNumber = 0;
    for (size_t from = 0; from <= text.size();) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(from, end - from);
        from = end + 1;
        ++lineNumber;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::string quoted = line;
        if (line.rfind("msgctxt ", 0) == 0) {
            if (field) finish();
            entry.hasContext = true;
            field = &entry.context;
            quoted = line.substr(8);
        } else if (line.rfind("msgid ", 0) == 0) {
            if (field && field != &entry.context) finish();
            field = &entry.id;
            quoted = line.substr(6);
        } else if (line.rfind("msgstr ", 0) == 0) {
            field = &entry.translated;
            quoted = line.substr(7);
        }
        if (!field || !PoUnquote(quoted, *field)) {
            error = "line " + std::to_string(lineNumber) + ": not a PO line: " + line.substr(0, 60);
            return false;
        }
    }
    finish();
    return true;
}

void WritePo(const LanguageDictionary& dictionary, std::string& out) {
    out += "msgid \"\"\nmsgstr \"\"\n"
           "\"Project-Id-Version: storyloom\\n\"\n\"PO-Revision-Date: \\n\"\n\"Last-Translator: \\n\"\n"
           "\"Language-Team: \\n\"\n\"Language: \\n\"\n\"MIME-Version: 1.0\\n\"\n"
           "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Content-Transfer-Encoding: 8bit\\n\"\n";
    for (const auto& [key, item] : dictionary.GetItems())
        out += "\nmsgctxt " + PoString(key) + "\nmsgid " + PoString(item->GetSource()) + "\nmsgstr " +
               PoString(item->GetTranslated()) + "\n";
}

}  // namespace

Format FromName(const std::string& name) {
    if (name == "xml") return Format::Xml;
    if (name == "csv") return Format::Csv;
    if (name == "po") return Format::Po;
    if (name == "plain" || name == "txt") return Format::Plain;
    return Format::Unknown;
}

Format FromPath(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? Format::Unknown : FromName(path.substr(dot + 1));
}

bool Read(Format format, const std::string& text, LanguageDictionary& dictionary, std::string& error) {
    switch (format) {
        case Format::Xml: {
            // The importer passes over items it cannot read without a word: count them first.
            error = TranslationGuard::Shortfall(TranslationGuard::CountItems(text));
            if (!error.empty()) return false;
            std::string data = text;
            LanguageDictionaryXMLSerializer::Import(data, dictionary);
            return true;
        }
        case Format::Csv: return ReadCsv(text, dictionary, error);
        case Format::Po: return ReadPo(text, dictionary, error);
        case Format::Plain: dictionary.ImportPlainText(text); return true;
        case Format::Unknown: break;
    }
    error = "unknown dictionary form";
    return false;
}

bool Write(Format format, const LanguageDictionary& dictionary, std::string& out, std::string& error) {
    switch (format) {
        case Format::Xml: LanguageDictionaryXMLSerializer::Export(dictionary, out); return true;
        case Format::Csv: WriteCsv(dictionary, out); return true;
        case Format::Po: WritePo(dictionary, out); return true;
        case Format::Plain: dictionary.ExportPlainText(out); return true;
        case Format::Unknown: break;
    }
    error = "unknown dictionary form";
    return false;
}

}  // namespace TranslationFormats
