#include <new>
#include <string>

#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "storyloom/scenario_channel/ModeSupport.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

namespace {
float ReportUnknownMode(Aco_Storyloom& self) {
    self.ReportEvaluationFailure(FormatText("ModeNotRecognized[%u]", self.GetCurrentMode()));
    return ModeResult::UnknownMode;
}

// Marks the channel as under evaluation for as long as its mode runs, exceptions included.
class EvaluationScope {
public:
    explicit EvaluationScope(bool& evaluating) : _evaluating(evaluating) { _evaluating = true; }
    ~EvaluationScope() { _evaluating = false; }
    EvaluationScope(const EvaluationScope&) = delete;
    EvaluationScope& operator=(const EvaluationScope&) = delete;

private:
    bool& _evaluating;
};

// Tells the engine's evaluation observer, when one is set, of the evaluation and its value.
class ObservedEvaluation {
public:
    explicit ObservedEvaluation(Aco_Storyloom& channel)
        : _channel(channel), _observer(globalEngine.GetEvaluationObserver()) {
        if (_observer) _observer->ChannelBegins(_channel);
    }
    ~ObservedEvaluation() {
        if (_observer) _observer->ChannelEnds(_channel, _channel.GetStoredFloat());
    }
    ObservedEvaluation(const ObservedEvaluation&) = delete;
    ObservedEvaluation& operator=(const ObservedEvaluation&) = delete;

private:
    Aco_Storyloom& _channel;
    EvaluationObserver* const _observer;
};

// Our choice, the contract having no such case: memory running out inside a mode must not
// leave the plug-in into the engine, so the evaluation ends as a failed write would, with
// "OutOfMemory" reported; with no memory left to say it, it ends all the same.
[[gnu::cold, gnu::noinline]] float ReportOutOfMemory(Aco_Storyloom& self) {
    try {
        self.ReportEvaluationFailure("OutOfMemory");
    } catch (const std::bad_alloc&) {
    }
    return ModeResult::LinkError;
}
}  // namespace

// The dispatch stays in this one function: every evaluation passes here. The gate decides
// first. Then, our choice where the contract has no such case: a channel reached again while
// its mode runs would run it again without end, so it answers as an unreadable link, 105.0,
// without running the mode and without a report (the program refuses such rings).
float Aco_Storyloom::GetFloat() {
    ObservedEvaluation observed(*this);
    float result = ModeResult::Done;
    if (CheckRenderCount()) {
        if (_isEvaluating) {
            result = ModeResult::LinkError;
        } else {
            EvaluationScope scope(_isEvaluating);
            ModeHandler handler = ModeDispatch::Find(GetCurrentMode());
            // Around the call alone: a wider try costs the usual evaluation a nanosecond.
            try {
                result = handler ? handler(*this) : ReportUnknownMode(*this);
            } catch (const std::bad_alloc&) {
                result = ReportOutOfMemory(*this);
            }
        }
    }
    SetFloat(result);
    return _value;
}
