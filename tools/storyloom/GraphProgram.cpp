#include "GraphProgram.h"

#include <map>
#include <memory>
#include <new>

#include "GraphPicture.h"
#include "JsonText.h"
#include "OutputFile.h"
#include "ReportPage.h"
#include "RunRecord.h"

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

// The page of a finished run, failed or not.
bool WriteReport(const std::string& path, const nlohmann::json& description, const std::string& source,
                 const A3dPluginLoader& plugin, const ChannelGraph& graph, const StepRunner& runner,
                 const std::vector<std::string>& warnings, const std::string& failure, std::string& error) {
    nlohmann::json record = {{"graph", source}, {"description", description.value("description", "")},
                             {"passed", failure.empty()}, {"failure", failure}, {"failedStep", nullptr},
                             {"warnings", warnings},
                             {"channels", RunRecord::Channels(graph, *runner.Recorder())},
                             {"steps", runner.StepRecords()}};
    size_t met = 0, failed = 0;
    for (const nlohmann::json& step : runner.StepRecords()) {
        met += step["result"] == "met";
        failed += step["result"] == "failed";
        if (step["ran"] && !step["failure"].get<std::string>().empty() && record["failedStep"].is_null())
            record["failedStep"] = step["index"];
    }
    record["expectations"] = {{"met", met}, {"failed", failed}};
    ModeList modes(plugin);
    Coverage coverage(modes);
    coverage.Add(source, graph, *runner.Recorder());
    record["coverage"] = coverage.Json(true);
    return ReportPage::Write(record, path, error);
}
}  // namespace

std::string Reason(const std::exception& e) {
    return dynamic_cast<const std::bad_alloc*>(&e) ? "out of memory" : e.what();
}

ExitStatus::Code Load(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                      nlohmann::json& description, std::vector<std::string>& problems, bool allowCycles,
                      std::vector<std::string>* runFailures) {
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
            (problem.onlyAtRun && runFailures ? *runFailures : problems).push_back(source + ": " + problem.Line());
        if (problems.empty()) PlaceNamedLinks(description, modes);
    } catch (const std::exception& e) {
        problems.push_back(source + ": " + Reason(e));
    }
    return problems.empty() ? ExitStatus::Success : ExitStatus::Failed;
}

ExitStatus::Code Run(const std::string& text, const std::string& source, const A3dPluginLoader& plugin,
                     const RunOptions& options, FILE* out, std::string& error, const RunKeeping& keeping) {
    nlohmann::json description;
    std::vector<std::string> problems, runFailures;
    if (Load(text, source, plugin, description, problems, options.allowCycles,
             options.allowErrors ? &runFailures : nullptr) != ExitStatus::Success) {
        error = problems.front();
        if (problems.size() > 1) error += " (and " + std::to_string(problems.size() - 1) + " more; see \"check\")";
        return ExitStatus::Failed;
    }
    try {
        if (description.contains("description")) PrintText(out, description["description"].get<std::string>() + "\n");
        for (const std::string& failure : runFailures) PrintText(out, "warning: " + failure + "\n");
        // The graph takes what it is made of; the steps and the description stay.
        nlohmann::json parts = nlohmann::json::object();
        for (const char* key : {"entities", "cameras", "channels"})
            if (auto found = description.find(key); found != description.end()) parts[key] = std::move(*found);
        ChannelGraph graph(plugin);
        if (!graph.Build(std::move(parts), error)) {
            error = source + ": " + error;
            return ExitStatus::Failed;
        }
        RunOptions recorded = options;
        recorded.record = keeping.coverage != nullptr;
        recorded.keepSteps = !keeping.reportPath.empty();
        StepRunner runner(graph, out, recorded);
        const bool passed = runner.Run(JsonText::ListAt(description, "steps"), error);
        if (!passed) error = source + ": " + error;
        if (keeping.coverage) keeping.coverage->Add(source, graph, *runner.Recorder());
        std::string unkept;
        if (!keeping.reportPath.empty() && !WriteReport(keeping.reportPath, description, source, plugin, graph, runner,
                                                        runFailures, passed ? "" : error, unkept))
            error = passed ? unkept : error;
        return passed && unkept.empty() ? ExitStatus::Success : ExitStatus::Failed;
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
        for (const nlohmann::json& entry : JsonText::ListAt(description, "channels"))
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
            if (quiet) StepRunner(graph, quiet.get(), options).Run(JsonText::ListAt(description, "steps"), ignored);
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
