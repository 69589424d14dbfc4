// A scenario channel's file of any bytes: loading answers true or false without reading
// outside the file, the channel stays usable (it evaluates and saves), and what it saves is
// settled after one more load: the file always says that names follow modes other than the
// construct and objective ones, so that load may rename the channel once; from then on
// load and save give the same bytes.
#include "FuzzSupport.h"
#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"

namespace {
std::vector<unsigned char> Saved(Aco_Storyloom& channel) {
    A3dFileSaver saver;
    FUZZ_CHECK(channel.SaveChannel(saver));
    return saver.GetBytes();
}

std::vector<unsigned char> Reloaded(const std::vector<unsigned char>& bytes) {
    Aco_Storyloom channel;
    A3dFileLoader loader(bytes);
    FUZZ_CHECK(channel.LoadChannel(loader, nullptr));
    return Saved(channel);
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
            const std::vector<unsigned char> settled = Reloaded(first);
            FUZZ_CHECK(Reloaded(settled) == settled);
        }
    }
    Core::ClearErrorLog();
    globalEngine.ClearDebugMessages();
    return 0;
}
