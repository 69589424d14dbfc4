// Bad graph text never crashes the program: each ends with status 1 or 2 and one line that
// says what and where.
#include <nlohmann/json.hpp>

#include "GraphTestSupport.h"

namespace {
using nlohmann::json;

void ExpectOneClearLine(const RunResult& result, const std::string& wanted, const std::string& trace) {
    SCOPED_TRACE(trace);
    EXPECT_TRUE(result.status == 1 || result.status == 2) << result.status;
    EXPECT_NE(result.error.find("graph.json"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(wanted), std::string::npos) << result.error;
    EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
}

// The base graph with one change made at a JSON pointer.
std::string Changed(const std::string& pointer, const json& value) {
    json graph = json::parse(BaseGraph());
    graph[json::json_pointer(pointer)] = value;
    return graph.dump();
}

std::string Removed(const std::string& pointer) {
    json graph = json::parse(BaseGraph());
    json::json_pointer at(pointer);
    graph[at.parent_pointer()].erase(graph[at.parent_pointer()].is_array() ? json(std::stoi(at.back())).dump() : at.back());
    return graph.dump();
}

// The base graph with a camera "eye", a channel drawing "hero" (no virtual entity: 106) and
// its step 3 replaced.
std::string WithCameraStep(const std::string& step) {
    json graph = json::parse(BaseGraph());
    graph["cameras"] = json::parse(R"([{"name": "eye", "eye": [0, 0, -10], "target": [0, 0, 0], "width": 8, "height": 6}])");
    graph["channels"].push_back(json::parse(R"({"id": "drawHero", "kind": "Storyloom", "mode": "VirtualEntity_Render", "links": ["hero"]})"));
    graph["steps"][3] = json::parse(step);
    return graph.dump();
}

std::string WithChannel(const std::string& channel) {
    json graph = json::parse(BaseGraph());
    graph["channels"].push_back(json::parse(channel));
    return graph.dump();
}
}  // namespace

TEST(MalformedGraph, BaseGraphRuns) {
    RunResult result = RunGraph(BaseGraph());
    EXPECT_EQ(result.status, 0) << result.error;
    EXPECT_NE(result.output.find("evaluate add"), std::string::npos) << result.output;
}

// Links given by name run exactly as the same links given by position.
TEST(MalformedGraph, LinksByNameRunAsByPosition) {
    json graph = json::parse(BaseGraph());
    graph["channels"][5]["links"] = json::parse(R"({"iID": "heroId", "CoreScenario": "scenario", "CoreEntity": "hero"})");
    RunResult byName = RunGraph(graph.dump());
    RunResult byPosition = RunGraph(BaseGraph());
    EXPECT_EQ(byName.status, 0) << byName.error;
    EXPECT_EQ(byName.output, byPosition.output);
}

TEST(MalformedGraph, EachEndsWithItsLineAndStatus) {
    struct Case {
        std::string text;
        std::string wanted;
    };
    const std::vector<Case> cases = {
        // Text that is no graph.
        {"", "graph.json:1:1:"},
        {"[]", "$: must be an object, not array"},
        {"42", "$: must be an object"},
        {"\"graph\"", "$: must be an object"},
        {"null", "$: must be an object"},
        {"{\"channels\": [}", "graph.json:1:15:"},
        {"{\n  \"channels\": [\n    {\"id\": \"a\",}\n  ]\n}", "graph.json:3:16:"},
        {"{\"a\": 1} trailing", "graph.json:1:12: syntax error"},
        {"{\"description\": \"\\x\"}", "graph.json:1:"},
        {std::string(20000, '[') + std::string(20000, ']'), "nested deeper than 64 levels"},
        {std::string(100000, '{'), "nested deeper than 64 levels"},
        {"{\"description\": \"\xff\"}", "graph.json:1:"},
        {"{\"channels\": [{\"id\": \"a\", \"kind\": \"Value\", \"value\": 1e999}]}", "number overflow"},
        // Top level.
        {Changed("/description", 3), "$.description: must be a string, not a number"},
        {Changed("/extra", 1), "$.extra: unknown key"},
        {Changed("/$schema", json::object()), "$.$schema: must be a string"},
        {Changed("/steps", json::object()), "$.steps: must be an array, not object"},
        {Changed("/channels", "x"), "$.channels: must be an array, not string"},
        {Changed("/entities", 1), "$.entities: must be an array"},
        // Entities.
        {Changed("/entities/0", "Hero"), "$.entities[0]: must be an object"},
        {Changed("/entities/0/kind", "Tree"), "$.entities[0].kind: unknown entity kind \"Tree\""},
        {Changed("/entities/0/position", json::array({1, 2})), "$.entities[0].position: must hold three numbers"},
        {Changed("/entities/0/position/1", "y"), "$.entities[0].position[1]: must be a number, not string"},
        {Changed("/entities/0/radius", "big"), "$.entities[0].radius: must be a number"},
        {Changed("/entities/0/name", json()), "$.entities[0].name: must be a string, not null"},
        {Changed("/entities/1", json::parse(R"({"name": "Hero"})")), "$.entities[1].name: name \"Hero\" is used twice among entities and cameras"},
        {Removed("/entities/0/name"), "$.entities[0]: an entity needs a \"name\""},
        {Changed("/entities/0/colour", "red"), "$.entities[0].colour: unknown key"},
        {Changed("/entities/0/color", json::array({1, 0, 0, 1})), "$.entities[0].color: unknown key"},
        {Changed("/entities/1", json::parse(R"({"name": "V", "kind": "VirtualEntity", "color": [1, 0, 0]})")),
         "$.entities[1].color: must hold four numbers"},
        {Changed("/entities/1", json::parse(R"({"name": "V", "kind": "VirtualEntity", "color": [1, 0, 2, 1]})")),
         "$.entities[1].color[2]: must be from 0 to 1"},
        {Changed("/entities/0/radius", -1), "$.entities[0].radius: must be from 0"},
        {Changed("/entities/1", json::parse(R"({"name": "A", "kind": "Area", "position": [0, 0, 0]})")),
         "$.entities[1].position: unknown key"},
        {Changed("/entities/1", json::parse(R"({"name": "A", "kind": "Area", "components": {}})")),
         "$.entities[1].components: must be an array"},
        {Changed("/entities/1", json::parse(R"({"name": "A", "kind": "Area", "components": [{"shape": "cone"}]})")),
         "$.entities[1].components[0].shape: a component needs a \"shape\": \"sphere\" or \"box\""},
        {Changed("/entities/1", json::parse(R"({"name": "A", "kind": "Area", "components": [{"shape": "box", "min": [0, 0, 0]}]})")),
         "$.entities[1].components[0]: a box needs \"min\" and \"max\""},
        {Changed("/entities/1", json::parse(R"({"name": "A", "kind": "Area", "components": [{"shape": "sphere", "radius": -2}]})")),
         "$.entities[1].components[0].radius: must be from 0"},
        {Changed("/entities/1", json::parse(R"({"name": "A", "kind": "Area", "components": [{"shape": "sphere", "max": [1, 1, 1]}]})")),
         "$.entities[1].components[0].max: unknown key"},
        // Cameras.
        {Changed("/cameras", 1), "$.cameras: must be an array"},
        {Changed("/cameras", json::parse(R"([{"eye": [0, 0, 0], "target": [0, 0, 1]}])")), "$.cameras[0]: a camera needs a \"name\""},
        {Changed("/cameras", json::parse(R"([{"name": "Hero", "eye": [0, 0, 0], "target": [0, 0, 1]}])")),
         "$.cameras[0].name: name \"Hero\" is used twice among entities and cameras"},
        {Changed("/cameras", json::parse(R"([{"name": "c", "target": [0, 0, 1]}])")), "$.cameras[0]: a camera needs \"eye\""},
        {Changed("/cameras", json::parse(R"([{"name": "c", "eye": [1, 2, 3], "target": [1, 2, 3]}])")),
         "$.cameras[0].target: a camera cannot look at its own eye"},
        {Changed("/cameras", json::parse(R"([{"name": "c", "eye": [0, 0, 0], "target": [0, 0, 1], "fovY": 3.5}])")),
         "$.cameras[0].fovY: must be from 0.001 to 3.14"},
        {Changed("/cameras", json::parse(R"([{"name": "c", "eye": [0, 0, 0], "target": [0, 0, 1], "width": 0}])")),
         "$.cameras[0].width: must be from 1 to 4096"},
        {Changed("/cameras", json::parse(R"([{"name": "c", "eye": [0, 0, 0], "target": [0, 0, 1], "height": 2.5}])")),
         "$.cameras[0].height: must be a whole number of pixels"},
        {Changed("/cameras", json::parse(R"([{"name": "c", "eye": [0, 0, 0], "target": [0, 0, 1], "zoom": 2}])")),
         "$.cameras[0].zoom: unknown key"},
        // Channels.
        {Changed("/channels/0", 5), "$.channels[0]: must be an object, not a number"},
        {Removed("/channels/0/id"), "$.channels[0].id: every channel needs a non-empty text id"},
        {Changed("/channels/0/id", ""), "$.channels[0].id: every channel needs a non-empty text id"},
        {Changed("/channels/0/id", 12), "$.channels[0].id: every channel needs a non-empty text id"},
        {Changed("/channels/1/id", "scenario"), "$.channels[1].id: id \"scenario\" is used twice"},
        {Removed("/channels/0/kind"), "$.channels[0]: a channel needs a \"kind\""},
        {Changed("/channels/0/kind", "Float"), "$.channels[0].kind: unknown channel kind \"Float\""},
        {Changed("/channels/0/kind", 3), "$.channels[0].kind: must be a string"},
        {Changed("/channels/2/value", "7"), "$.channels[2].value: must be a number, not string"},
        {Changed("/channels/2/value", 1e300), "$.channels[2].value: is beyond the range of a channel's value"},
        {Changed("/channels/3/text", 5), "$.channels[3].text: must be a string, not a number"},
        {Changed("/channels/2/text", "x"), "$.channels[2].text: unknown key"},
        {Changed("/channels/1/ref", "Villain"), "$.channels[1].ref: no entity or camera named \"Villain\""},
        {Changed("/channels/1/ref", json::array()), "$.channels[1].ref: must be a string"},
        {Changed("/channels/2/name", 1), "$.channels[2].name: must be a string"},
        {Changed("/channels/2/group", false), "$.channels[2].group: must be a string"},
        {Changed("/channels/2/links", json::array({"hero"})), "$.channels[2].links: unknown key"},
        {Changed("/channels/4/mode", "Scenario_Craete"), "nearest: \"Scenario_Create\""},
        {Changed("/channels/4/mode", 4), "$.channels[4].mode: must be a string"},
        {Removed("/channels/4/mode"), "$.channels[4]: a Storyloom channel needs a \"mode\""},
        {Changed("/channels/4/links", "scenario"), "$.channels[4].links: must be a list of links by position"},
        {Changed("/channels/4/links/0", 1), "$.channels[4].links[0]: must be a channel id, a list of ids or null"},
        {Changed("/channels/4/links/0", "nowhere"), "$.channels[4].links[0]: no channel \"nowhere\""},
        {Changed("/channels/4/links/0", "heroId"), "link \"CoreScenario\" expects a CoreRef channel; \"heroId\" is a Value"},
        {Changed("/channels/4/links/0", json::array({"scenario"})), "link \"CoreScenario\" takes one channel, not a list"},
        {Changed("/channels/4/links/1", "hero"), "$.channels[4].links[1]: mode \"Scenario_Create\" has 1 links"},
        {Changed("/channels/5/links/2", "label"), "$.channels[5].links[2]: link \"iID\" expects a Value channel"},
        {Changed("/channels/5/links/1", json::object()), "$.channels[5].links[1]: must be a channel id"},
        {Changed("/channels/5/links", 7), "$.channels[5].links: must be a list of links by position or an object"},
        {Changed("/channels/5/links", json::parse(R"({"CoreScenario": "scenario", "Entity": "hero"})")),
         "$.channels[5].links.Entity: mode \"Scenario_AddEntity\" has no link \"Entity\"; its links: \"CoreScenario\", \"CoreEntity\""},
        {WithChannel(R"({"id": "ev", "kind": "Storyloom", "mode": "Event <Rename me please!>", "name": "Mission - Started",
                        "links": {"Instigator": "hero"}})"),
         "$.channels[6].links.Instigator: mode \"Event <Rename me please!>\" has two links \"Instigator\""},
        // Cycles between mode channels would recurse without end when evaluated.
        {WithChannel(R"({"id": "self", "kind": "Storyloom", "mode": "Action <Rename me please!>", "name": "Self", "links": [[], "self"]})"),
         "link cycle \"self\" -> \"self\""},
        {WithChannel(R"({"id": "loop", "kind": "Storyloom", "mode": "Action <Rename me please!>", "name": "Loop", "links": [["loop"]]})"),
         "link cycle"},
        {WithChannel(R"({"id": "ev", "kind": "Storyloom", "mode": "Event <Rename me please!>", "name": "Gate Opened"})"),
         "$.channels[6].name: no event the graph fires is called \"Gate Opened\", so it never fires"},
        {WithChannel(R"({"id": "ev", "kind": "Storyloom", "mode": "Event <Rename me please!>"})"),
         "$.channels[6]: an event channel needs a \"name\""},
        // What passes every shape check yet can only fail when the graph runs.
        {WithChannel(R"({"id": "act", "kind": "Storyloom", "mode": "Action <Rename me please!>"})"),
         "$.channels[6]: a construct channel needs a \"name\""},
        {WithChannel(R"({"id": "cond", "kind": "Storyloom", "mode": "Condition <Rename me please!>", "name": ""})"),
         "$.channels[6].name: a construct channel needs a \"name\""},
        {Changed("/channels/5/links", json::array({"scenario", nullptr})),
         "$.channels[5].links[1]: link \"CoreEntity\" is empty; mode \"Scenario_AddEntity\" needs it and would answer 105 (and 1 more"},
        {Changed("/channels/5/links", json::parse(R"({"CoreScenario": "scenario", "iID": "heroId"})")),
         "$.channels[5].links.CoreEntity: link \"CoreEntity\" is empty"},
        {WithChannel(R"({"id": "cond", "kind": "Storyloom", "mode": "Condition <Rename me please!>", "name": "Added",
                        "links": [[], "add"]})"),
         "$.channels[6].links[1]: \"add\" is a Storyloom channel: whether the condition holds would be read from its status"},
        {[] {
             json graph = json::parse(WithChannel(R"({"id": "inCamp", "kind": "Storyloom", "mode": "Entity_IsInArea",
                                                      "links": ["hero", "hero"]})"));
             graph["entities"][0]["kind"] = "VirtualEntity";
             return graph.dump();
         }(),
         "$.channels[6].links[0]: \"hero\" can only hold a virtual entity"},
        // Steps.
        {Changed("/steps/0", "create"), "$.steps[0]: must be an object, not string"},
        {Changed("/steps/0", json::object()), "$.steps[0]: a step needs one of"},
        {Changed("/steps/0/evaluat", "create"), "$.steps[0].evaluat: unknown key"},
        {Changed("/steps/0/print", "heroId"), "$.steps[0]: one step does one thing"},
        {Changed("/steps/0/evaluate", "label"), "needs a Value or CustomEnum or Storyloom channel; \"label\" is a Text"},
        {Changed("/steps/0/evaluate", "hero"), "\"hero\" is a CoreRef channel"},
        {Changed("/steps/0/evaluate", 3), "$.steps[0].evaluate: must be a string"},
        {Changed("/steps/0/evaluate", "ghost"), "$.steps[0].evaluate: no channel \"ghost\""},
        {Changed("/steps/2/print", json::array({"heroId", 4})), "$.steps[2].print[1]: must be a string"},
        {Changed("/steps/2/print", json::array({"heroId", "ghost"})), "$.steps[2].print[1]: no channel \"ghost\""},
        {Changed("/steps/3", json::parse(R"({"set": "heroId"})")), "a \"set\" step needs \"value\""},
        {Changed("/steps/3", json::parse(R"({"set": "heroId", "value": "1"})")), "$.steps[3].value: must be a number"},
        {Changed("/steps/3", json::parse(R"({"set": "label", "value": 1})")), "a Text channel is set with \"text\""},
        {Changed("/steps/3", json::parse(R"({"set": "hero", "value": 1})")), "$.steps[3].set: needs a"},
        {Changed("/steps/3", json::parse(R"({"update": "heroId"})")), "$.steps[3].update: needs a CoreRef channel"},
        {Changed("/steps/3", json::parse(R"({"update": "scenario", "seconds": "1"})")), "$.steps[3].seconds: must be a number"},
        {Changed("/steps/3", json::parse(R"({"variable": "scenario", "kind": "float"})")), "needs \"kind\" and \"name\""},
        {Changed("/steps/3", json::parse(R"({"variable": "scenario", "kind": "float", "name": "x", "value": 1})")),
         "$.steps[3].value: must be a string"},
        {Changed("/steps/3", json::parse(R"({"variable": "scenario", "kind": "colour", "name": "x"})")),
         "unknown kind or unreadable value"},
        {Changed("/steps/3", json::parse(R"({"variable": "scenario", "kind": "float", "name": "x", "value": "abc"})")),
         "unknown kind or unreadable value"},
        {Changed("/steps/3", json::parse(R"({"printVariable": "scenario"})")), "needs the variable's \"name\""},
        {Changed("/steps/3", json::parse(R"({"printVariable": "scenario", "name": "none"})")), "no variable \"none\""},
        {Changed("/steps/3", json::parse(R"({"node": "scenario"})")), "a node needs an \"event\""},
        {Changed("/steps/3", json::parse(R"({"node": "scenario", "event": 3})")), "$.steps[3].event: must be a type name"},
        {Changed("/steps/3", json::parse(R"({"node": "scenario", "event": {"bind": {}}})")), "$.steps[3].event: needs a \"type\""},
        {Changed("/steps/3", json::parse(R"({"node": "scenario", "event": {"type": "E", "bind": {"first": "x"}}})")),
         "$.steps[3].event.bind.first: a slot is named by its number"},
        {Changed("/steps/3", json::parse(R"({"node": "scenario", "event": "E", "actions": "A"})")),
         "$.steps[3].actions: must be an array"},
        {Changed("/steps/3", json::parse(R"({"node": "scenario", "event": "No such event"})")),
         "no event type \"No such event\" is registered"},
        {Changed("/steps/0", json::parse(R"({"update": "scenario"})")), "step 0 ($.steps[0]): \"update\": \"scenario\" holds no scenario"},
        {WithCameraStep(R"({"render": "nowhere", "picture": "p.png"})"), "$.steps[3].render: no camera \"nowhere\""},
        {WithCameraStep(R"({"render": "eye"})"), "$.steps[3]: a \"render\" step needs the \"picture\" file it writes"},
        {WithCameraStep(R"({"render": "eye", "picture": "p.jpg"})"), "$.steps[3].picture: must end in .png"},
        {WithCameraStep(R"({"render": "eye", "picture": "p.png", "draw": ["heroId"]})"),
         "$.steps[3].draw[0]: needs a Storyloom channel; \"heroId\" is a Value channel"},
        {WithCameraStep(R"({"render": "eye", "picture": "p.png", "draw": "add"})"), "$.steps[3].draw: must be an array"},
        {WithCameraStep(R"({"render": "eye", "picture": "no/such/folder/p.png"})"),
         "step 3 ($.steps[3]): no/such/folder/p.png: cannot be written"},
        {WithCameraStep(R"({"render": "eye", "picture": "p.png", "draw": ["drawHero"]})"),
         "step 3 ($.steps[3]): drawing \"drawHero\" returned 106"},
        // Expectations.
        {Changed("/steps/3/expect", 1), "$.steps[3].expect: must be an object"},
        {Changed("/steps/3/expect/colour", 1), "$.steps[3].expect.colour: unknown key"},
        {Changed("/steps/3/expect/value", "0"), "$.steps[3].expect.value: must be a number"},
        {Changed("/steps/3/expect/tolerance", -0.5), "$.steps[3].expect.tolerance: must not be negative"},
        {Changed("/steps/3/expect/channel", "ghost"), "$.steps[3].expect.channel: no channel \"ghost\""},
        {Changed("/steps/3/expect/status", 0), "$.steps[3].expect.status: only an \"evaluate\" step has a status"},
        {Changed("/steps/3/expect/variable", "x"), "\"variable\" and \"scenario\" go together"},
        {Changed("/steps/3/expect/errorLog", json::array({1})), "$.steps[3].expect.errorLog[0]: must be a string"},
        {Changed("/steps/3/expect", json::parse(R"({"value": 1})")), "need a \"channel\""},
        {Changed("/steps/3/expect/value", 1), "step 3 ($.steps[3]): expected \"heroId\" = 1 (within 0.0001), found 0"},
        {Changed("/steps/3/expect", json::parse(R"({"channel": "label", "text": "other"})")),
         "expected \"label\" = \"other\", found \"a label\""},
        {Changed("/steps/3/expect", json::parse(R"({"channel": "hero", "ref": null})")),
         "expected \"hero\" = (empty), found entity \"Hero\""},
        {Changed("/steps/1/expect", json::parse(R"({"status": 105})")), "step 1 ($.steps[1]): expected status 105, found 0"},
        {Changed("/steps/1/expect", json::parse(R"({"errorLog": ["x"]})")), "expected the error log to gain [\"x\"]"},
        // Failures nobody expected.
        {Changed("/steps/0", json::parse(R"({"evaluate": "add"})")), "step 0 ($.steps[0]): \"add\" returned 106"},
    };
    ASSERT_GE(cases.size(), 100u);
    for (size_t i = 0; i < cases.size(); ++i)
        ExpectOneClearLine(RunGraph(cases[i].text), cases[i].wanted, "case " + std::to_string(i) + ": " + cases[i].text.substr(0, 300));
}

