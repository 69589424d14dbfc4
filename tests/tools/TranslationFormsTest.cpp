// Translators' files: every form gives back what it is given or names the entry it cannot,
// each reader reads what such files hold (or says what it did not), and the merge and the
// pseudo-translation keep what they must.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "PseudoLocale.h"
#include "QuotedText.h"
#include "SourceHash.h"
#include "TranslationCheck.h"
#include "TranslationMerge.h"
#include "Utf8.h"

namespace {
TranslationEntry Entry(std::string key, std::string source, std::string translated,
                       EntryState state = EntryState::Translated) {
    return {std::move(key), std::move(source), std::move(translated), state, "", ""};
}

std::vector<TranslationEntry> ByKey(std::vector<TranslationEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
    return entries;
}

// Texts made of the pieces that break forms: markup, quotes, markers, line ends, non-ASCII.
std::string RandomText(std::mt19937& random, bool key) {
    static const char* const pieces[] = {"a",  "Zed", " ",   "\u00fc",  "\u65e5\u672c", "\U0001F642", "[[GATE]]", "[[",
                                         "]]", "\n",  "\t",  "\r",      "&",            "<",          ">",        "\"",
                                         "'",  ",",   "=",   "[BR]",    "#Original=",   "\\",         "%s",       "<!--",
                                         "</Translated>", "msgid \"\"", "-->", "0", "\x01"};
    const std::size_t count = random() % (key ? 4 : 7);
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += pieces[random() % (key ? 8 : std::size(pieces))];
    return text;
}

TranslationFile RandomFile(std::mt19937& random) {
    TranslationFile file{"en", "fr", {}};
    for (int i = 0, count = 1 + random() % 12; i < count; ++i) {
        std::string key = RandomText(random, true) + std::to_string(i);  // unique, sorting oddly
        // Every state, so each form's state words come back; an untranslated entry has no text.
        const auto state = static_cast<EntryState>(random() % (static_cast<int>(EntryState::Final) + 1));
        std::string source = RandomText(random, false), translated = RandomText(random, false);
        if (state == EntryState::Untranslated) translated.clear();
        file.entries.push_back(Entry(key, std::move(source), std::move(translated), state));
    }
    return file;
}

std::string Written(const TranslationForm& form, TranslationFile& file) {
    if (form.holdsState) TranslationCheck::FillSourceHashes(file);
    std::string text;
    form.write(file, text);
    return text;
}

TranslationFile ReadAs(const TranslationForm& form, const std::string& text, ReadReport* report = nullptr) {
    TranslationFile file;
    ReadReport own;
    form.read(text, file, report ? *report : own);
    return file;
}

// Whether a loss line names the entry (with these words).
bool Names(const std::vector<std::string>& lines, const std::string& key, const std::string& words = "") {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind("entry " + QuotedText::ForMessage(key) + " ", 0) == 0 && line.find(words) != std::string::npos;
    });
}

std::filesystem::path WorkFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::current_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void Save(const std::filesystem::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
}  // namespace

