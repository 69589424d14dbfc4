#include "GraphProgram.h"

#include <map>
#include <memory>
#include <new>

#include "GraphPicture.h"
#include "JsonText.h"
#include "OutputFile.h"

namespace GraphProgram {

namespace {
// Links given by name become links by position, so building, saving and drawing see one form.
void PlaceNamedLinks(nlohmann::json& description, const ModeList& modes) {
    if (!description.contains("channels")) return;
    for (nlohmann::json& entry : description["channels"]) {
        if (!entry.contains("links") || !entry["links"].is_object()) continue;
        const ModeInfo* mode = modes.Find(entry["mode"].get<std::string>());
        nlohmann::json placed = nlohmann::json::array();
        for (const LinkInfo& link : mode->links) {
            if (!entry["links"].contains(link.name)) continue;
            while (placed.size() < link.position) placed.push_back(nullptr);
            placed.push_back(entry["links"][link.name]);
        }
        entry["links"] = placed;
    }
}
}  // namespace

std::string Reason(const std::exception& e) {
    return dynamic_cast<const std::bad_alloc*>(&e) ? "out of memory" : e.what();
}

ExitStatus::Code Load(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                      nlohmann::json& description, std::vector<std::string>& problems, bool allowCycles) {
    std::string error;
    if (!JsonText::Parse(text, source, description, error)) {
        problems.push_back(error);
        return ExitStatus::Failed;
    }
    try {
        ModeList modes(plugin);
        // Reading the catalogue sets every mode once; what that reports is not the graph's.
        Core::ClearErrorLog();
        globalEngine.ClearDebugMessages();
        GraphCheck check(modes, plugin);
        if (allowCycles) check.AllowCycles();
        for (const GraphProblem& problem : check.Check(description))
            problems.push_back(source + ": " + problem.Line());
        if (problems.empty()) PlaceNamedLinks(description, modes);
    } catch (const std::exception& e) {
        problems.push_back(source + ": " + Reason(e));
    }
    return problems.empty() ? ExitStatus::Success : ExitStatus::Failed;
}

ExitStatus::Code Run(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                     const RunOptions& options, FILE* out, std::string& error) {
    nlohmann::json description;
    std::vector<std::string> problems;
    if (Load(text, source, plugin, description, problems, options.allowCycles) != ExitStatus::Success) {
        error = problems.front();
        if (problems.size() > 1) error += " (and " + std::to_string(problems.size() - 1) + " more; see \"check\")";
        return ExitStatus::Failed;
    }
    try {
        if (description.contains("description")) PrintText(out, description["description"].get<std::string>() + "\n");
        ChannelGraph graph(plugin);
        if (!graph.Build(description, error)) {
            error = source + ": " + error;
            return ExitStatus::Failed;
        }
        StepRunner runner(graph, out, options);
        if (!runner.Run(description.value("steps", nlohmann::json::array()), error)) {
            error = source + ": " + error;
            return ExitStatus::Failed;
        }
        return ExitStatus::Success;
    } catch (const std::exception& e) {
        error = source + ": " + Reason(e);
    }
    return ExitStatus::Failed;
}

ExitStatus::Code Draw(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                      const std::string& picturePath, std::string& error) {
    nlohmann::json description;
    std::vector<std::string> problems;
    if (Load(text, source, plugin, description, problems) != ExitStatus::Success) {
        error = problems.front();
        return ExitStatus::Failed;
    }
    if (!GraphPicture::FitsLayout(description, error)) {
        error = source + ": " + error;
        return ExitStatus::Failed;
    }
    try {
        std::map<std::string, std::vector<std::string>> linkNames;
        ModeList modes(plugin);
        for (const nlohmann::json& entry : description.value("channels", nlohmann::json::array()))
            if (const ModeInfo* mode = modes.Find(entry.value("mode", "")))
                for (const LinkInfo& link : mode->links) linkNames[entry["id"].get<std::string>()].push_back(link.name);
        std::map<std::string, std::string> values;
        {
            ChannelGraph graph(plugin);
            if (!graph.Build(description, error)) {
                error = source + ": " + error;
                return ExitStatus::Failed;
            }
            std::unique_ptr<FILE, int (*)(FILE*)> quiet(std::fopen("/dev/null", "w"), std::fclose);
            RunOptions options;
            options.allowErrors = true;
            // A run that stops early still shows the values it reached.
            std::string ignored;
            if (quiet) StepRunner(graph, quiet.get(), options).Run(description.value("steps", nlohmann::json::array()), ignored);
            for (const std::string& id : graph.GetChannelIds()) values[id] = graph.Describe(graph.FindChannel(id));
        }
        if (!GraphPicture::Write(description, values, linkNames, picturePath, error)) return ExitStatus::Failed;
        return ExitStatus::Success;
    } catch (const std::exception& e) {
        error = source + ": " + Reason(e);
    }
    return ExitStatus::Failed;
}

}  // namespace GraphProgram
