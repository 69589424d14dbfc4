// Translate against a straightforward single-pass replacement written here, on a text of
// 1 MB with 10,000 placeholders; its cost per output byte must not grow with the number of
// placeholders, and a text without placeholders must not touch the heap.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

#include "support/CountingNew.h"
#include "PerformanceTable.h"
#include "ScalingTiming.h"

#include "storyloom/coreframework/LanguageDictionary.h"

namespace {

constexpr int kKeys = 1000;
constexpr int kPlaceholders = 10000;

// Every key's translation is plain text, or holds the placeholder of the next key, so that
// inserted text is scanned again.
void Fill(LanguageDictionary& dictionary, bool nested) {
    for (int k = 0; k < kKeys; ++k) {
        std::string translation = "translation number " + std::to_string(k);
        if (nested && k % 2 == 0) translation += " and $(key" + std::to_string(k + 1) + ")";
        dictionary.AddItem("key" + std::to_string(k), translation, "");
    }
}

// About 100 bytes per placeholder.
std::string TextWithPlaceholders(int count) {
    const std::string words = "Some words around a placeholder, as a designer's texts have them, then ";
    std::string text;
    for (int i = 0; i < count; ++i) text += words + "$(key" + std::to_string(i % kKeys) + ") ";
    return text;
}

// What replacing plain translations needs at least: one scan, one lookup per placeholder.
std::string ReplaceOnce(const std::string& text, const std::unordered_map<std::string, std::string>& translations) {
    std::string out;
    out.reserve(text.size() * 2);
    size_t at = 0;
    for (size_t open; (open = text.find("$(", at)) != std::string::npos;) {
        const size_t close = text.find(')', open + 2);
        if (close == std::string::npos) break;
        out.append(text, at, open - at);
        out += translations.find(text.substr(open + 2, close - open - 2))->second;
        at = close + 1;
    }
    out.append(text, at, std::string::npos);
    return out;
}

void TranslateAgainstOnePass(benchmark::State& state) {
    LanguageDictionary dictionary("$(", ")");
    Fill(dictionary, false);
    std::unordered_map<std::string, std::string> translations;
    for (const auto& entry : dictionary.GetItems()) translations[entry.first] = entry.second->GetTranslated();
    const std::string source = TextWithPlaceholders(kPlaceholders);
    std::string translated = source;
    dictionary.Translate(translated);
    if (translated != ReplaceOnce(source, translations)) return state.SkipWithError("the baseline translates otherwise");
    double translateSeconds = 0, onePassSeconds = 0;
    for (auto _ : state) {
        std::string text = source;
        translateSeconds += SecondsOf([&] { dictionary.Translate(text); });
        onePassSeconds += SecondsOf([&] { benchmark::DoNotOptimize(ReplaceOnce(source, translations).data()); });
    }
    TableRow(state, "Translate 1 MB, 10k placeholders, vs one pass", translateSeconds, onePassSeconds, 2.0,
             double(translated.size()));

    std::string plain(source.size(), 'x');
    AllocationRow(state, "Translate of a text without placeholders",
                  double(CountingNew::AllocationsOf([&] { dictionary.Translate(plain); })), 0);
}

// Ten times the placeholders, translations holding placeholders or not.
void TranslateScaling(benchmark::State& state, bool nested) {
    LanguageDictionary dictionary("$(", ")");
    Fill(dictionary, nested);
    const std::string small = TextWithPlaceholders(kPlaceholders), large = TextWithPlaceholders(10 * kPlaceholders);
    double smallSeconds = 0, largeSeconds = 0;
    size_t smallOutput = 0, largeOutput = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            std::string text = small;
            smallSeconds += SecondsOf([&] { dictionary.Translate(text); });
            smallOutput += text.size();
        }
        std::string text = large;
        largeSeconds += SecondsOf([&] { dictionary.Translate(text); });
        largeOutput += text.size();
    }
    TableRow(state, std::string("Translate per output byte, 10x the placeholders") + (nested ? ", nested" : ""),
             largeSeconds / largeOutput, smallSeconds / smallOutput, 1.2, 1.0 / state.iterations());
}

}  // namespace

BENCHMARK(TranslateAgainstOnePass)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(TranslateScaling, plain, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(TranslateScaling, nested, true)->Unit(benchmark::kMillisecond)->Iterations(3);

SCALING_BENCHMARK_MAIN()
