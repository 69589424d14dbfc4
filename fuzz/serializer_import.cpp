// The serializer's reader on any text: it answers one of its results, never reads outside
// the text, and only ever removes from it.
#include "FuzzSupport.h"
#include "SerializerTrees.h"

namespace {

// A nested element may stop the import with a result the input chooses.
class StoppingSerializer : public Serializer {
public:
    int OnImportUnknownData(const std::string&, const std::string& text) override {
        return text.size() % 7 == 3 ? 42 : 0;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    FuzzInput input(data, size);
    const auto state = static_cast<CustomEnums::SerializerFlag::State>(input.Pick(5));
    const bool tagged = input.Byte() % 2;
    SerializerTree<StoppingSerializer> tree(nullptr, tagged);
    std::string text = input.Rest();
    const size_t before = text.size();
    const int result = tree.root.Import(state, text);
    FUZZ_CHECK(result == Serializer::ImportDone || result == Serializer::ImportUnclosedAttribute ||
               result == Serializer::ImportTagNotFound || result == Serializer::ImportUnbalancedElement ||
               result == 42);
    FUZZ_CHECK(text.size() <= before);
    return 0;
}
