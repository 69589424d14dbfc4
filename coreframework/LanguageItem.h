#pragma once
#include <string>

// One dictionary entry; its texts never change after it was added.
class LanguageItem {
public:
    LanguageItem(std::string translated, std::string source)
        : _translated(std::move(translated)), _source(std::move(source)) {}
    virtual ~LanguageItem() = default;

    const std::string& GetTranslated() const { return _translated; }
    // The source-language text; translation does not use it.
    const std::string& GetSource() const { return _source; }

private:
    std::string _translated;
    std::string _source;
};
