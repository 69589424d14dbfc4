// XLIFF 1.2, for the translation tools that read no later one: one trans-unit per entry, its key
// as id, the state on its target, placeholders as <ph> codes holding their own text. It has no way
// to write control characters: they go out as U+FFFD and are reported.
#include <unordered_map>

#include <pugixml.hpp>

#include "QuotedText.h"
#include "TranslationForm.h"
#include "XmlText.h"

namespace {
using namespace XmlText;

constexpr const char* kNamespace = "urn:oasis:names:tc:xliff:document:1.2";

// Writing ----------------------------------------------------------------------------------

// A source or target with its placeholders as codes; a placeholder has the same id wherever it
// stands in the unit, so tools can tell the target's codes by the source's.
void AppendInline(std::string& out, const std::string& text, std::unordered_map<std::string, std::size_t>& ids) {
    std::size_t last = 0;
    ForEachPlaceholder(text, [&](std::size_t from, std::size_t at, std::size_t end) {
        AppendEscaped(out, text.substr(from, at - from), false);
        const std::string placeholder = text.substr(at, end - at);
        out += "<ph id=\"" + std::to_string(ids.emplace(placeholder, ids.size() + 1).first->second) + "\">";
        AppendEscaped(out, placeholder, false);
        out += "</ph>";
        last = end;
    });
    AppendEscaped(out, text.substr(last), false);
}

const char* TargetState(EntryState state) {
    switch (state) {
        case EntryState::Untranslated:
        case EntryState::Fuzzy: return "needs-review-translation";
        case EntryState::Translated: return "translated";
        case EntryState::Reviewed: return "signed-off";
        case EntryState::Final: return "final";
    }
    return "needs-review-translation";
}

void AppendNote(std::string& out, const char* from, const std::string& text) {
    if (text.empty()) return;
    out += std::string("        <note from=\"") + from + "\">";
    AppendEscaped(out, text, false);
    out += "</note>\n";
}

void Write(const TranslationFile& file, std::string& out) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xliff xmlns=\"";
    out += kNamespace;
    out += "\" version=\"1.2\">\n  <file original=\"storyloom\" source-language=\"";
    AppendEscaped(out, file.sourceLanguage.empty() ? "en" : file.sourceLanguage, true);
    out += "\" target-language=\"";
    AppendEscaped(out, file.targetLanguage.empty() ? "und" : file.targetLanguage, true);
    out += "\" datatype=\"plaintext\">\n    <body>\n";
    for (const TranslationEntry& entry : file.entries) {
        out += "      <trans-unit id=\"";
        AppendEscaped(out, entry.key, true);
        out += "\" xml:space=\"preserve\">\n        <source>";
        std::unordered_map<std::string, std::size_t> ids;
        AppendInline(out, entry.source, ids);
        out += "</source>\n";
        if (entry.state != EntryState::Untranslated) {
            out += std::string("        <target state=\"") + TargetState(entry.state) + "\">";
            AppendInline(out, entry.translated, ids);
            out += "</target>\n";
        }
        AppendNote(out, "hash", entry.sourceHash);
        AppendNote(out, "previous", entry.previousSource);
        out += "      </trans-unit>\n";
    }
    out += "    </body>\n  </file>\n</xliff>\n";
}

// Reading ----------------------------------------------------------------------------------

// The text of a source or target; false with the reason in `problem`.
bool Inline(const pugi::xml_node& node, std::string& out, std::string& problem) {
    for (pugi::xml_node child = node.first_child(); child;) {
        const bool element = child.type() == pugi::node_element;
        const std::string_view name = element ? LocalName(child) : "";
        // Paired and marked spans hold text of the unit's own: walked into below.
        const bool span = name == "g" || name == "mrk";
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
        } else if (name == "ph") {
            // Its text is the code itself; a <sub> inside would be text to translate.
            if (child.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; })) {
                problem = "a <ph> code holding <sub> text, which is not supported";
                return false;
            }
            out += child.text().get();
        } else if (name == "x" && child.attribute("equiv-text")) {
            out += child.attribute("equiv-text").value();
        } else if (element && !span) {
            problem = "an inline <" + std::string(name) + "> code, which is not supported";
            return false;
        }
        child = NextWithin(child, node, span);
    }
    return true;
}

EntryState StateOfTarget(const pugi::xml_node& target) {
    if (!target) return EntryState::Untranslated;
    const std::string_view state = target.attribute("state").value();
    if (state == "translated") return EntryState::Translated;
    if (state == "signed-off") return EntryState::Reviewed;
    if (state == "final") return EntryState::Final;
    return EntryState::Fuzzy;
}

class Xliff12Reader {
public:
    Xliff12Reader(const std::string& text, TranslationFile& file, ReadReport& report)
        : _text(text), _lines(text), _file(file), _report(report) {}

    void Read() {
        pugi::xml_document document;
        if (!Parse(_text, document, _lines, _report.error)) return;
        const pugi::xml_node root = document.document_element();
        if (LocalName(root) != "xliff" || std::string_view(root.attribute("version").value()).substr(0, 2) != "1.") {
            _report.error = "not an XLIFF 1 document (its root is <" + std::string(root.name()) + " version=\"" +
                            root.attribute("version").value() + "\">)";
            return;
        }
        for (pugi::xml_node file : root.children()) {
            if (LocalName(file) != "file") continue;
            if (_file.sourceLanguage.empty()) _file.sourceLanguage = file.attribute("source-language").value();
            if (_file.targetLanguage.empty()) _file.targetLanguage = file.attribute("target-language").value();
            const pugi::xml_node body = file.child("body");
            for (pugi::xml_node node = body.first_child(); node;) {
                if (LocalName(node) == "trans-unit") ReadUnit(node);
                node = NextWithin(node, body, LocalName(node) == "group");
            }
        }
    }

private:
    void ReadUnit(const pugi::xml_node& unit) {
        TranslationEntry entry;
        entry.key = unit.attribute("id").value();
        const std::size_t line = _lines.LineAt(unit.offset_debug());
        for (pugi::xml_node note : unit.children("note")) {
            const std::string_view from = note.attribute("from").value();
            if (from == "hash")
                entry.sourceHash = note.text().get();
            else if (from == "previous")
                entry.previousSource = note.text().get();
        }
        const pugi::xml_node target = unit.child("target");
        entry.state = StateOfTarget(target);
        std::string problem;
        if (!Inline(unit.child("source"), entry.source, problem) || !Inline(target, entry.translated, problem)) {
            _report.losses.push_back("line " + std::to_string(line) + ": the unit " +
                                     QuotedText::ForMessage(entry.key) + " holds " + problem + ": not read");
            return;
        }
        if (_keys.Take(entry.key, line, _report)) _file.entries.push_back(std::move(entry));
    }

    const std::string& _text;
    LineCounter _lines;
    TranslationFile& _file;
    ReadReport& _report;
    ReadKeys _keys;
};

void Read(const std::string& text, TranslationFile& file, ReadReport& report) {
    Xliff12Reader(text, file, report).Read();
}

std::string WhyNotHeld(const TranslationEntry& entry) {
    return HoldsEntry(entry, false) ? "" : "XLIFF 1.2 holds UTF-8 text only, and no control characters";
}

bool LooksLike(std::string_view text) { return XliffVersion(text).substr(0, 2) == "1."; }
}  // namespace

const TranslationForm& Xliff12Form() {
    // Its files end as 2.0's do: the text tells them apart (see TranslationForms::Of).
    static const TranslationForm form{"xliff12", {}, true, LooksLike, Read, Write, WhyNotHeld};
    return form;
}
