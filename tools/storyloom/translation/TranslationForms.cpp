#include "TranslationForm.h"

namespace TranslationForms {

const std::vector<const TranslationForm*>& All() {
    // Detection asks in this order: XLIFF (either version) before the XML it also is, plain
    // lines before PO (a plain key may start with "#"), CSV last (a comma is in many first lines).
    static const std::vector<const TranslationForm*> forms = {&XliffForm(), &Xliff12Form(), &XmlForm(),
                                                              &PlainForm(),  &PoForm(),      &CsvForm()};
    return forms;
}

std::string Names() { return "xml, plain, csv, po, xliff or xliff12"; }

const TranslationForm* Named(const std::string& name) {
    for (const TranslationForm* form : All())
        if (name == form->name) return form;
    return nullptr;
}

const TranslationForm* Detect(std::string_view text) {
    for (const TranslationForm* form : All())
        if (form->looksLike(text)) return form;
    return nullptr;
}

const TranslationForm* Of(const std::string& path, std::string_view text) {
    for (const TranslationForm* form : All()) {
        for (const char* extension : form->extensions) {
            const std::string_view ending = extension;
            if (path.size() < ending.size() || path.compare(path.size() - ending.size(), ending.size(), ending) != 0)
                continue;
            // An XLIFF file may be named ".xml", and ".xlf" ends files of both versions.
            if (form == &XmlForm() || form == &XliffForm())
                for (const TranslationForm* xliff : {&XliffForm(), &Xliff12Form()})
                    if (xliff->looksLike(text)) return xliff;
            return form;
        }
    }
    return Detect(text);
}

const TranslationForm* ForOutput(const std::string& path) {
    const std::string_view txt = ".txt";
    if (path.size() >= txt.size() && path.compare(path.size() - txt.size(), txt.size(), txt) == 0) return &PlainForm();
    return Of(path, "");
}

}  // namespace TranslationForms
