// A channel file of any bytes, loaded by each host channel class: loading answers true or
// false without reading outside the file, the channel stays usable either way, and a loaded
// channel saves bytes that load and save again unchanged.
#include <memory>

#include "FuzzSupport.h"
#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/EngineHost.h"
#include "storyloom/host/ScenarioCore.h"

namespace {

// Reads everything the class offers, so a half-loaded channel is touched everywhere.
void Use(A3d_Channel& channel) {
    const char* name = channel.GetChannelName();
    if (name) FUZZ_CHECK(std::strlen(name) < (1u << 20));
    if (auto* value = dynamic_cast<Aco_FloatChannel*>(&channel)) value->GetFloat();
    if (auto* vector = dynamic_cast<Aco_VectorChannel*>(&channel)) vector->GetVector();
    if (auto* text = dynamic_cast<Aco_StringChannel*>(&channel)) {
        if (const char* narrow = text->GetString()) FUZZ_CHECK(std::strlen(narrow) < (1u << 20));
        text->GetWString();
    }
    if (auto* matrix = dynamic_cast<Aco_MatrixChannel*>(&channel)) matrix->GetMatrix();
    if (auto* reference = dynamic_cast<Aco_CoreRef*>(&channel)) FUZZ_CHECK(!reference->GetRef());
    if (auto* enumeration = dynamic_cast<Aco_CustomEnum*>(&channel)) enumeration->GetFloatExt(5);
}

std::vector<unsigned char> Saved(A3d_Channel& channel) {
    A3dFileSaver saver;
    FUZZ_CHECK(channel.SaveChannel(saver));
    return saver.GetBytes();
}

template <class Channel>
void LoadSaveLoad(const std::vector<unsigned char>& bytes) {
    Channel loaded;
    A3dFileLoader loader(bytes);
    const bool ok = loaded.LoadChannel(loader, nullptr);
    Use(loaded);
    if (!ok) return;
    const std::vector<unsigned char> first = Saved(loaded);
    Channel again;
    A3dFileLoader reloader(first);
    FUZZ_CHECK(again.LoadChannel(reloader, nullptr));
    FUZZ_CHECK(Saved(again) == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    const std::vector<unsigned char> bytes(data, data + size);
    LoadSaveLoad<Aco_FloatChannel>(bytes);
    LoadSaveLoad<Aco_VectorChannel>(bytes);
    LoadSaveLoad<Aco_StringChannel>(bytes);
    LoadSaveLoad<Aco_MatrixChannel>(bytes);
    LoadSaveLoad<Aco_CoreRef>(bytes);
    LoadSaveLoad<Aco_CustomEnum>(bytes);
    return 0;
}
