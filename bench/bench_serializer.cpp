// Import cost per byte must not grow with the text: each benchmark reads a small and a ten
// times larger text in the same run and reports the ratio of their times per byte (1.0 is
// linear), and the large import against a plain copy of its text.
#include <benchmark/benchmark.h>

#include <string>

#include "ScalingTiming.h"

#include "coreframework/LanguageDictionary.h"
#include "coreframework/serializer/Serializer.h"

namespace {

constexpr int smallCount = 10000;
constexpr int largeCount = 100000;

// A translation text of about 100 bytes per item.
std::string TranslationText(int items) {
    std::string text = "<Language>\n";
    for (int i = 0; i < items; ++i) {
        const std::string n = std::to_string(i);
        text += "\t<Textitem>\n\t\t<ID>key" + n + "</ID>\n\t\t<Original>source text " + n +
                "</Original>\n\t\t<Translated>translated text " + n + "</Translated>\n\t</Textitem>\n";
    }
    return text + "</Language>\n";
}

// Simple elements: half of them taken by a chunk and cut out, half unknown and kept.
std::string ValueText(int values) {
    std::string text = "<Values>\n";
    for (int i = 0; i < values; ++i) {
        const std::string n = std::to_string(i);
        text += (i % 2 ? "\t<known>" + n + "</known>\n" : "\t<unknown>" + n + "</unknown>\n");
    }
    return text + "</Values>\n";
}

void ImportTranslation(std::string text) {
    LanguageDictionary dictionary("$(", ")");
    LanguageDictionaryXMLSerializer::Import(text, dictionary);
    benchmark::DoNotOptimize(dictionary.GetItems().size());
}

void ImportValues(std::string text) {
    Serializer node;
    node.SetTag("Values");
    node.AddChunk<int>("known", 0, 0, false);
    node.Import(CustomEnums::SerializerFlag::Import, text);
    benchmark::DoNotOptimize(text.size());
}

void ImportScaling(benchmark::State& state, void (*import)(std::string),
                   std::string (*make)(int)) {
    const std::string small = make(smallCount);
    const std::string large = make(largeCount);
    double smallSeconds = 0, largeSeconds = 0, copySeconds = 0;
    for (auto _ : state) {
        // The small text is read as many times as it is smaller, so both sides see as many bytes.
        for (int i = 0; i < largeCount / smallCount; ++i) smallSeconds += SecondsOf([&] { import(small); });
        largeSeconds += SecondsOf([&] { import(large); });
        copySeconds += SecondsOf([&] {
            std::string copy = large;
            benchmark::DoNotOptimize(copy.data());
        });
    }
    const double smallPerByte = smallSeconds / (small.size() * double(largeCount / smallCount));
    const double largePerByte = largeSeconds / large.size();
    state.counters["per_byte_100k_vs_10k"] = largePerByte / smallPerByte;
    state.counters["100k_vs_plain_copy"] = largeSeconds / copySeconds;
    state.counters["ns_per_byte_100k"] = 1e9 * largePerByte / state.iterations();
    state.counters["MB_100k"] = large.size() / 1e6;
}

}  // namespace

BENCHMARK_CAPTURE(ImportScaling, translation_items, ImportTranslation, TranslationText)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(ImportScaling, simple_values, ImportValues, ValueText)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

SCALING_BENCHMARK_MAIN()
