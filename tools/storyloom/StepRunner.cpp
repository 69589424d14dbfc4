#include "StepRunner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "storyloom/coreframework/Logging.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "JsonText.h"
#include "StepKind.h"
#include "TranslationStepGuard.h"

using nlohmann::json;
using JsonText::Number;

namespace {
std::string Lines(const std::vector<std::string>& lines) {
    return lines.empty() ? "no lines" : json(lines).dump();
}

RunRecord::StepFacts Facts(const StepKind* kind, const json& step, size_t index) {
    RunRecord::StepFacts facts;
    facts.index = index;
    facts.kind = kind ? kind->name : "";
    if (kind && step[facts.kind].is_string()) facts.subject = step[facts.kind].get<std::string>();
    return facts;
}

// While it lives, what the run prints goes to a buffer as well, kept for the step's record.
class StepOutput {
public:
    StepOutput(FILE*& out, bool keep) : _out(out), _passOn(out) {
        if (keep)
            if (FILE* buffer = open_memstream(&_text, &_size)) _out = buffer;
    }
    ~StepOutput() { Finish(); }
    StepOutput(const StepOutput&) = delete;
    StepOutput& operator=(const StepOutput&) = delete;

    // Ends the keeping: the text goes on to the run's output and is answered.
    std::string Finish() {
        if (_out == _passOn) return "";
        std::fclose(_out);
        _out = _passOn;
        std::string text(_text ? _text : "", _size);
        std::free(_text);
        _text = nullptr;
        std::fwrite(text.data(), 1, text.size(), _passOn);
        return text;
    }

private:
    FILE*& _out;
    FILE* const _passOn;
    char* _text = nullptr;
    size_t _size = 0;
};
}  // namespace

// Every scenario the run made is the manager's: asking it costs a step the scenarios, not the
// graph's channels (a walk over those made a run quadratic in the graph's size).
std::map<const Core::Scenario*, size_t> StepRunner::DictionaryCounts() const {
    std::map<const Core::Scenario*, size_t> counts;
    for (const auto& scenario : Core::CoreEngine::Instance().GetScenarioManager().GetScenarios())
        counts[scenario.get()] = scenario->GetDictionaryMessages().size();
    return counts;
}

