// The dictionary's own forms, read and written by the dictionary itself: the XML translation
// text and plain lines. Neither holds a state; each entry they hold is a translated one.
#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/coreframework/TranslationText.h"
#include "QuotedText.h"
#include "TextLines.h"
#include "TranslationForm.h"
#include "TranslationGuard.h"

namespace {

// The dictionary tells of a repeated key only through its logger, and keeps the first.
class RepeatedKeys : public VirtualLogger {
public:
    explicit RepeatedKeys(ReadReport& report) : _report(report) {}
    void Log(const std::string& message, int) override {
        static const std::string before = "LanguageDictionary: An item with key \"", after = "\" already exsists!";
        if (message.size() < before.size() + after.size() || message.compare(0, before.size(), before) != 0) return;
        const std::string key = message.substr(before.size(), message.size() - before.size() - after.size());
        _report.losses.push_back(where + "the key " + QuotedText::ForMessage(key) + " again: not read");
        ++repeats;
    }
    std::string where;  // the line being read, where the form has lines
    std::size_t repeats = 0;

private:
    ReadReport& _report;
};

void FromDictionary(const LanguageDictionary& dictionary, TranslationFile& file) {
    file.entries.reserve(dictionary.GetItems().size());
    for (const auto& [key, item] : dictionary.GetItems())
        file.entries.push_back({key, item->GetSource(), item->GetTranslated(), EntryState::Translated, "", ""});
}

void ToDictionary(const TranslationFile& file, LanguageDictionary& dictionary) {
    for (const TranslationEntry& entry : file.entries) dictionary.AddItem(entry.key, entry.translated, entry.source);
}

// XML ------------------------------------------------------------------------------------

// Elements inside an item other than the three it is read for: a misspelled one reads as an
// empty text without a word from the dictionary.
void WarnOfUnknownElements(const std::string& text, ReadReport& report) {
    const std::string opening = std::string("<") + TranslationText::Item;
    const std::string closing = std::string("</") + TranslationText::Item;
    std::size_t line = 1, counted = 0;
    for (std::size_t item = text.find(opening); item != std::string::npos; item = text.find(opening, item + 1)) {
        const std::size_t end = std::min(text.find(closing, item), text.size());
        for (std::size_t tag = text.find('<', item + 1); tag < end; tag = text.find('<', tag + 1)) {
            if (text.compare(tag, 4, "<!--") == 0) {
                tag = text.find("-->", tag);
                if (tag == std::string::npos) break;
                continue;
            }
            if (text[tag + 1] == '/') continue;
            // Compared where it lies: a search for its end and a copy of every name cost more than
            // the import of the items.
            std::size_t nameEnd = tag + 1;
            while (nameEnd < text.size() && std::string_view(" \t\r\n/>").find(text[nameEnd]) == std::string_view::npos)
                ++nameEnd;
            const std::string_view name(text.data() + tag + 1, nameEnd - tag - 1);
            if (name == TranslationText::Key || name == TranslationText::Source || name == TranslationText::Translated)
                continue;
            for (; counted < tag; ++counted) line += text[counted] == '\n';
            report.warnings.push_back("line " + std::to_string(line) + ": the element <" + std::string(name) +
                                      "> inside an item is not read (an item holds " + TranslationText::Key + ", " +
                                      TranslationText::Source + " and " + TranslationText::Translated + ")");
        }
    }
}

void ReadXml(const std::string& text, TranslationFile& file, ReadReport& report) {
    WarnOfUnknownElements(text, report);
    RepeatedKeys repeated(report);
    LanguageDictionary dictionary("[[", "]]", &repeated);
    std::string data = text;
    LanguageDictionaryXMLSerializer::Import(data, dictionary);
    // The items read, repeated keys too, against those the text holds: from this one import.
    const std::string shortfall = TranslationGuard::Shortfall(
        {TranslationGuard::CountHeldItems(text), dictionary.GetItems().size() + repeated.repeats});
    if (!shortfall.empty()) report.losses.insert(report.losses.begin(), shortfall);
    FromDictionary(dictionary, file);
}

void WriteXml(const TranslationFile& file, std::string& out) {
    LanguageDictionary dictionary("[[", "]]");
    ToDictionary(file, dictionary);
    LanguageDictionaryXMLSerializer::Export(dictionary, out);
}

// The XML form has no escaping, and both forms mark line feeds, decoding the marker in
// translations only.
std::string LineBreakLoss(const TranslationEntry& entry) {
    if (entry.source.find('\n') != std::string::npos)
        return std::string("its original's line feeds read back as ") + TranslationText::LineBreak;
    if (entry.translated.find(TranslationText::LineBreak) != std::string::npos)
        return std::string("its translation's ") + TranslationText::LineBreak + " reads back as a line feed";
    return "";
}

std::string XmlWhyNotHeld(const TranslationEntry& entry) {
    if (std::string why = LineBreakLoss(entry); !why.empty()) return why;
    return "the XML form has no escaping: a text holding markup such as \"</\" or \"<!--\" ends its element";
}

bool LooksLikeXml(std::string_view text) {
    return TextLines::FirstLine(text).substr(0, 1) == "<";
}

// Plain lines ----------------------------------------------------------------------------

// The dictionary reads lines up to the first incomplete one, and runs a line without "="
// into the next: each line is checked here and handed over alone.
void ReadPlain(const std::string& text, TranslationFile& file, ReadReport& report) {
    RepeatedKeys repeated(report);
    LanguageDictionary dictionary("[[", "]]", &repeated);
    TextLines::Walker lines(TextLines::WithoutBom(text));
    std::string_view line;
    std::string one;
    while (lines.Next(line)) {
        // Every carriage return that ends a line is part of its line end, as a file converted to
        // CRLF twice has them: no original read can end with one, which a line could not write.
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        repeated.where = "line " + std::to_string(lines.Number()) + ": ";
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos ||
            line.find(TranslationText::SourceMarker, equals + 1) == std::string_view::npos) {
            report.losses.push_back(repeated.where + "not \"KEY=TRANSLATION" + TranslationText::SourceMarker +
                                    "ORIGINAL\": not read");
            continue;
        }
        one.assign(line);
        one += '\n';
        dictionary.ImportPlainText(one);
    }
    FromDictionary(dictionary, file);
}

