// Reading and writing translation texts against the least the same bytes can cost in the same
// run: the import against pugixml's parse of the same text (a DOM parser that does not copy
// its texts), the export against appending the same bytes to one reserved string. Import time
// per byte must also stay flat from 1,000 to 100,000 items.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <string>

#include "PerformanceTable.h"
#include "ScalingTiming.h"
#include "support/SampleTranslationText.h"

#include "storyloom/coreframework/LanguageDictionary.h"
#include "storyloom/coreframework/LanguageDictionaryXMLSerializer.h"
#include "storyloom/coreframework/serializer/Serializer.h"

namespace {

constexpr int kSmallItems = 1000;
constexpr int kLargeItems = 100000;

// Simple elements of the serializer's own format: half taken by a chunk, half unknown and kept.
std::string ValueText(int values) {
    std::string text = "<Values>\n";
    for (int i = 0; i < values; ++i) {
        const std::string n = std::to_string(i);
        text += (i % 2 ? "\t<known>" + n + "</known>\n" : "\t<unknown>" + n + "</unknown>\n");
    }
    return text + "</Values>\n";
}

size_t ImportTranslation(std::string text) {
    LanguageDictionary dictionary("$(", ")");
    LanguageDictionaryXMLSerializer::Import(text, dictionary);
    return dictionary.GetItems().size();
}

size_t ImportValues(std::string text) {
    Serializer node;
    node.SetTag("Values");
    node.AddChunk<int>("known", 0, 0, false);
    node.Import(CustomEnums::SerializerFlag::Import, text);
    return text.size();
}

// pugixml parses in place from its own copy of the bytes, as the importers take theirs.
size_t ParseWithPugixml(std::string text) {
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer_inplace(text.data(), text.size());
    return parsed ? 1 : 0;
}

// The import of the large text against pugixml's parse of it, and its time per byte against
// that of the small text read as many times as it is smaller.
void ImportRows(benchmark::State& state, const std::string& what, size_t (*import)(std::string),
                std::string (*make)(int), int largeCount) {
    const std::string small = make(largeCount / 100), large = make(largeCount);
    double smallSeconds = 0, largeSeconds = 0, pugiSeconds = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) smallSeconds += SecondsOf([&] { benchmark::DoNotOptimize(import(small)); });
        largeSeconds += SecondsOf([&] { benchmark::DoNotOptimize(import(large)); });
        pugiSeconds += SecondsOf([&] { benchmark::DoNotOptimize(ParseWithPugixml(large)); });
    }
    TableRow(state, what + " import vs pugixml parse", largeSeconds, pugiSeconds, 2.0, double(large.size()));
    TableRow(state, what + " import per byte, 100x the text", largeSeconds * small.size() * 100.0 / large.size(),
             smallSeconds, 1.2, double(large.size()));
}

void DictionaryImport(benchmark::State& state) {
    if (ImportTranslation(TranslationText(kSmallItems)) != size_t(kSmallItems))
        return state.SkipWithError("the import lost items");
    ImportRows(state, "dictionary (100k items)", ImportTranslation, TranslationText, kLargeItems);
}

void SerializerImport(benchmark::State& state) {
    ImportRows(state, "serializer tree (200k values)", ImportValues, ValueText, 2 * kLargeItems);
}

// The bytes the export writes, appended piece by piece to one reserved string.
std::string AppendSameBytes(const LanguageDictionary& dictionary, size_t size) {
    std::string out;
    out.reserve(size);
    out += "<Language>\n";
    for (const auto& entry : dictionary.GetItems()) {
        out += "\t<Textitem>\n\t\t<ID>";
        out += entry.first;
        out += "</ID>\n\t\t<Original>";
        out += entry.second->GetSource();
        out += "</Original>\n\t\t<Translated>";
        out += entry.second->GetTranslated();
        out += "</Translated>\n\t</Textitem>\n";
    }
    out += "</Language>\n";
    return out;
}

void DictionaryExport(benchmark::State& state) {
    LanguageDictionary dictionary("$(", ")");
    std::string text = TranslationText(kLargeItems);
    LanguageDictionaryXMLSerializer::Import(text, dictionary);
    std::string exported;
    LanguageDictionaryXMLSerializer::Export(dictionary, exported);
    if (AppendSameBytes(dictionary, exported.size()) != exported)
        return state.SkipWithError("the baseline does not write the export's bytes");
    double exportSeconds = 0, appendSeconds = 0;
    for (auto _ : state) {
        exportSeconds += SecondsOf([&] {
            std::string out;
            LanguageDictionaryXMLSerializer::Export(dictionary, out);
            benchmark::DoNotOptimize(out.data());
        });
        appendSeconds += SecondsOf([&] { benchmark::DoNotOptimize(AppendSameBytes(dictionary, exported.size()).data()); });
    }
    TableRow(state, "dictionary export vs appending the bytes", exportSeconds, appendSeconds, 2.0,
             double(exported.size()));
}

}  // namespace

BENCHMARK(DictionaryImport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SerializerImport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DictionaryExport)->Unit(benchmark::kMillisecond)->Iterations(5);

SCALING_BENCHMARK_MAIN()
