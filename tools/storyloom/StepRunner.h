#pragma once
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ChannelGraph.h"
#include "EvaluationRecorder.h"
#include "RunRecord.h"
#include "TranslationGuard.h"
#include "StepKind.h"

struct RunOptions {
    bool trace = false;        // print each evaluation's tree: modes, children read and written, nested ones
    bool record = false;       // record every evaluation and tally them (coverage)
    bool keepSteps = false;    // and keep each step as a report shows it
    bool allowErrors = false;  // failures no expectation accounts for are printed, not fatal
    bool allowCycles = false;  // mode channels linked in a ring run; the library refuses the repeat
    std::uint64_t maxText = TranslationGuard::DefaultMaxText;  // a Translate step growing past it is refused
};

// Runs the checked steps of a graph description in order, printing what each did and the
// error-log and debug lines it caused right after it.
class StepRunner {
public:
    StepRunner(ChannelGraph& graph, FILE* out, const RunOptions& options);

    // False with the reason in `error` at the first step that cannot run, whose expectation
    // is unmet, or (unless errors are allowed) that fails with no expectation for it.
    bool Run(const nlohmann::json& steps, std::string& error);

    // What the step records run with.
    ChannelGraph& Graph() { return _graph; }
    FILE* Out() { return _out; }
    const RunOptions& Options() const { return _options; }
    // Evaluates a value channel and prints its value; false for a channel without one. A mode
    // channel's value is its status; a plain value leaves status 0.
    bool Evaluate(const std::string& id, float& status);

    // With recording on: the evaluations over the run, and each step as the report shows it
    // (steps not reached after a failure included, as not run).
    const EvaluationRecorder* Recorder() const { return _recorder.get(); }
    const nlohmann::json& StepRecords() const { return _records; }

private:
    bool RunStep(const StepKind* kind, const nlohmann::json& step, float& status, std::string& error);
    bool CheckStep(const nlohmann::json& step, bool evaluated, float status, const std::vector<std::string>& logged,
                   std::string& error);
    bool CheckValue(const nlohmann::json& expect, std::string& error);

    // Where the logs stood as a step began.
    struct LogMarks {
        size_t errorLog, debug, checks;
        std::map<const Core::Scenario*, size_t> dictionary;
    };
    LogMarks Marks() const;
    // The lines logged since `marks`, kept in the step's facts and printed under `who`.
    void TakeLines(const LogMarks& marks, const std::string& who, RunRecord::StepFacts& facts);
    // The scenarios there are, each with its dictionary's message count.
    std::map<const Core::Scenario*, size_t> DictionaryCounts() const;
    // Framework check reports (the serializer's) made since `before` reports were kept.
    std::vector<std::string> CheckReports(size_t before) const;
    std::vector<std::string> DictionaryMessages(const std::map<const Core::Scenario*, size_t>& before) const;
    // Every variable of the scenarios the graph's references hold, by reference channel and name.
    RunRecord::VariableTexts VariableTexts() const;
    void PrintTraceFrom(size_t node);
    // Records the steps from `from` on as not run.
    void RecordNotRun(const nlohmann::json& steps, size_t from);

    ChannelGraph& _graph;
    FILE* _out;
    RunOptions _options;
    std::unique_ptr<EvaluationRecorder> _recorder;
    size_t _traced = 0;  // the step's evaluation nodes --trace has printed
    nlohmann::json _records = nlohmann::json::array();
};
