// XLIFF 2.0: one unit per entry, its key as id (or as name, when the key is no XML name),
// source and target in one segment whose state says how far the translation is, placeholders
// as <ph> codes whose original text the unit keeps, so translation tools protect them.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>

#include "QuotedText.h"
#include "TranslationForm.h"
#include "Utf8.h"
#include "XmlText.h"

namespace {
using namespace XmlText;

constexpr const char* kNamespace = "urn:oasis:names:tc:xliff:document:2.0";

// Writing ---------------------------------------------------------------------------------

bool IsName(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("._:-", c);
    });
}

// One unit's codes: a data element per distinct placeholder, a code id per occurrence; the
// target's n-th occurrence of a placeholder shares the id of the source's n-th.
class UnitCodes {
public:
    void AppendInline(std::string& out, const std::string& text, bool isTarget) {
        std::unordered_map<std::string, std::size_t> seen;
        std::size_t last = 0;
        ForEachPlaceholder(text, [&](std::size_t, std::size_t at, std::size_t end) {
            AppendEscaped(out, text.substr(last, at - last), false, true);
            last = end;
            const std::string placeholder = text.substr(at, end - at);
            auto data = _data.emplace(placeholder, _data.size() + 1).first;
            std::vector<std::size_t>& ids = _ids[placeholder];
            const std::size_t nth = seen[placeholder]++;
            if (!isTarget || nth >= ids.size()) ids.push_back(++_codes);
            out += "<ph id=\"" + std::to_string(isTarget ? ids[nth] : ids.back()) + "\" dataRef=\"d" +
                   std::to_string(data->second) + "\"/>";
        });
        AppendEscaped(out, text.substr(last), false, true);
    }

    void AppendOriginalData(std::string& out) const {
        if (_data.empty()) return;
        std::vector<const std::string*> byId(_data.size());
        for (const auto& [text, id] : _data) byId[id - 1] = &text;
        out += "      <originalData>\n";
        for (std::size_t i = 0; i < byId.size(); ++i) {
            out += "        <data id=\"d" + std::to_string(i + 1) + "\">";
            AppendEscaped(out, *byId[i], false, true);
            out += "</data>\n";
        }
        out += "      </originalData>\n";
    }

private:
    std::unordered_map<std::string, std::size_t> _data;
    std::unordered_map<std::string, std::vector<std::size_t>> _ids;
    std::size_t _codes = 0;
};

const char* SegmentState(EntryState state) {
    switch (state) {
        case EntryState::Untranslated:
        case EntryState::Fuzzy: return "initial";
        case EntryState::Translated: return "translated";
        case EntryState::Reviewed: return "reviewed";
        case EntryState::Final: return "final";
    }
    return "initial";
}

void AppendNote(std::string& out, const char* category, const std::string& text) {
    out += std::string("        <note category=\"") + category + "\">";
    AppendEscaped(out, text, false, false);
    out += "</note>\n";
}

void Write(const TranslationFile& file, std::string& out) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xliff xmlns=\"";
    out += kNamespace;
    out += "\" version=\"2.0\" srcLang=\"";
    AppendEscaped(out, file.sourceLanguage.empty() ? "en" : file.sourceLanguage, true, false);
    out += "\" trgLang=\"";
    AppendEscaped(out, file.targetLanguage.empty() ? "und" : file.targetLanguage, true, false);
    out += "\">\n  <file id=\"f1\" xml:space=\"preserve\">\n";
    // Keys that are names are their units' ids; the others get ids no key has.
    std::unordered_set<std::string> ids;
    for (const TranslationEntry& entry : file.entries)
        if (IsName(entry.key)) ids.insert(entry.key);
    std::size_t nextId = 0;
    for (const TranslationEntry& entry : file.entries) {
        out += "    <unit id=\"";
        if (IsName(entry.key)) {
            out += entry.key;
        } else {
            std::string id;
            do id = "u" + std::to_string(++nextId);
            while (ids.count(id));
            out += id + "\" name=\"";
            AppendEscaped(out, entry.key, true, false);
        }
        out += "\">\n";
        if (!entry.sourceHash.empty() || !entry.previousSource.empty()) {
            out += "      <notes>\n";
            if (!entry.sourceHash.empty()) AppendNote(out, "hash", entry.sourceHash);
            if (!entry.previousSource.empty()) AppendNote(out, "previous", entry.previousSource);
            out += "      </notes>\n";
        }
        UnitCodes codes;
        std::string segment = std::string("      <segment state=\"") + SegmentState(entry.state) + "\">\n        <source>";
        codes.AppendInline(segment, entry.source, false);
        segment += "</source>\n";
        if (entry.state != EntryState::Untranslated) {
            segment += "        <target>";
            codes.AppendInline(segment, entry.translated, true);
            segment += "</target>\n";
        }
        codes.AppendOriginalData(out);
        out += segment;
        out += "      </segment>\n    </unit>\n";
    }
    out += "  </file>\n</xliff>\n";
}

// Reading ---------------------------------------------------------------------------------

class UnitReader {
public:
    explicit UnitReader(const pugi::xml_node& unit) {
        for (pugi::xml_node data : unit.child("originalData").children("data")) {
            std::string text;
            if (Inline(data, text)) _data[data.attribute("id").value()] = std::move(text);
        }
    }

