// Translate cost per output byte must not grow with the number of placeholders: each
// benchmark translates a small and a ten times larger text in the same run and reports the
// ratio of their times per output byte (1.0 is linear), and the large one against a copy.
#include <benchmark/benchmark.h>

#include <string>

#include "ScalingTiming.h"

#include "coreframework/LanguageDictionary.h"

namespace {

constexpr int smallCount = 10000;
constexpr int largeCount = 100000;
constexpr int keyCount = 1000;

// Every key's translation is plain text, or holds the placeholder of the next key, so that
// inserted text is scanned again.
void Fill(LanguageDictionary& dictionary, bool nested) {
    for (int k = 0; k < keyCount; ++k) {
        std::string translation = "translation number " + std::to_string(k);
        if (nested && k % 2 == 0) translation += " and $(key" + std::to_string(k + 1) + ")";
        dictionary.AddItem("key" + std::to_string(k), translation, "");
    }
}

std::string TextWithPlaceholders(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Some words $(key" + std::to_string(i % keyCount) + ") ";
    return text;
}

void TranslateScaling(benchmark::State& state, bool nested) {
    LanguageDictionary dictionary("$(", ")");
    Fill(dictionary, nested);
    const std::string small = TextWithPlaceholders(smallCount);
    const std::string large = TextWithPlaceholders(largeCount);
    double smallSeconds = 0, largeSeconds = 0, copySeconds = 0;
    size_t smallOutput = 0, largeOutput = 0;
    for (auto _ : state) {
        for (int i = 0; i < largeCount / smallCount; ++i) {
            std::string text = small;
            smallSeconds += SecondsOf([&] { dictionary.Translate(text); });
            smallOutput += text.size();
        }
        std::string text = large;
        largeSeconds += SecondsOf([&] { dictionary.Translate(text); });
        largeOutput += text.size();
        copySeconds += SecondsOf([&] {
            std::string copy = text;
            benchmark::DoNotOptimize(copy.data());
        });
    }
    state.counters["per_output_byte_100k_vs_10k"] =
        (largeSeconds / largeOutput) / (smallSeconds / smallOutput);
    state.counters["100k_vs_copy_of_output"] = largeSeconds / copySeconds;
    state.counters["MB_out_100k"] = largeOutput / 1e6 / state.iterations();
}

}  // namespace

BENCHMARK_CAPTURE(TranslateScaling, plain_translations, false)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(TranslateScaling, nested_translations, true)->Unit(benchmark::kMillisecond)->Iterations(5);

SCALING_BENCHMARK_MAIN()
