#include "StepRunner.h"

#include <cmath>

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
}  // namespace

std::map<const Core::Scenario*, size_t> StepRunner::DictionaryCounts() const {
    std::map<const Core::Scenario*, size_t> counts;
    for (const std::string& id : _graph.GetChannelIds())
        if (auto* ref = dynamic_cast<Aco_CoreRef*>(_graph.FindChannel(id)))
            if (auto* scenario = dynamic_cast<Core::Scenario*>(ref->GetRef()))
                counts[scenario] = scenario->GetDictionaryMessages().size();
    return counts;
}

void StepRunner::PrintDictionaryMessages(const std::map<const Core::Scenario*, size_t>& before, const std::string& who) {
    for (const auto& [scenario, count] : DictionaryCounts()) {
        // A scenario made during the step (perhaps where a destroyed one was) reports from its start.
        auto seen = before.find(scenario);
        size_t from = seen == before.end() || seen->second > count ? 0 : seen->second;
        const auto& messages = scenario->GetDictionaryMessages();
        for (size_t i = from; i < count; ++i)
            std::fprintf(_out, "  dictionary [%s]: %s\n", who.c_str(), messages[i].c_str());
    }
}

// The serializer reports damaged text it reads through failed framework checks.
void StepRunner::PrintCheckReports(size_t before, const std::string& who) {
    const std::vector<AssertionReport>& reports = GetAssertionReports();
    for (size_t i = before < reports.size() ? before : reports.size(); i < reports.size(); ++i)
        std::fprintf(_out, "  check [%s]: %s, file %s, line %d\n", who.c_str(), reports[i].expression.c_str(),
                     reports[i].sourcePath.c_str(), reports[i].line);
}

bool StepRunner::Run(const json& steps, std::string& error) {
    for (size_t index = 0; index < steps.size(); ++index) {
        const json& step = steps[index];
        const size_t logBefore = Core::GetErrorLog().size();
        const size_t debugBefore = globalEngine.GetDebugMessages().size();
        const auto dictionaryBefore = DictionaryCounts();
        const size_t checksBefore = GetAssertionReports().size();
        float status = 0.0f;
        std::string reason;
        // The reports come right after the step that caused them, under the step's channel.
        const StepKind* kind = StepKinds::Of(step);
        std::string who = kind ? kind->name : "";
        if (kind && step[who].is_string()) who = step[who].get<std::string>();
        TranslationStepGuard guard(step.contains("evaluate") ? _graph.FindChannel(who) : nullptr, _options.maxText);
        std::string guarded;  // the step's failure the program's own checks found
        bool ran = true;
        if (guard.Before(_out, who, guarded) && (guarded.empty() || _options.allowErrors))
            ran = RunStep(kind, step, status, reason);
        std::vector<std::string> logged(Core::GetErrorLog().begin() + logBefore, Core::GetErrorLog().end());
        for (const std::string& line : logged) std::fprintf(_out, "  error log [%s]: %s\n", who.c_str(), line.c_str());
        const auto& debug = globalEngine.GetDebugMessages();
        for (size_t i = debugBefore; i < debug.size(); ++i)
            std::fprintf(_out, "  debug [%s]: %s\n", who.c_str(), debug[i].c_str());
        PrintDictionaryMessages(dictionaryBefore, who);
        PrintCheckReports(checksBefore, who);
        if (ran && guarded.empty()) guard.After(_out, who, guarded);
        if (ran && !guarded.empty() && !_options.allowErrors) {
            ran = false;
            reason = guarded;
        }
        if (ran) ran = CheckStep(step, step.contains("evaluate"), status, logged, reason);
        if (!ran) {
            error = "step " + std::to_string(index) + " ($.steps[" + std::to_string(index) + "]): " + reason;
            return false;
        }
    }
    return true;
}

std::vector<std::string> StepRunner::ReadLinks(A3d_Channel* channel, const char* what) {
    std::vector<std::string> values;
    for (unsigned index = 0; index < channel->GetChildCount(); ++index) {
        A3d_Channel* child = channel->GetChild(index);
        values.push_back(child ? _graph.Describe(child) : "");
        if (child && what)
            std::fprintf(_out, "    %s child %u %-20s = %s\n", what, index, _graph.IdOf(child).c_str(),
                         values.back().c_str());
    }
    return values;
}

bool StepRunner::Evaluate(const std::string& id, float& status) {
    A3d_Channel* channel = _graph.FindChannel(id);
    auto* value = dynamic_cast<Aco_FloatChannel*>(channel);
    if (!value) return false;
    auto* storyloom = dynamic_cast<Aco_Storyloom*>(channel);
    const bool trace = _options.trace && storyloom;
    std::vector<std::string> before;
    if (trace) {
        const ModeDescription* mode = storyloom->GetModeDescription(storyloom->GetCurrentMode());
        std::fprintf(_out, "  trace %s: mode %s\n", id.c_str(), mode ? mode->shortName.c_str() : "(none)");
        before = ReadLinks(channel, "read ");
    }
    status = value->GetFloat();
    std::fprintf(_out, "evaluate %-28s -> %g\n", id.c_str(), status);
    if (trace) {
        // What the mode wrote: every linked child whose value changed.
        std::vector<std::string> after = ReadLinks(channel, nullptr);
        for (unsigned index = 0; index < after.size(); ++index)
            if (index >= before.size() || after[index] != before[index])
                std::fprintf(_out, "    write child %u %-20s = %s\n", index, _graph.IdOf(channel->GetChild(index)).c_str(),
                             after[index].c_str());
    }
    // Only a mode channel's value is a status; a plain value is just read.
    if (!storyloom) status = 0.0f;
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
    const json expect = step.value("expect", json::object());
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
