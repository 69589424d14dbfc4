// The command-line host: loads the plug-in as the engine does and shows its catalogue.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/engine/A3dPluginLoader.h"
#include "scenario_channel/Aco_Storyloom.h"

namespace {
void PrintCatalogue(Aco_Storyloom& channel) {
    std::vector<std::string> names;
    channel.GetModeNames(names);
    for (unsigned int index = 0; index < names.size(); ++index) {
        unsigned int mode = channel.GetModeFromIndex(index);
        const ModeDescription* desc = channel.GetModeDescription(mode);
        if (!desc) continue;
        std::printf("%2u  %-52s %s\n", mode, desc->name.c_str(), desc->shortName.c_str());
        for (size_t link = 0; link < desc->Children.size(); ++link) {
            const ChildCreation& record = desc->Children[link];
            std::printf("      [%zu] %-24s %-24s%s\n", link, record.linkName, record.type.typeName,
                        record.IsRepeatable() ? " (repeatable)" : "");
        }
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : STORYLOOM_PLUGIN_PATH;
    A3dPluginLoader loader;
    if (!loader.Load(path)) {
        std::fprintf(stderr, "storyloom: %s\n", loader.GetError().c_str());
        return 1;
    }
    const ChannelType* type = loader.GetType();
    std::printf("Loaded channel type \"%s\" from %s\n", type->typeName, path.c_str());
    std::unique_ptr<A3d_Channel> channel(loader.CreateChannel());
    auto* storyloom = dynamic_cast<Aco_Storyloom*>(channel.get());
    if (!storyloom) {
        std::fprintf(stderr, "storyloom: InitDLL did not create a Storyloom channel\n");
        return 1;
    }
    storyloom->BuildModesList(false);
    std::printf("%u modes, in the designer's order:\n", storyloom->GetModeCount());
    PrintCatalogue(*storyloom);
    return 0;
}
