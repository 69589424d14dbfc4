#include "TranslationStepGuard.h"

#include "TranslationGuard.h"

namespace {
// Link positions of the dictionary's modes.
constexpr unsigned int kScenarioLink = 0;
constexpr unsigned int kDataLink = 1;

void Report(FILE* out, const std::string& who, const std::string& line) {
    std::fprintf(out, "  translation [%s]: %s\n", who.c_str(), line.c_str());
}
}  // namespace

TranslationStepGuard::TranslationStepGuard(A3d_Channel* evaluated, std::uint64_t maxText) : _maxText(maxText) {
    auto* channel = dynamic_cast<Aco_Storyloom*>(evaluated);
    if (!channel) return;
    const unsigned int mode = channel->GetCurrentMode();
    if (mode == MODE_Scenario_Translation_Import || mode == MODE_Scenario_Translation_Export ||
        mode == MODE_Scenario_Translation_Translate) {
        _channel = channel;
        _mode = mode;
    }
}

bool TranslationStepGuard::Before(FILE* out, const std::string& who, std::string& failure) {
    if (!_channel) return true;
    // Without a scenario or a text the mode itself fails, and says so.
    auto* ref = dynamic_cast<Aco_CoreRef*>(_channel->GetChild(kScenarioLink));
    auto* scenario = ref ? dynamic_cast<Core::Scenario*>(ref->GetRef()) : nullptr;
    auto* data = dynamic_cast<Aco_StringChannel*>(_channel->GetChild(kDataLink));
    if (!scenario || !data) {
        _channel = nullptr;
        return true;
    }
    const std::string text = data->GetString() ? data->GetString() : "";
    if (_mode == MODE_Scenario_Translation_Import) {
        _importText = text;
        return true;
    }
    const LanguageDictionary& dictionary = scenario->GetLanguageDictionary();
    if (_mode == MODE_Scenario_Translation_Export) {
        const std::vector<std::string> lost = TranslationGuard::EntriesLostInXml(dictionary);
        for (const std::string& line : lost) Report(out, who, line);
        if (!lost.empty())
            failure = std::to_string(lost.size()) + (lost.size() == 1 ? " entry" : " entries") +
                      " of the dictionary cannot come back through the XML form";
    } else {
        const TranslationGuard::SizeEstimate size = TranslationGuard::EstimateTranslation(dictionary, text, _maxText);
        if (size.overLimit)
            failure = "refused: the translation would grow past " + std::to_string(_maxText) +
                      " bytes (--max-text raises the limit)";
        else if (!size.selfReference.empty())
            Report(out, who, size.selfReference + " is left as written inside its own expansion");
    }
    if (!failure.empty()) Report(out, who, failure);
    return failure.empty() || _mode != MODE_Scenario_Translation_Translate;
}

void TranslationStepGuard::After(FILE* out, const std::string& who, std::string& failure) const {
    if (!_channel || _mode != MODE_Scenario_Translation_Import) return;
    failure = TranslationGuard::Shortfall(TranslationGuard::CountItems(_importText));
    if (!failure.empty()) Report(out, who, failure);
}
