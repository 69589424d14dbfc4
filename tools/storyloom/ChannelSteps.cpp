// Steps on the graph's channels: evaluate one, print some, set one, write one's text to a file.
#include "GraphCheck.h"
#include "JsonText.h"
#include "OutputFile.h"
#include "StepKind.h"
#include "StepRunner.h"

using nlohmann::json;
using JsonText::At;
using JsonText::Key;

namespace {
// The channel the step names at its own key.
A3d_Channel* Target(StepRunner& runner, const json& step, const char* kind, std::string& error) {
    const std::string id = step[kind].get<std::string>();
    A3d_Channel* channel = runner.Graph().FindChannel(id);
    if (!channel) error = "no channel \"" + id + "\"";
    return channel;
}

void CheckEvaluate(GraphCheck& check, const json& step, const std::string& path) {
    check.ExpectId(step["evaluate"], Key(path, "evaluate"), check.KindsOf<Aco_FloatChannel>());
}

bool RunEvaluate(StepRunner& runner, const json& step, float& status, std::string& error) {
    if (!Target(runner, step, "evaluate", error)) return false;
    const std::string id = step["evaluate"].get<std::string>();
    if (!runner.Evaluate(id, status)) error = "\"" + id + "\" has no value to evaluate";
    return error.empty();
}

void CheckPrint(GraphCheck& check, const json& step, const std::string& path) {
    const json& ids = step["print"];
    if (!ids.is_array()) {
        check.ExpectId(ids, Key(path, "print"), {});
        return;
    }
    for (size_t i = 0; i < ids.size(); ++i) check.ExpectId(ids[i], At(Key(path, "print"), i), {});
}

bool RunPrint(StepRunner& runner, const json& step, float&, std::string&) {
    for (const json& id : step["print"].is_array() ? step["print"] : json::array({step["print"]}))
        std::fprintf(runner.Out(), "  %-34s = %s\n", id.get<std::string>().c_str(),
                     runner.Graph().Describe(runner.Graph().FindChannel(id.get<std::string>())).c_str());
    return true;
}

void CheckSet(GraphCheck& check, const json& step, const std::string& path) {
    const json& target = step["set"];
    if (!check.ExpectId(target, Key(path, "set"), check.KindsOf<Aco_FloatChannel, Aco_StringChannel>())) return;
    const bool isText = check.Is<Aco_StringChannel>(target.get<std::string>());
    const char* key = isText ? "text" : "value";
    if (step.contains(isText ? "value" : "text"))
        check.Add(Key(path, isText ? "value" : "text"),
                  std::string("a ") + (isText ? "Text" : "value") + " channel is set with \"" + key + "\"");
    if (!step.contains(key)) check.Add(path, std::string("a \"set\" step needs \"") + key + "\"");
    else if (isText) check.Expect(step[key], json::value_t::string, Key(path, key));
    else check.ExpectNumber(step[key], Key(path, key));
}

bool RunSet(StepRunner& runner, const json& step, float&, std::string& error) {
    A3d_Channel* channel = Target(runner, step, "set", error);
    if (auto* text = dynamic_cast<Aco_StringChannel*>(channel)) text->SetString(step.value("text", "").c_str());
    else if (auto* value = dynamic_cast<Aco_FloatChannel*>(channel)) value->SetFloat(step.value("value", 0.0f));
    return channel != nullptr;
}

void CheckWrite(GraphCheck& check, const json& step, const std::string& path) {
    check.ExpectId(step["write"], Key(path, "write"), check.KindsOf<Aco_StringChannel>());
    if (!step.contains("to")) check.Add(path, "a \"write\" step needs the file it writes \"to\"");
    else if (check.Expect(step["to"], json::value_t::string, Key(path, "to")) && step["to"].get<std::string>().empty())
        check.Add(Key(path, "to"), "must name a file");
}

// The text goes out as the channel holds it, by its length: a NUL it holds is written too.
bool RunWrite(StepRunner& runner, const json& step, float&, std::string& error) {
    auto* channel = dynamic_cast<Aco_StringChannel*>(Target(runner, step, "write", error));
    if (!channel) return false;
    const char* held = channel->GetString();
    const std::string text = held ? std::string(held, channel->GetStringLength()) : std::string();
    const std::string path = step["to"].get<std::string>();
    OutputFile file(path);
    if (!file.Write(text, error) || !file.Commit(error)) return false;
    std::fprintf(runner.Out(), "write %-31s -> %s (%zu bytes)\n", step["write"].get<std::string>().c_str(), path.c_str(),
                 text.size());
    return true;
}
}  // namespace

const std::vector<StepKind>& ChannelStepKinds() {
    static const std::vector<StepKind> kinds = {
        {"evaluate", {},
         "evaluates a `Value`, `CustomEnum` or `Storyloom` channel and prints its value; for a `Storyloom` channel "
         "that is the status of its mode",
         CheckEvaluate, RunEvaluate},
        {"print", {}, "prints one channel or a list", CheckPrint, RunPrint},
        {"set", {"value", "text"}, "changes a channel", CheckSet, RunSet},
        {"write", {"to"}, "writes a `Text` channel's text to a file, whole or not at all", CheckWrite, RunWrite},
    };
    return kinds;
}