// Every cut of a valid graph is a syntax error with its line and column, never a crash.
TEST(MalformedGraph, EveryPrefixIsRefusedWithItsPosition) {
    const std::string text = BaseGraph();
    for (size_t length = 0; length + 1 < text.size(); length += 7)
        ExpectOneClearLine(RunGraph(text.substr(0, length)), "graph.json:", "prefix " + std::to_string(length));
}

TEST(MalformedGraph, AllowedErrorsAreReportedAndTheRunGoesOn) {
    RunOptions options;
    options.allowErrors = true;
    json graph = json::parse(BaseGraph());
    graph["steps"] = json::parse(R"([{"evaluate": "add"}, {"evaluate": "create"}])");
    RunResult result = RunGraph(graph.dump(), options);
    EXPECT_EQ(result.status, 0) << result.error;
    // The error line comes right after the step that caused it, under its channel's id.
    EXPECT_NE(result.output.find("evaluate add                          -> 106\n  error log [add]: "), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("evaluate create"), std::string::npos) << result.output;
}

// The check refuses a ring of mode channels; let through, the ring runs and ends, the channel
// reached again answering 105.0 without a report.
TEST(MalformedGraph, CyclicGraphsAreRefusedAndEndWhenLetThrough) {
    const std::string ring = R"({"channels": [{"id": "s", "kind": "CoreRef"},
      {"id": "create", "kind": "Storyloom", "mode": "Scenario_Create", "links": ["s"]},
      {"id": "a", "kind": "Storyloom", "mode": "Scenario_IsIDInScenario", "links": ["s", "b"]},
      {"id": "b", "kind": "Storyloom", "mode": "Scenario_IsIDInScenario", "links": ["s", "a"]}],
      "steps": [{"evaluate": "create"}, {"evaluate": "a", "expect": {"status": 0}}]})";
    EXPECT_EQ(RunGraph(ring).status, 1);  // refused by the check
    RunOptions options;
    options.allowCycles = true;
    RunResult ran = RunGraph(ring, options);
    EXPECT_EQ(ran.status, 0) << ran.error;
    EXPECT_EQ(ran.output.find("error log"), std::string::npos) << ran.output;
}
