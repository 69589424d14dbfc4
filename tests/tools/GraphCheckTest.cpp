// "check" lists every problem of a graph at once, each at its JSON path.
#include "GraphTestSupport.h"

TEST(GraphCheck, ListsEveryProblemWithItsPath) {
    // A reference any mode but picking writes may come to hold a static mesh: only the
    // other two at "Entity_IsInArea" are refused.
    const std::string text = R"({
  "entities": [{"name": "Beacon", "kind": "VirtualEntity"}, {"name": "Camp", "kind": "Area"}],
  "cameras": [{"name": "Eye", "eye": [0, 0, -1], "target": [0, 0, 0]}],
  "channels": [
    {"id": "scenario", "kind": "CoreRef"},
    {"id": "scenario", "kind": "Value"},
    {"id": "count", "kind": "Value", "value": "3"},
    {"id": "label", "kind": "Text", "colour": "red"},
    {"id": "create", "kind": "Storyloom", "mode": "Scenario_Creat", "links": ["scenario"]},
    {"id": "tally", "kind": "Storyloom", "mode": "Scenario_GetEntityCount", "links": [["scenario"], "label", "x"]},
    {"id": "fired", "kind": "Storyloom", "mode": "Event <Rename me please!>", "name": "Door", "links": [[], null, [], "create"]},
    {"id": "beacon", "kind": "CoreRef", "ref": "Beacon"},
    {"id": "found", "kind": "CoreRef", "ref": "Beacon"},
    {"id": "get", "kind": "Storyloom", "mode": "Scenario_GetEntity", "links": ["scenario", "count", "found"]},
    {"id": "camp", "kind": "CoreRef", "ref": "Camp"},
    {"id": "eye", "kind": "CoreRef", "ref": "Eye"},
    {"id": "picked", "kind": "CoreRef"},
    {"id": "pick", "kind": "Storyloom", "mode": "VirtualEntity_MousePicking", "links": ["scenario", "eye", "count", "count", "picked"]},
    {"id": "beaconInCamp", "kind": "Storyloom", "mode": "Entity_IsInArea", "links": ["beacon", "camp"]},
    {"id": "foundInCamp", "kind": "Storyloom", "mode": "Entity_IsInArea", "links": ["found", "camp"]},
    {"id": "pickedInCamp", "kind": "Storyloom", "mode": "Entity_IsInArea", "links": ["picked", "camp"]}
  ],
  "steps": [{"evaluate": "ghost"}, {"evaluate": "label", "extra": 1}]
})";
    nlohmann::json description;
    std::vector<std::string> problems;
    EXPECT_EQ(GraphProgram::Load(text, "g.json", Plugin(), description, problems), ExitStatus::Failed);
    const std::vector<std::string> wanted = {
        "g.json: $.channels[1].id: id \"scenario\" is used twice",
        "g.json: $.channels[2].value: must be a number, not string",
        "g.json: $.channels[3].colour: unknown key",
        "g.json: $.channels[4].mode: unknown mode \"Scenario_Creat\"; nearest: \"Scenario_Create\"",
        "g.json: $.channels[5].links[2]: mode \"Scenario_GetEntityCount\" has 2 links, this is link 3",
        "g.json: $.channels[5].links[0]: link \"CoreScenario\" takes one channel, not a list",
        "g.json: $.channels[5].links[1]: link \"iCount\" expects a Value channel; \"label\" is a Text channel",
        "g.json: $.channels[6].links[3]: \"create\" is a Storyloom channel: whether the event activates would be read",
        "g.json: $.channels[6].name: no event the graph fires is called \"Door\"",
        "g.json: $.channels[14].links[0]: \"beacon\" can only hold a virtual entity",
        "g.json: $.channels[16].links[0]: \"picked\" can only hold a virtual entity",
        "g.json: $.steps[0].evaluate: no channel \"ghost\"",
        "g.json: $.steps[1].extra: unknown key",
        "g.json: $.steps[1].evaluate: needs a Value or CustomEnum or Storyloom channel; \"label\" is a Text channel",
    };
    for (const std::string& line : wanted) {
        bool found = false;
        for (const std::string& problem : problems) found = found || problem.rfind(line, 0) == 0;
        EXPECT_TRUE(found) << "missing: " << line;
    }
    EXPECT_EQ(problems.size(), wanted.size());
}
