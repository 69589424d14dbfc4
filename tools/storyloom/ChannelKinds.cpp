#include "ChannelKind.h"

namespace ChannelKinds {

const std::vector<ChannelKind>& All() {
    static const std::vector<ChannelKind> all = [] {
        std::vector<ChannelKind> kinds;
        for (const auto* family : {&HostChannelKinds(), &PluginChannelKinds()})
            kinds.insert(kinds.end(), family->begin(), family->end());
        return kinds;
    }();
    return all;
}

const ChannelKind* Find(const std::string& name) {
    for (const ChannelKind& kind : All())
        if (name == kind.name) return &kind;
    return nullptr;
}

}  // namespace ChannelKinds