std::vector<std::string> StepRunner::DictionaryMessages(const std::map<const Core::Scenario*, size_t>& before) const {
    std::vector<std::string> lines;
    for (const auto& [scenario, count] : DictionaryCounts()) {
        // A scenario made during the step (perhaps where a destroyed one was) reports from its start.
        auto seen = before.find(scenario);
        size_t from = seen == before.end() || seen->second > count ? 0 : seen->second;
        const auto& messages = scenario->GetDictionaryMessages();
        lines.insert(lines.end(), messages.begin() + static_cast<std::ptrdiff_t>(from),
                     messages.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return lines;
}

// The serializer reports damaged text it reads through failed framework checks.
std::vector<std::string> StepRunner::CheckReports(size_t before) const {
    const std::vector<AssertionReport>& reports = GetAssertionReports();
    std::vector<std::string> lines;
    for (size_t i = before < reports.size() ? before : reports.size(); i < reports.size(); ++i)
        lines.push_back(reports[i].expression + ", file " + reports[i].sourcePath + ", line " +
                        std::to_string(reports[i].line));
    return lines;
}

RunRecord::VariableTexts StepRunner::VariableTexts() const {
    RunRecord::VariableTexts texts;
    for (const std::string& id : _graph.GetChannelIds())
        if (auto* ref = dynamic_cast<Aco_CoreRef*>(_graph.FindChannel(id)))
            if (auto* scenario = dynamic_cast<Core::Scenario*>(ref->GetRef()))
                for (const Core::VariableBase* variable : scenario->GetVariables())
                    texts.emplace(std::make_pair(id, variable->GetName()), variable->GetValueText());
    return texts;
}

StepRunner::StepRunner(ChannelGraph& graph, FILE* out, const RunOptions& options)
    : _graph(graph), _out(out), _options(options) {
    if (options.trace || options.record || options.keepSteps)
        _recorder = std::make_unique<EvaluationRecorder>(graph, options.trace || options.keepSteps);
}

StepRunner::LogMarks StepRunner::Marks() const {
    return {Core::GetErrorLog().size(), globalEngine.GetDebugMessages().size(), GetAssertionReports().size(),
            DictionaryCounts()};
}

void StepRunner::TakeLines(const LogMarks& marks, const std::string& who, RunRecord::StepFacts& facts) {
    const auto since = [](const std::vector<std::string>& lines, size_t mark) {
        return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(std::min(mark, lines.size())), lines.end());
    };
    facts.errorLog = since(Core::GetErrorLog(), marks.errorLog);
    facts.debug = since(globalEngine.GetDebugMessages(), marks.debug);
    facts.dictionary = DictionaryMessages(marks.dictionary);
    facts.checks = CheckReports(marks.checks);
    for (const auto& [lines, what] : {std::make_pair(&facts.errorLog, "error log"), std::make_pair(&facts.debug, "debug"),
                                      std::make_pair(&facts.dictionary, "dictionary"), std::make_pair(&facts.checks, "check")})
        for (const std::string& line : *lines) std::fprintf(_out, "  %s [%s]: %s\n", what, who.c_str(), line.c_str());
}

bool StepRunner::Run(const json& steps, std::string& error) {
    for (size_t index = 0; index < steps.size(); ++index) {
        const json& step = steps[index];
        const StepKind* kind = StepKinds::Of(step);
        RunRecord::StepFacts facts = Facts(kind, step, index);
        // The reports come right after the step that caused them, under the step's channel.
        const std::string who = facts.subject.empty() ? facts.kind : facts.subject;
        const LogMarks marks = Marks();
        if (_recorder) _recorder->BeginStep();
        _traced = 0;
        if (_options.keepSteps) facts.variablesBefore = VariableTexts();
        StepOutput output(_out, _options.keepSteps);
        std::string reason;
        facts.evaluated = step.contains("evaluate");
        TranslationStepGuard guard(facts.evaluated ? _graph.FindChannel(who) : nullptr, _options.maxText);
        std::string guarded;  // the step's failure the program's own checks found
        bool ran = true;
        if (guard.Before(_out, who, guarded) && (guarded.empty() || _options.allowErrors))
            ran = RunStep(kind, step, facts.status, reason);
        // Evaluations no evaluate line printed: rule nodes a step ran by itself.
        if (_options.trace) PrintTraceFrom(_traced);
        TakeLines(marks, who, facts);
        if (ran && guarded.empty()) guard.After(_out, who, guarded);
        if (ran && !guarded.empty() && !_options.allowErrors) {
            ran = false;
            reason = guarded;
        }
        if (ran) ran = CheckStep(step, facts.evaluated, facts.status, facts.errorLog, reason);
        if (_options.keepSteps) {
            facts.passed = ran;
            facts.failure = reason;
            facts.output = output.Finish();
            facts.variablesAfter = VariableTexts();
            _records.push_back(RunRecord::Step(step, facts, _recorder.get(), _graph));
        }
        if (!ran) {
            error = "step " + std::to_string(index) + " ($.steps[" + std::to_string(index) + "]): " + reason;
            if (_options.keepSteps) RecordNotRun(steps, index + 1);
            return false;
        }
    }
    return true;
}

void StepRunner::RecordNotRun(const json& steps, size_t from) {
    for (size_t index = from; index < steps.size(); ++index) {
        RunRecord::StepFacts facts = Facts(StepKinds::Of(steps[index]), steps[index], index);
        facts.ran = false;
        _records.push_back(RunRecord::Step(steps[index], facts, nullptr, _graph));
    }
}

void StepRunner::PrintTraceFrom(size_t node) {
    _recorder->Print(_out, node);
    _traced = _recorder->Nodes().size();
}

bool StepRunner::Evaluate(const std::string& id, float& status) {
    A3d_Channel* channel = _graph.FindChannel(id);
    auto* value = dynamic_cast<Aco_FloatChannel*>(channel);
    if (!value) return false;
    status = value->GetFloat();
    std::fprintf(_out, "evaluate %-28s -> %g\n", id.c_str(), status);
    if (_options.trace) PrintTraceFrom(_traced);
    // Only a mode channel's value is a status; a plain value is just read.
    if (!dynamic_cast<Aco_Storyloom*>(channel)) status = 0.0f;
    return true;
}

bool StepRunner::RunStep(const StepKind* kind, const json& step, float& status, std::string& error) {
    if (step.contains("comment")) std::fprintf(_out, "# %s\n", step["comment"].get<std::string>().c_str());
    return !kind || kind->run(*this, step, status, error);
}

bool StepRunner::CheckValue(const json& expect, std::string& error) {
    if (expect.contains("variable")) {
        auto* ref = dynamic_cast<Aco_CoreRef*>(_graph.FindChannel(expect["scenario"].get<std::string>()));
        auto* scenario = ref ? dynamic_cast<Core::Scenario*>(ref->GetRef()) : nullptr;
        const std::string name = expect["variable"].get<std::string>();
        Core::VariableBase* variable = scenario ? scenario->FindVariable(name) : nullptr;
        const std::string found = variable ? "\"" + variable->GetValueText() + "\"" : "no such variable";
        const std::string wanted = "\"" + expect.value("text", "") + "\"";
        if (found != wanted) error = "expected variable \"" + name + "\" = " + wanted + ", found " + found;
        return error.empty();
    }
    if (!expect.contains("channel")) return true;
    const std::string id = expect["channel"].get<std::string>();
    A3d_Channel* channel = _graph.FindChannel(id);
    std::string wanted, found = _graph.Describe(channel);
    bool met = true;
    if (expect.contains("value")) {
        auto* value = dynamic_cast<Aco_FloatChannel*>(channel);
        const double target = expect["value"].get<double>(), tolerance = expect.value("tolerance", 1e-4);
        wanted = Number(target) + " (within " + Number(tolerance) + ")";
        met = value && std::fabs(value->GetStoredFloat() - target) <= tolerance;
    } else if (expect.contains("text")) {
        auto* text = dynamic_cast<Aco_StringChannel*>(channel);
        wanted = "\"" + expect["text"].get<std::string>() + "\"";
        met = text && text->GetString() && expect["text"].get<std::string>() == text->GetString();
    } else if (expect.contains("ref")) {
        auto* ref = dynamic_cast<Aco_CoreRef*>(channel);
        wanted = expect["ref"].is_null() ? "(empty)" : "entity \"" + expect["ref"].get<std::string>() + "\"";
        met = ref && found == wanted;
    }
    if (!met) error = "expected \"" + id + "\" = " + wanted + ", found " + found;
    return met;
}

bool StepRunner::CheckStep(const json& step, bool evaluated, float status, const std::vector<std::string>& logged,
                           std::string& error) {
    static const json none = json::object();
    const json& expect = step.contains("expect") ? step["expect"] : none;
    if (expect.contains("status") && std::fabs(status - expect["status"].get<double>()) > 1e-4) {
        error = "expected status " + Number(expect["status"].get<double>()) + ", found " + Number(status);
        return false;
    }
    if (expect.contains("errorLog") && expect["errorLog"].get<std::vector<std::string>>() != logged) {
        error = "expected the error log to gain " + Lines(expect["errorLog"].get<std::vector<std::string>>()) +
                ", found " + Lines(logged);
        return false;
    }
    if (!CheckValue(expect, error)) return false;
    if (_options.allowErrors) return true;
    if (evaluated && status != 0.0f && !expect.contains("status")) {
        error = "\"" + step["evaluate"].get<std::string>() + "\" returned " + Number(status) +
                " with no \"expect\" for it (--allow-errors goes on)";
        return false;
    }
    if (!logged.empty() && !expect.contains("errorLog")) {
        error = "the error log gained " + Lines(logged) + " with no \"expect\" for it (--allow-errors goes on)";
        return false;
    }
    return true;
}
