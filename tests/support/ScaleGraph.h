#pragma once
// A graph that grows with one number, for measuring how the program scales: `entities`
// entities, each added to one scenario by its own AddEntity channel, with a reference, an id
// and a text note beside it; four steps per entity (the adding, expecting the id it gives;
// printing the id; setting the note; printing it).
#include <cstddef>
#include <string>

#include <nlohmann/json.hpp>

// Entity "E<n>" and the channels that add it to the graph's scenario: a reference to it
// ("ref<n>"), its id ("id<n>") and the adding channel ("add<n>").
inline void AddEntityByChannel(nlohmann::json& graph, const std::string& n) {
    graph["entities"].push_back({{"name", "E" + n}});
    graph["channels"].push_back({{"id", "ref" + n}, {"kind", "CoreRef"}, {"ref", "E" + n}});
    graph["channels"].push_back({{"id", "id" + n}, {"kind", "Value"}});
    graph["channels"].push_back({{"id", "add" + n}, {"kind", "Storyloom"}, {"mode", "Scenario_AddEntity"},
                                 {"links", {"scenario", "ref" + n, "id" + n}}});
}

inline std::size_t ScaleGraphChannels(std::size_t entities) { return 4 * entities + 2; }

inline std::string ScaleGraph(std::size_t entities) {
    using nlohmann::json;
    json graph = {{"entities", json::array()},
                  {"channels",
                   {{{"id", "scenario"}, {"kind", "CoreRef"}},
                    {{"id", "create"}, {"kind", "Storyloom"}, {"mode", "Scenario_Create"}, {"links", {"scenario"}}}}},
                  {"steps", {{{"evaluate", "create"}}}}};
    for (std::size_t i = 0; i < entities; ++i) {
        const std::string n = std::to_string(i);
        AddEntityByChannel(graph, n);
        graph["channels"].push_back({{"id", "note" + n}, {"kind", "Text"}});
        graph["steps"].push_back({{"evaluate", "add" + n}, {"expect", {{"channel", "id" + n}, {"value", i}}}});
        graph["steps"].push_back({{"print", "id" + n}});
        graph["steps"].push_back({{"set", "note" + n}, {"text", "E" + n + " added"}});
        graph["steps"].push_back({{"print", "note" + n}});
    }
    return graph.dump();
}
