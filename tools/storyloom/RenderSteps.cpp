// The step that draws what a camera sees into a picture.
#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "GraphCheck.h"
#include "JsonText.h"
#include "RenderTarget.h"
#include "StepKind.h"
#include "StepRunner.h"

using nlohmann::json;
using JsonText::At;
using JsonText::Key;

namespace {
void CheckRender(GraphCheck& check, const json& step, const std::string& path) {
    if (check.Expect(step["render"], json::value_t::string, Key(path, "render")) &&
        !check.IsCamera(step["render"].get<std::string>()))
        check.Add(Key(path, "render"), "no camera \"" + step["render"].get<std::string>() + "\"");
    if (step.contains("draw") && check.Expect(step["draw"], json::value_t::array, Key(path, "draw")))
        for (size_t i = 0; i < step["draw"].size(); ++i)
            check.ExpectId(step["draw"][i], At(Key(path, "draw"), i), check.KindsOf<Aco_Storyloom>());
    const std::string picturePath = Key(path, "picture");
    if (!step.contains("picture")) {
        check.Add(path, "a \"render\" step needs the \"picture\" file it writes");
    } else if (check.Expect(step["picture"], json::value_t::string, picturePath)) {
        const std::string file = step["picture"].get<std::string>();
        if (file.size() < 5 || file.compare(file.size() - 4, 4, ".png") != 0) check.Add(picturePath, "must end in .png");
    }
}

// The draw channels are evaluated while the engine's renderer draws for the camera, then the
// picture is written.
bool RunRender(StepRunner& runner, const json& step, float&, std::string& error) {
    const std::string name = step["render"].get<std::string>();
    const Core::Camera* camera = runner.Graph().FindCamera(name);
    if (!camera) {
        error = "no camera \"" + name + "\"";
        return false;
    }
    RenderTarget target(*camera);
    if (!target.IsReady(error)) return false;
    for (const json& id : step.value("draw", json::array())) {
        float status = 0.0f;
        if (!runner.Evaluate(id.get<std::string>(), status)) {
            error = "\"" + id.get<std::string>() + "\" has no value to evaluate";
            return false;
        }
        if (status != 0.0f && !runner.Options().allowErrors) {
            error = "drawing \"" + id.get<std::string>() + "\" returned " + JsonText::Number(status) +
                    " (--allow-errors goes on)";
            return false;
        }
    }
    const std::string path = step["picture"].get<std::string>();
    if (!target.Finish(path, error)) return false;
    std::fprintf(runner.Out(), "render %-30s -> %s (%d x %d, %zu draw calls)\n", name.c_str(), path.c_str(),
                 target.GetDevice().GetWidth(), target.GetDevice().GetHeight(), target.GetDevice().GetDrawCalls().size());
    return true;
}
}  // namespace

const std::vector<StepKind>& RenderStepKinds() {
    static const std::vector<StepKind> kinds = {
        {"render", {"draw", "picture"}, "draws a picture of what a camera sees", CheckRender, RunRender},
    };
    return kinds;
}
