// Export, import, export of a tree whose values come from the input gives the same text
// twice, for the tagged form and for the bare form of the other states.
#include "FuzzSupport.h"
#include "SerializerTrees.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    FuzzInput input(data, size);
    const bool tagged = input.Byte() % 2;
    SerializerTree<> written(&input, tagged);
    SerializerTree<> read(nullptr, tagged);
    // Chunks keep the flags of the tree they stand for.
    for (const char* name : ChunkNames)
        for (bool attribute : {false, true})
            if (DataChunk* chunk = written.root.FindChunk(name, attribute))
                read.root.FindChunk(name, attribute)->SetFlags(chunk->GetFlags());
    for (const char* name : ChunkNames)
        if (DataChunk* chunk = written.child.FindChunk(name, false))
            read.child.FindChunk(name, false)->SetFlags(chunk->GetFlags());

    using namespace CustomEnums::SerializerFlag;
    const State exportState = tagged ? Export : static_cast<State>(2 + input.Pick(3));
    const State importState = tagged ? Import : exportState;
    const unsigned indent = input.Pick(4);
    std::string first;
    written.root.Export(exportState, first, indent);
    // A bare text is read from its second character on.
    std::string text = tagged ? first : "\n" + first;
    FUZZ_CHECK(read.root.Import(importState, text) == Serializer::ImportDone);
    std::string second;
    read.root.Export(exportState, second, indent);
    if (first != second) std::fprintf(stderr, "first:\n%s\nsecond:\n%s\n", first.c_str(), second.c_str());
    FUZZ_CHECK(first == second);
    return 0;
}
