// Texts on which a translators' form once read wrongly, or wrote what it could not read.
#include <gtest/gtest.h>

#include "TranslationCheck.h"

namespace {
std::string Repeated(const std::string& piece, int times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}
}  // namespace

TEST(XliffForm, ReadsCodesAndGroupsNestedDeeperThanTheStackWouldHold) {
    const int depth = 500000;
    const std::string text =
        "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\" version=\"2.0\" srcLang=\"en\"><file id=\"f\">" +
        Repeated("<group>", depth) + "<unit id=\"DEEP\"><segment state=\"translated\"><source>" +
        Repeated("<pc id=\"p\">", depth) + "a<mrk id=\"m\">b</mrk>" + Repeated("</pc>", depth) +
        "c</source><target>t</target></segment></unit>" + Repeated("</group>", depth) +
        "<unit id=\"AFTER\"><segment><source>d</source></segment></unit></file></xliff>";
    TranslationFile file;
    ReadReport report;
    XliffForm().read(text, file, report);
    EXPECT_EQ(report.error, "");
    EXPECT_TRUE(report.losses.empty());
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(file.entries[0], (TranslationEntry{"DEEP", "abc", "t", EntryState::Translated, "", ""}));
    EXPECT_EQ(file.entries[1], (TranslationEntry{"AFTER", "d", "", EntryState::Untranslated, "", ""}));
}

TEST(TranslationForms, FilesOnceSpoiledByTheirWriterReadBack) {
    struct Case {
        const TranslationForm& form;
        TranslationFile file;
    } cases[] = {
        // A language holding quotes and backslashes, written into the PO header.
        {PoForm(), {"", "de \"x\" \\ y", {{"K", "Yes", "Ja", EntryState::Translated, "", ""}}}},
        // A first key starting with a byte-order mark, which the reader takes for the file's.
        {PlainForm(), {"", "", {{"\xEF\xBB\xBFKEY", "One", "Eins", EntryState::Translated, "", ""}}}},
    };
    for (const Case& c : cases) {
        std::string written;
        c.form.write(c.file, written);
        TranslationFile back;
        ReadReport report;
        c.form.read(written, back, report);
        EXPECT_EQ(report.error, "") << c.form.name;
        EXPECT_EQ(back.targetLanguage, c.file.targetLanguage) << c.form.name;
        EXPECT_EQ(back.entries, c.file.entries) << c.form.name;
    }
}

TEST(PlainForm, EveryCarriageReturnEndingALineIsItsLineEnd) {
    TranslationFile file;
    ReadReport report;
    PlainForm().read("A=Eins#Original=One\r\r\nB=Zwei#Original=Two\r\nC=Drei\r#Original=Three\r", file, report);
    EXPECT_TRUE(report.losses.empty());
    const std::vector<TranslationEntry> read = {{"A", "One", "Eins", EntryState::Translated, "", ""},
                                                {"B", "Two", "Zwei", EntryState::Translated, "", ""},
                                                {"C", "Three", "Drei\r", EntryState::Translated, "", ""}};
    EXPECT_EQ(file.entries, read);
    std::string written;
    PlainForm().write(file, written);
    EXPECT_TRUE(TranslationCheck::WriteLosses(PlainForm(), file, written).empty());
}