TEST(TranslationForms, RandomDictionariesComeBackWholeOrTheLostEntriesAreNamed) {
    std::mt19937 random(20261207);
    const std::filesystem::path folder = WorkFolder("round_trips");
    std::vector<std::size_t> lost(TranslationForms::All().size());
    for (int round = 0; round < 60; ++round) {
        const TranslationFile start = RandomFile(random);
        for (std::size_t f = 0; f < TranslationForms::All().size(); ++f) {
            const TranslationForm& form = *TranslationForms::All()[f];
            SCOPED_TRACE(std::string(form.name) + " round " + std::to_string(round));
            TranslationFile file = start;
            const std::string text = Written(form, file);
            const std::vector<std::string> losses = TranslationCheck::WriteLosses(form, file, text);
            lost[f] += losses.size();
            // PO loses only what gettext cannot hold, and says which; XLIFF 1.2 only control
            // characters, which it has no way to write.
            for (const std::string& line : losses) {
                if (form.name == std::string("po")) {
                    EXPECT_EQ(line.back(), ')') << line;
                }
                if (form.name == std::string("xliff12")) {
                    EXPECT_NE(line.find("no control characters"), std::string::npos) << line;
                }
            }
            const TranslationFile back = ReadAs(form, text);
            for (const TranslationEntry& entry : TranslationCheck::AsHeldBy(form, file).entries) {
                auto found = std::find_if(back.entries.begin(), back.entries.end(),
                                          [&](const TranslationEntry& b) { return b.key == entry.key; });
                const bool whole = found != back.entries.end() && *found == entry;
                // Whole, or named with its reason: its own, or a neighbour that spoils it.
                EXPECT_NE(whole, Names(losses, entry.key)) << entry.key;
                TranslationFile one{"", "", {entry}};
                const bool aloneLost = !TranslationCheck::WriteLosses(form, one, Written(form, one)).empty();
                if (!whole) {
                    EXPECT_NE(aloneLost, Names(losses, entry.key, "beside the entries before it")) << entry.key;
                }
            }
            for (const char* checked : {"po", "xliff", "xliff12"})
                if (form.name == std::string(checked))
                    Save(folder / ("r" + std::to_string(round) + "." + checked), text);
        }
    }
    // CSV and XLIFF 2.0 hold every text; XLIFF 1.2 all but control characters; the dictionary's
    // forms lose many of these.
    const auto lostBy = [&](const char* name) {
        return lost[std::find(TranslationForms::All().begin(), TranslationForms::All().end(), TranslationForms::Named(name)) -
                    TranslationForms::All().begin()];
    };
    EXPECT_EQ(lostBy("csv"), 0u);
    EXPECT_EQ(lostBy("xliff"), 0u);
    EXPECT_GT(lostBy("xliff12"), 0u);
    EXPECT_GT(lostBy("xml"), 0u);
    // What translators' tools make of the files written.
    EXPECT_EQ(std::system(("for f in " + folder.string() + "/*.po; do msgfmt --check -o /dev/null \"$f\" || exit 1; done").c_str()), 0);
    // Each XLIFF version against its schema, which refuses a file that version does not allow.
    const std::filesystem::path schema2 = STORYLOOM_XLIFF_SCHEMA;
    const struct {
        std::filesystem::path schema;
        const char* ending;
        std::string broken;
    } schemas[] = {
        {schema2, "xliff",
         "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\"><file id=\"f\"/></xliff>"},
        {schema2.parent_path() / "xliff-core-1.2-strict.xsd", "xliff12",
         "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\"><file original=\"o\" "
         "source-language=\"en\" datatype=\"plaintext\"><body><trans-unit id=\"a\"><target/><source/>"
         "</trans-unit></body></file></xliff>"},
    };
    for (const auto& [schema, ending, broken] : schemas) {
        if (!std::filesystem::exists(schema)) GTEST_SKIP() << "no XLIFF schema at " << schema;
        const std::string lint = "xmllint --noout --schema " + schema.string() + " " + folder.string();
        EXPECT_EQ(std::system((lint + "/*." + ending + " 2>/dev/null").c_str()), 0) << ending;
        Save(folder / (std::string("broken.") + ending), broken);
        EXPECT_NE(std::system((lint + "/broken." + ending + " 2>/dev/null").c_str()), 0) << ending;
    }
}

