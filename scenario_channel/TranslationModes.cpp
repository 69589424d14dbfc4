#include <string>

#include "coreframework/LanguageDictionary.h"
#include "scenario_channel/ModeHandlers.h"
#include "scenario_channel/ModeSupport.h"

namespace {

constexpr unsigned int kScenarioLink = 0;
constexpr unsigned int kDataLink = 1;  // the XML text, or the text to translate

// Every mode here works on the dictionary of the scenario at link 0; without one it stops
// with the reported status.
template <class Action>
float WithDictionary(Aco_Storyloom& self, Action action) {
    float status = ModeResult::Done;
    Core::Scenario* scenario = ModeSupport::ScenarioAt(self, kScenarioLink, status);
    return scenario ? action(scenario->GetLanguageDictionary()) : status;
}

// A copy of the "Data" text; a channel holding no text gives the empty text. False when no
// text channel is linked there.
bool CopyData(Aco_Storyloom& self, std::string& data) {
    char* text = nullptr;
    if (!self.CE_GetStringPointer(&text, kDataLink)) return false;
    data = text ? text : "";
    return true;
}

}  // namespace

namespace TranslationModes {

// The XML goes behind what "Data" held, so several dictionaries can be gathered in one text.
float Export(Aco_Storyloom& self) {
    return WithDictionary(self, [&self](LanguageDictionary& dictionary) {
        std::string data;
        if (!CopyData(self, data)) return ModeSupport::LinkError(self, kDataLink);
        LanguageDictionaryXMLSerializer::Export(dictionary, data);
        self.CE_SetString(data, kDataLink);  // the same text channel was just read
        return ModeResult::Done;
    });
}

// All three texts are read before the dictionary changes, so a failure adds nothing.
float AddItem(Aco_Storyloom& self) {
    return WithDictionary(self, [&self](LanguageDictionary& dictionary) {
        std::string key, translated, source;
        std::string* const texts[] = {&key, &translated, &source};  // links 1, 2, 3
        for (unsigned int link = 1; link <= 3; ++link)
            if (!self.CE_CopyString(*texts[link - 1], link, true)) return ModeSupport::LinkError(self, link);
        dictionary.AddItem(key, translated, source);
        return ModeResult::Done;
    });
}

// A prefix written before a failing suffix stays written.
float GetPrefixSuffix(Aco_Storyloom& self) {
    return WithDictionary(self, [&self](LanguageDictionary& dictionary) {
        if (!self.CE_SetString(dictionary.GetKeyPrefix(), 1)) return ModeSupport::LinkError(self, 1);
        if (!self.CE_SetString(dictionary.GetKeySuffix(), 2)) return ModeSupport::LinkError(self, 2);
        return ModeResult::Done;
    });
}

float Clear(Aco_Storyloom& self) {
    return WithDictionary(self, [](LanguageDictionary& dictionary) {
        dictionary.Clear();
        return ModeResult::Done;
    });
}

// The importer consumes its input; working on a copy leaves "Data" as it was.
float Import(Aco_Storyloom& self) {
    return WithDictionary(self, [&self](LanguageDictionary& dictionary) {
        std::string data;
        if (!CopyData(self, data)) return ModeSupport::LinkError(self, kDataLink);
        LanguageDictionaryXMLSerializer::Import(data, dictionary);
        return ModeResult::Done;
    });
}

// Missing keys are the dictionary's to log; their placeholders become its not-found text.
float Translate(Aco_Storyloom& self) {
    return WithDictionary(self, [&self](LanguageDictionary& dictionary) {
        std::string text;
        if (!CopyData(self, text)) return ModeSupport::LinkError(self, kDataLink);
        dictionary.Translate(text);
        self.CE_SetString(text, kDataLink);
        return ModeResult::Done;
    });
}

}  // namespace TranslationModes