    // The text of a source or target; false with the reason in `_problem`.
    bool Inline(const pugi::xml_node& node, std::string& out) {
        for (pugi::xml_node child = node.first_child(); child;) {
            const bool element = child.type() == pugi::node_element;
            const std::string_view name = element ? LocalName(child) : "";
            // Marked and paired spans hold text of the segment's own: walked into below.
            const bool span = name == "mrk" || name == "pc";
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                out += child.value();
            } else if (name == "cp") {
                char* end = nullptr;
                const unsigned long code = std::strtoul(child.attribute("hex").value(), &end, 16);
                if (*end != 0 || code > 0x10ffff) return Problem("a <cp> code that is no character");
                Utf8::Append(out, static_cast<std::uint32_t>(code));
            } else if (name == "ph") {
                auto data = _data.find(child.attribute("dataRef").value());
                if (data != _data.end()) out += data->second;
                else if (child.attribute("disp")) out += child.attribute("disp").value();
                else return Problem("a <ph> code without its original text");
            } else if (element && !span) {
                return Problem("an inline <" + std::string(name) + "> code, which is not supported");
            }
            child = NextWithin(child, node, span);
        }
        return true;
    }

    const std::string& ProblemText() const { return _problem; }

private:
    bool Problem(const std::string& what) {
        _problem = what;
        return false;
    }

    std::unordered_map<std::string, std::string> _data;
    std::string _problem;
};

EntryState StateOfSegment(const pugi::xml_node& segment, bool hasTarget) {
    const std::string_view state = segment.attribute("state").value();
    if (state == "translated") return EntryState::Translated;
    if (state == "reviewed") return EntryState::Reviewed;
    if (state == "final") return EntryState::Final;
    return hasTarget ? EntryState::Fuzzy : EntryState::Untranslated;
}

class XliffReader {
public:
    XliffReader(const std::string& text, TranslationFile& file, ReadReport& report)
        : _text(text), _lines(text), _file(file), _report(report) {}

    void Read() {
        pugi::xml_document document;
        if (!Parse(_text, document, _lines, _report.error)) return;
        const pugi::xml_node root = document.document_element();
        if (LocalName(root) != "xliff" || std::strncmp(root.attribute("version").value(), "2.", 2) != 0) {
            _report.error = "not an XLIFF 2 document (its root is <" + std::string(root.name()) + " version=\"" +
                            root.attribute("version").value() + "\">)";
            return;
        }
        _file.sourceLanguage = root.attribute("srcLang").value();
        _file.targetLanguage = root.attribute("trgLang").value();
        for (pugi::xml_node file : root.children()) ReadUnits(file);
    }

private:
    void ReadUnits(const pugi::xml_node& parent) {
        for (pugi::xml_node node = parent.first_child(); node;) {
            if (LocalName(node) == "unit") ReadUnit(node);
            node = NextWithin(node, parent, LocalName(node) == "group");
        }
    }

    void ReadUnit(const pugi::xml_node& unit) {
        TranslationEntry entry;
        entry.key = unit.attribute("name") ? unit.attribute("name").value() : unit.attribute("id").value();
        const std::size_t line = _lines.LineAt(unit.offset_debug());
        const auto where = [&] { return "line " + std::to_string(line) + ": the unit " + QuotedText::ForMessage(entry.key); };
        for (pugi::xml_node note : unit.child("notes").children("note")) {
            const std::string_view category = note.attribute("category").value();
            if (category == "hash") entry.sourceHash = note.text().get();
            else if (category == "previous") entry.previousSource = note.text().get();
        }
        UnitReader reader(unit);
        bool hasTarget = false, hasSegment = false;
        for (pugi::xml_node part : unit.children()) {
            const std::string_view name = LocalName(part);
            if (name != "segment" && name != "ignorable") continue;
            const pugi::xml_node target = part.child("target");
            if (!reader.Inline(part.child("source"), entry.source) || !reader.Inline(target, entry.translated)) {
                _report.losses.push_back(where() + " holds " + reader.ProblemText() + ": not read");
                return;
            }
            if (name == "segment") {
                // Of several segments, the least finished says how far the entry is.
                const EntryState state = StateOfSegment(part, target);
                entry.state = hasSegment ? std::min(entry.state, state) : state;
                hasSegment = true;
            }
            hasTarget = hasTarget || target;
        }
        if (!hasSegment) {
            _report.losses.push_back(where() + " has no segment: not read");
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

void Read(const std::string& text, TranslationFile& file, ReadReport& report) { XliffReader(text, file, report).Read(); }

std::string WhyNotHeld(const TranslationEntry& entry) {
    return HoldsEntry(entry, true) ? "" : "XML holds UTF-8 text only, and control characters only inside a source or target";
}

// Any <xliff> element but one of version 1, which is the other form's.
bool LooksLike(std::string_view text) {
    return text.substr(0, 1024).find("<xliff") != std::string_view::npos && XliffVersion(text).substr(0, 2) != "1.";
}
}  // namespace

const TranslationForm& XliffForm() {
    static const TranslationForm form{"xliff", {".xlf", ".xliff"}, true, LooksLike, Read, Write, WhyNotHeld};
    return form;
}
