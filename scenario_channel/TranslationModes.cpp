#include <string>

#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/host/core/Scenario.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "storyloom/scenario_channel/ModeSupport.h"

namespace {

// Link positions.
constexpr unsigned int kScenarioLink = 0;
constexpr unsigned int kDataLink = 1;    // the XML text, or the text to translate
constexpr unsigned int kKeyLink = 1;     // "Scenario_Translation_AddItem": key, translation, original
constexpr unsigned int kPrefixLink = 1;  // "Scenario_Translation_GetPrefixSuffix"
constexpr unsigned int kSuffixLink = 2;

// Every mode here works on the dictionary of the scenario; without one it stops with the
// reported status.
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
        std::string* const texts[] = {&key, &translated, &source};
        for (unsigned int i = 0; i < 3; ++i)
            if (!self.CE_CopyString(*texts[i], kKeyLink + i, true)) return ModeSupport::LinkError(self, kKeyLink + i);
        dictionary.AddItem(key, translated, source);
        return ModeResult::Done;
    });
}

// A prefix written before a failing suffix stays written.
float GetPrefixSuffix(Aco_Storyloom& self) {
    return WithDictionary(self, [&self](LanguageDictionary& dictionary) {
        if (!self.CE_SetString(dictionary.GetKeyPrefix(), kPrefixLink)) return ModeSupport::LinkError(self, kPrefixLink);
        if (!self.CE_SetString(dictionary.GetKeySuffix(), kSuffixLink)) return ModeSupport::LinkError(self, kSuffixLink);
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

using K = LinkKind;
constexpr LinkRecord kScenario = In(kScenarioLink, "CoreScenario", K::CoreRef);

const ModeRecord kRecords[] = {
    {MODE_Scenario_Translation_Export, 26, "Scenario_Translation_Export", "Scenario :: Translation :: Export", Export,
     {kScenario, InOut(kDataLink, "Data", K::Text)}},
    {MODE_Scenario_Translation_AddItem, 24, "Scenario_Translation_AddItem", "Scenario :: Translation :: AddItem",
     AddItem,
     {kScenario, In(kKeyLink, "Key", K::Text), In(kKeyLink + 1, "Translation", K::Text),
      In(kKeyLink + 2, "Original", K::Text)}},
    {MODE_Scenario_Translation_GetPrefixSuffix, 27, "Scenario_Translation_GetPrefixSuffix",
     "Scenario :: Translation :: GetPrefixSuffix", GetPrefixSuffix,
     {kScenario, Out(kPrefixLink, "KeyPrefix", K::Text), Out(kSuffixLink, "KeySuffix", K::Text)}},
    {MODE_Scenario_Translation_Clear, 25, "Scenario_Translation_Clear", "Scenario :: Translation :: Clear", Clear,
     {kScenario}},
    {MODE_Scenario_Translation_Import, 28, "Scenario_Translation_Import", "Scenario :: Translation :: Import", Import,
     {kScenario, In(kDataLink, "Data", K::Text)}},
    {MODE_Scenario_Translation_Translate, 29, "Scenario_Translation_Translate",
     "Scenario :: Translation :: Translate", Translate, {kScenario, InOut(kDataLink, "Data", K::Text)}},
};
const ModeCatalogue::Registration kRegistration(kRecords);

}  // namespace
