// A scenario channel's file of any bytes: loading answers true or false without reading
// outside the file, the channel stays usable (it evaluates and saves), and a loaded channel
// saves bytes that load and save again unchanged.
#include "FuzzSupport.h"
#include "host/core/ErrorLog.h"
#include "scenario_channel/Aco_Storyloom.h"

namespace {
std::vector<unsigned char> Saved(Aco_Storyloom& channel) {
    A3dFileSaver saver;
    FUZZ_CHECK(channel.SaveChannel(saver));
    return saver.GetBytes();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzRun run;
    {
        Aco_Storyloom loaded;
        A3dFileLoader loader(std::vector<unsigned char>(data, data + size));
        const bool ok = loaded.LoadChannel(loader, nullptr);
        loaded.GetFloat();
        const std::vector<unsigned char> first = Saved(loaded);
        if (ok) {
            Aco_Storyloom again;
            A3dFileLoader reloader(first);
            FUZZ_CHECK(again.LoadChannel(reloader, nullptr));
            FUZZ_CHECK(Saved(again) == first);
        }
    }
    Core::ClearErrorLog();
    globalEngine.ClearDebugMessages();
    return 0;
}
