// What a recorded run keeps of each step: the evaluation tree with what each evaluation read,
// wrote and logged, the changes, and the steps a failure left unrun.
#include <fstream>
#include <iterator>
#include <sstream>

#include "GraphTestSupport.h"
#include "RunRecord.h"

using nlohmann::json;

namespace {
// Runs a description recording, keeping the step records and the channels' tallies.
struct RecordedRun {
    bool passed = false;
    std::string error;
    json steps, channels;
};

RecordedRun Record(const std::string& text) {
    json description;
    std::vector<std::string> problems, runFailures;
    RecordedRun run;
    if (GraphProgram::Load(text, "graph.json", Plugin(), description, problems, false, &runFailures) !=
        ExitStatus::Success) {
        ADD_FAILURE() << problems.front();
        return run;
    }
    ChannelGraph graph(Plugin());
    EXPECT_TRUE(graph.Build(description, run.error)) << run.error;
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen("/dev/null", "w"), std::fclose);
    RunOptions options;
    options.keepSteps = true;
    StepRunner runner(graph, out.get(), options);
    run.passed = runner.Run(description["steps"], run.error);
    run.steps = runner.StepRecords();
    run.channels = RunRecord::Channels(graph, *runner.Recorder());
    return run;
}

std::string Example(const char* name) {
    std::ifstream in(std::string(STORYLOOM_SOURCE_DIR) + "/examples/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const json* StepEvaluating(const json& steps, const std::string& id) {
    for (const json& step : steps)
        if (step["kind"] == "evaluate" && step["subject"] == id) return &step;
    return nullptr;
}
}  // namespace

TEST(RunRecord, RuleNodesNestTheEvaluationsTheyCallBackIntoTheGraph) {
    const RecordedRun run = Record(Example("quest_road.json"));
    ASSERT_TRUE(run.passed) << run.error;
    const json* fire = StepEvaluating(run.steps, "fire");
    ASSERT_TRUE(fire);
    EXPECT_EQ((*fire)["evaluated"], json({"fire", "countForResult"}));
    ASSERT_EQ((*fire)["tree"].size(), 1u);
    const json& top = (*fire)["tree"][0];
    EXPECT_EQ(top["channel"], "fire");
    EXPECT_EQ(top["mode"], "EventSystem_FireEvent");
    std::vector<std::string> rules;
    for (const json& child : top["children"]) rules.push_back(child["product"].get<std::string>() + " " +
                                                              child["type"].get<std::string>() + " " +
                                                              child["answer"].dump());
    EXPECT_EQ(rules, (std::vector<std::string>{"event Mission - Started true", "condition Has Key true",
                                               "action Open Gate true"}));
    const json& nested = top["children"][2]["children"];
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_EQ(nested[0]["channel"], "countForResult");
    EXPECT_EQ(nested[0]["written"], json::parse(R"([{"link": "iCount", "child": "result", "value": "3.000000"}])"));
    // The action's output feeds the variable the rule binds.
    EXPECT_EQ((*fire)["variables"],
              json::parse(R"([{"scenario": "scenario", "name": "opened", "before": "0", "after": "3"}])"));
    for (const json& channel : run.channels) {
        if (channel["id"] == "fire" || channel["id"] == "who") {
            EXPECT_EQ(channel["lastStatus"], channel["id"] == "fire" ? json(0.0) : json()) << channel["id"];
        }
    }
}

TEST(RunRecord, LinesGoToTheEvaluationThatLoggedThemAndAFailureLeavesTheRestUnrun) {
    const RecordedRun run = Record(R"({"channels": [
        {"id": "scenario", "kind": "CoreRef"}, {"id": "nothing", "kind": "CoreRef"},
        {"id": "count", "kind": "Value"}, {"id": "found", "kind": "CoreRef"},
        {"id": "create", "kind": "Storyloom", "mode": "Scenario_Create", "links": ["scenario"]},
        {"id": "countNothing", "kind": "Storyloom", "mode": "Scenario_GetEntityCount", "links": ["nothing", "count"]},
        {"id": "lookup", "kind": "Storyloom", "mode": "Scenario_GetEntity", "links": ["scenario", "countNothing", "found"]}],
      "steps": [{"evaluate": "create"}, {"evaluate": "lookup"}, {"comment": "never reached"}]})");
    EXPECT_FALSE(run.passed);
    ASSERT_EQ(run.steps.size(), 3u);
    const json& lookup = run.steps[1]["tree"][0];
    EXPECT_EQ(lookup["channel"], "lookup");
    ASSERT_EQ(lookup["children"].size(), 1u);
    const json& nested = lookup["children"][0];
    EXPECT_EQ(nested["status"], 106.0);
    EXPECT_EQ(nested["errorLog"].size(), 1u);
    EXPECT_EQ(lookup["errorLog"], json::array({run.steps[1]["errorLog"][1]})) << "only the outer evaluation's own line";
    EXPECT_EQ(run.steps[1]["result"], "none");
    EXPECT_NE(run.steps[1]["failure"], "");
    EXPECT_EQ(run.steps[2]["result"], "not run");
    EXPECT_EQ(run.steps[2]["tree"], json::array());
}

TEST(RunRecord, ARenderStepKeepsThePictureItWrote) {
    const RecordedRun run = Record(Example("picking.json"));
    ASSERT_TRUE(run.passed) << run.error;
    size_t pictures = 0;
    for (const json& step : run.steps) {
        if (step["kind"] != "render") {
            EXPECT_EQ(step["pictures"], json::array());
            continue;
        }
        ASSERT_EQ(step["pictures"].size(), 1u);
        const json& picture = step["pictures"][0];
        EXPECT_EQ(picture["file"], step["step"]["picture"]);
        std::ifstream written(picture["file"].get<std::string>(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
        EXPECT_EQ(picture["png"], RunRecord::Base64(bytes));
        ++pictures;
    }
    EXPECT_GT(pictures, 0u);
}

TEST(RunRecord, Base64) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {std::string("\xff\xfe\0", 3), "//4A"}};
    for (const auto& [bytes, text] : cases) EXPECT_EQ(RunRecord::Base64(bytes), text) << bytes;
}