TEST(TranslationForms, ReadersReadWhatTranslatorsFilesHoldAndTellWhatTheyDoNot) {
    struct Case {
        const char* form;
        std::string text;
        std::vector<TranslationEntry> entries;  // in key order
        std::string loss, warning;              // a part of the first line of each; empty: none
    } cases[] = {
        {"po", "msgid \"Hello\"\nmsgstr \"Hallo\"\n", {Entry("Hello", "Hello", "Hallo")}, "", ""},
        {"po", "#, fuzzy\nmsgctxt \"A\"\nmsgid \"a\"\nmsgstr \"x\"\n\nmsgctxt \"B\"\nmsgid \"b\"\nmsgstr \"\"\n",
         {Entry("A", "a", "x", EntryState::Fuzzy), Entry("B", "b", "", EntryState::Untranslated)}, "", ""},
        {"po", "msgctxt \"A\"\nmsgid \"a\"\nmsgstr \"1\"\n\nmsgctxt \"A\"\nmsgid \"b\"\nmsgstr \"2\"\n",
         {Entry("A", "a", "1")}, "line 5: the key \"A\" again (first on line 1)", ""},
        {"po", "msgid \"one\"\nmsgid_plural \"many\"\nmsgstr[0] \"x\"\n\nmsgid \"k\"\nmsgstr \"v\"\n",
         {Entry("k", "k", "v")}, "line 1: an entry with plural forms is not read", ""},
        {"po", "# a note\n#~ msgid \"old\"\nmsgid \"k\"\nmsgstr \"v\"\n", {Entry("k", "k", "v")}, "",
         "1 obsolete (#~) lines are not read"},
        {"csv", "\xEF\xBB\xBFkey,original,translated\r\nA,a,\"x\r\ny\"\r\nB,b,\r\n",
         {Entry("A", "a", "x\r\ny"), Entry("B", "b", "", EntryState::Untranslated)}, "", ""},
        {"csv", "key,original,translated\nA,a,1\nA,b,2\nC,c\n", {Entry("A", "a", "1")},
         "line 3: the key \"A\" again (first on line 2)", ""},
        {"csv", "key,translated,original,state\nA,x,a,fuzzy\nB,y,b,done\n", {Entry("A", "a", "x", EntryState::Fuzzy)},
         "line 3: the state \"done\" is none of", ""},
        {"plain", "A=x#Original=a\nno marker here\n\nB=y#Original=b", {Entry("A", "a", "x"), Entry("B", "b", "y")},
         "line 2: not \"KEY=TRANSLATION#Original=ORIGINAL\"", ""},
        {"plain", "A=x#Original=a\nA=y#Original=b\n", {Entry("A", "a", "x")}, "line 2: the key \"A\" again", ""},
        {"xml", "<Language><Textitem><ID>A</ID><Orignal>a</Orignal><Translated>x</Translated></Textitem></Language>",
         {Entry("A", "", "x")}, "", "line 1: the element <Orignal> inside an item is not read"},
        {"xml", "<Language><Textitem><ID>A</ID></Textitem><!--<Textitem><ID>B</ID></Textitem>--></Language>",
         {Entry("A", "", "")}, "1 of 2 translation items in the text could not be read", ""},
        {"xliff",
         "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\" srcLang=\"en\"><file id=\"f\">"
         "<unit id=\"A\"><segment><source>a<sc id=\"1\"/></source></segment></unit>"
         "<unit id=\"B\"><segment state=\"final\"><source>b<cp hex=\"0001\"/></source><target>c</target></segment></unit>"
         "<group id=\"g\"><unit id=\"C\"><segment><source>s</source></segment></unit></group></file></xliff>",
         {Entry("B", "b\x01", "c", EntryState::Final), Entry("C", "s", "", EntryState::Untranslated)},
         "the unit \"A\" holds an inline <sc> code, which is not supported", ""},
        {"xliff12",
         "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\"><file original=\"o\" "
         "source-language=\"en\" datatype=\"plaintext\"><body>"
         "<trans-unit id=\"A\"><source>a<bpt id=\"1\">[</bpt></source></trans-unit>"
         "<group><trans-unit id=\"B C\"><source>b <ph id=\"1\">[[N]]</ph><x id=\"2\" equiv-text=\"[[M]]\"/></source>"
         "<target state=\"signed-off\"><g id=\"3\">c <mrk mtype=\"x\">[[N]]</mrk></g></target>"
         "<note from=\"previous\">old</note></trans-unit></group>"
         "<trans-unit id=\"D\"><source>d</source><target state=\"needs-translation\">e</target></trans-unit>"
         "</body></file></xliff>",
         {{"B C", "b [[N]][[M]]", "c [[N]]", EntryState::Reviewed, "", "old"}, Entry("D", "d", "e", EntryState::Fuzzy)},
         "the unit \"A\" holds an inline <bpt> code, which is not supported", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ReadReport report;
        const TranslationFile file = ReadAs(*TranslationForms::Named(c.form), c.text, &report);
        EXPECT_EQ(report.error, "");
        EXPECT_EQ(ByKey(file.entries), c.entries);
        ASSERT_EQ(report.losses.empty(), c.loss.empty());
        if (!c.loss.empty()) {
            EXPECT_NE(report.losses[0].find(c.loss), std::string::npos) << report.losses[0];
        }
        ASSERT_EQ(report.warnings.empty(), c.warning.empty());
        if (!c.warning.empty()) {
            EXPECT_NE(report.warnings[0].find(c.warning), std::string::npos) << report.warnings[0];
        }
    }
}

TEST(TranslationForms, FormsAreToldByNameAndText) {
    const std::string xml = "<Language></Language>", xliff = "<?xml version=\"1.0\"?>\n<xliff version=\"2.0\">",
                      xliff12 = "<?xml version=\"1.0\"?>\n<xliff xmlns=\"urn:xliff\" version = '1.2'>";
    struct Case {
        std::string path, text;
        const char* form;  // null: cannot be told
    } cases[] = {
        {"fr.txt", xml, "xml"},          {"fr.xml", xliff, "xliff"},          {"fr.txt", "A=b#Original=c\n", "plain"},
        {"fr", "# note\nmsgid \"\"", "po"}, {"fr.po", "A=b#Original=c\n", "po"}, {"fr", "key,original", "csv"},
        {"fr.xlf", "", "xliff"},         {"fr.txt", "just words\n", nullptr}, {"fr.txt", "\xEF\xBB\xBF\n\nmsgid \"\"", "po"},
        {"fr.xlf", xliff12, "xliff12"},  {"fr.xml", xliff12, "xliff12"},      {"fr", xliff12, "xliff12"},
    };
    for (const Case& c : cases) {
        const TranslationForm* form = TranslationForms::Of(c.path, c.text);
        EXPECT_EQ(form ? form->name : nullptr, c.form ? TranslationForms::Named(c.form)->name : nullptr) << c.path << c.text;
    }
}

TEST(TranslationForms, PoFilesKeepStatesAndPreviousOriginalsAndStayValidForGettext) {
    TranslationFile file{"", "fr", {Entry("A", "one\ntwo\n", "un\ndeux\n", EntryState::Final),
                                    Entry("B", "b", "x", EntryState::Fuzzy), Entry("C", "c\n", "sans", EntryState::Translated),
                                    Entry("D", "d", "", EntryState::Untranslated)}};
    file.entries[1].previousSource = "old\nb";
    const TranslationForm& po = PoForm();
    const std::string text = Written(po, file);
    // Only C, whose line feeds gettext would refuse, goes out otherwise: fuzzy.
    const std::vector<std::string> losses = TranslationCheck::WriteLosses(po, file, text);
    ASSERT_EQ(losses.size(), 1u);
    EXPECT_NE(losses[0].find("entry \"C\" cannot come back through the po form: its state reads back as fuzzy"), std::string::npos);
    const TranslationFile back = ReadAs(po, text);
    EXPECT_EQ(back.targetLanguage, "fr");
    for (std::size_t i : {0, 1, 3}) EXPECT_EQ(back.entries[i], file.entries[i]);
    EXPECT_NE(text.find("#, fuzzy\n#| msgid \"\"\n#| \"old\\n\"\n#| \"b\"\nmsgctxt \"B\""), std::string::npos) << text;
    Save(WorkFolder("po_states") / "states.po", text);
    EXPECT_EQ(std::system("msgfmt --check -o /dev/null po_states/states.po"), 0);
}

TEST(TranslationMerge, ChangedSourcesGoFuzzyNewOnesComeUntranslatedRemovedOnesAreNamed) {
    TranslationFile old{"en", "de", {Entry("SAME", "Open", "Offen"), Entry("CHANGED", "Close", "Zu"),
                                     Entry("HASHED", "Run", "Lauf"), Entry("GONE", "Old", "Alt"),
                                     Entry("TODO", "Wait", "", EntryState::Untranslated)}};
    TranslationCheck::FillSourceHashes(old);
    old.entries[2].sourceHash = SourceHash("Walk");  // translated for another original than the file shows
    TranslationFile fresh{"en", "", {Entry("NEW", "Jump", ""), Entry("TODO", "Wait!", ""), Entry("HASHED", "Run", ""),
                                     Entry("CHANGED", "Close it", ""), Entry("SAME", "Open", "")}};
    MergeReport report;
    const TranslationFile merged = MergeWithSource(old, fresh, report);
    const std::vector<TranslationEntry> wanted = {
        {"NEW", "Jump", "", EntryState::Untranslated, SourceHash("Jump"), ""},
        {"TODO", "Wait!", "", EntryState::Untranslated, SourceHash("Wait!"), ""},
        {"HASHED", "Run", "Lauf", EntryState::Fuzzy, SourceHash("Run"), "Run"},
        {"CHANGED", "Close it", "Zu", EntryState::Fuzzy, SourceHash("Close it"), "Close"},
        {"SAME", "Open", "Offen", EntryState::Translated, SourceHash("Open"), ""},
    };
    EXPECT_EQ(merged.entries, wanted);
    EXPECT_EQ(merged.targetLanguage, "de");
    EXPECT_EQ((std::vector<std::size_t>{report.kept, report.changed, report.added}), (std::vector<std::size_t>{1, 3, 1}));
    EXPECT_EQ(report.removedKeys, std::vector<std::string>{"GONE"});
    // Merged again with the same source, nothing changes: fuzzy entries keep their first original.
    MergeReport again;
    EXPECT_EQ(MergeWithSource(merged, fresh, again).entries, wanted);
    EXPECT_EQ(again.changed, 0u);
}

TEST(PseudoLocale, WidensAndAccentsTextButKeepsPlaceholdersAndMarkup) {
    struct Case {
        std::string source, pseudo;
    } cases[] = {
        {"Hello", "[Ĥéĺĺó~~]"},
        {"[[NAME]] has %d coins", "[ [[NAME]] ĥáš %d çóíñš~~~~ ]"},
        {"<b>Go</b>[BR]now", "[<b>Ĝó</b>[BR]ñóŵ~~]"},
        {"", "[]"},
    };
    for (const Case& c : cases) EXPECT_EQ(PseudoTranslation(c.source, 0.3), c.pseudo);
    EXPECT_EQ(PseudoTranslation("abcdefghij", 1.0), "[áƀçđéƒĝĥíĵ~~~~~~~~~~]");
}

TEST(TranslationForms, TextsThatAreNotOfTheFormAreRefusedWithTheirLine) {
    const std::string xliff = "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"";
    struct Case {
        const char* form;
        std::string text, error;
    } cases[] = {
        {"po", "msgid \"a\"\nmsgstr \"b\"c\"\n", "line 2: not a PO line"},
        {"po", "msgid \"a\\q\"\n", "line 1: not a PO line"},
        {"csv", "key,original,translated\nA,\"open\nB,b,c\n", "line 2: a quoted field is never closed"},
        {"xliff", xliff + "2.0\">\n<file id=\"f\"><unit>\n</file></xliff>", "line 3: not well-formed XML"},
        {"xliff", xliff + "1.2\"><file/></xliff>", "not an XLIFF 2 document"},
        {"xliff12", xliff + "2.0\"><file/></xliff>", "not an XLIFF 1 document"},
    };
    for (const Case& c : cases) {
        ReadReport report;
        ReadAs(*TranslationForms::Named(c.form), c.text, &report);
        EXPECT_EQ(report.error.rfind(c.error, 0), 0u) << c.text << " -> " << report.error;
    }
}

TEST(Utf8, CharactersAreToldFromBytesThatAreNotOneAndWrittenBack) {
    struct Case {
        std::string bytes;
        std::size_t length;  // 0: not a character
        std::uint32_t code;
    } cases[] = {
        {"A", 1, 0x41},          {"\x7f", 1, 0x7f},           {"\xC2\x80", 2, 0x80},       {"\xDF\xBF", 2, 0x7ff},
        {"\xE0\xA0\x80", 3, 0x800}, {"\xEF\xBF\xBF", 3, 0xffff}, {"\xF0\x90\x80\x80", 4, 0x10000},
        {"\xF4\x8F\xBF\xBF", 4, 0x10ffff},
        {"\xC2", 0, 0},            {"\xE2\x82", 0, 0},          // cut short
        {"\xC0\xAF", 0, 0},        {"\xE0\x9F\xBF", 0, 0},      // overlong
        {"\xED\xA0\x80", 0, 0},    {"\xF4\x90\x80\x80", 0, 0},  // a surrogate, past U+10FFFF
        {"\x80", 0, 0},            {"\xC2\x41", 0, 0},          // a continuation alone, a lead without one
    };
    for (const Case& c : cases) {
        std::uint32_t code = 0;
        EXPECT_EQ(Utf8::CharAt(c.bytes, 0, code), c.length) << c.bytes;
        if (c.length == 0) continue;
        EXPECT_EQ(code, c.code);
        std::string written;
        Utf8::Append(written, code);
        EXPECT_EQ(written, c.bytes);
    }
}