void WritePlain(const TranslationFile& file, std::string& out) {
    LanguageDictionary dictionary("[[", "]]");
    ToDictionary(file, dictionary);
    const std::size_t start = out.size();
    dictionary.ExportPlainText(out);
    // The reader takes a byte-order mark that starts the text for the file's: a first key that
    // starts with one keeps it behind a mark of the file's own.
    const std::string_view text = std::string_view(out).substr(start);
    if (TextLines::WithoutBom(text).size() != text.size()) out.insert(start, "\xEF\xBB\xBF");
}

std::string PlainWhyNotHeld(const TranslationEntry& entry) {
    if (std::string why = LineBreakLoss(entry); !why.empty()) return why;
    if (entry.key.find_first_of("=\n") != std::string::npos) return "a key ends at its first \"=\" and its line";
    if (entry.translated.find(TranslationText::SourceMarker) != std::string::npos)
        return std::string("its translation holds \"") + TranslationText::SourceMarker + "\", where the line is split";
    return "a line ends at its line feed or carriage return";
}

bool LooksLikePlain(std::string_view text) {
    const std::string_view line = TextLines::FirstLine(text);
    const std::size_t equals = line.find('=');
    return equals != std::string_view::npos && line.find(TranslationText::SourceMarker, equals + 1) != std::string_view::npos;
}
}  // namespace

const TranslationForm& XmlForm() {
    static const TranslationForm form{"xml", {".xml"}, false, LooksLikeXml, ReadXml, WriteXml, XmlWhyNotHeld};
    return form;
}

const TranslationForm& PlainForm() {
    // ".txt" says nothing: both of the dictionary's forms are saved under it.
    static const TranslationForm form{"plain", {}, false, LooksLikePlain, ReadPlain, WritePlain, PlainWhyNotHeld};
    return form;
}
