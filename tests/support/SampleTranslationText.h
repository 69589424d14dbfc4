#pragma once
// A translation text of about 100 bytes per item, shared by the import benchmarks and the
// allocation guard tests so both measure the same shape.
#include <string>

inline std::string TranslationText(int items) {
    std::string text = "<Language>\n";
    for (int i = 0; i < items; ++i) {
        const std::string n = std::to_string(i);
        text += "\t<Textitem>\n\t\t<ID>key" + n + "</ID>\n\t\t<Original>source text " + n +
                "</Original>\n\t\t<Translated>translated text " + n + "</Translated>\n\t</Textitem>\n";
    }
    return text + "</Language>\n";
}
