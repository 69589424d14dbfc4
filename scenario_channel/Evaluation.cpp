#include <new>
#include <string>

#include "scenario_channel/ModeCatalogue.h"
#include "scenario_channel/ModeSupport.h"
#include "scenario_channel/StoryloomChannel.h"

namespace {
float ReportUnknownMode(Aco_Storyloom& self) {
    self.ReportEvaluationFailure(FormatText("ModeNotRecognized[%u]", self.GetCurrentMode()));
    return ModeResult::UnknownMode;
}

// The evaluations under way on the engine's thread, innermost first, kept on the stack so a
// cycle can be named without the evaluation path allocating anything.
struct EvaluationFrame {
    A3d_Channel* channel;
    const EvaluationFrame* outer;
};
const EvaluationFrame* innermost = nullptr;

class EvaluationScope {
public:
    EvaluationScope(A3d_Channel* channel, bool& evaluating) : _frame{channel, innermost}, _evaluating(evaluating) {
        innermost = &_frame;
        _evaluating = true;
    }
    ~EvaluationScope() {
        innermost = _frame.outer;
        _evaluating = false;
    }
    EvaluationScope(const EvaluationScope&) = delete;
    EvaluationScope& operator=(const EvaluationScope&) = delete;

private:
    EvaluationFrame _frame;
    bool& _evaluating;
};

std::string NameOf(A3d_Channel* channel) {
    const char* name = channel->GetChannelName();
    return name ? name : "(unnamed)";
}

// "A -> B -> A": from the evaluation of `channel` under way to where it was reached again.
std::string CycleText(A3d_Channel* channel) {
    std::string path = NameOf(channel);
    for (const EvaluationFrame* frame = innermost; frame && frame->channel != channel; frame = frame->outer)
        path.insert(0, NameOf(frame->channel) + " -> ");
    return NameOf(channel) + " -> " + path;
}

// Reports the text `makeText` gives and answers the value of an unreadable link; with no
// memory left to say it, answers all the same.
template <class MakeText>
float RefuseWith(Aco_Storyloom& self, MakeText makeText) {
    try {
        self.ReportEvaluationFailure(makeText());
    } catch (const std::bad_alloc&) {
    }
    return ModeResult::LinkError;
}

// Kept out of line: the evaluation path stays as small as it was without the guard. Running the
// mode again would never end.
[[gnu::cold, gnu::noinline]] float RefuseCycle(Aco_Storyloom& self) {
    return RefuseWith(self, [&] { return FormatText("EvaluationCycle[%s]", CycleText(&self).c_str()); });
}

[[gnu::cold, gnu::noinline]] float ReportOutOfMemory(Aco_Storyloom& self) {
    return RefuseWith(self, [] { return std::string("OutOfMemory"); });
}
}  // namespace

// The dispatch stays in this one function: every evaluation passes here. The gate decides
// first; the cycle guard refuses only an evaluation that would run. Memory running out inside
// a mode (a huge text, a translation that multiplies) must not leave the plug-in into the
// engine: the evaluation then ends as a failed write would, with "OutOfMemory" reported.
float Aco_Storyloom::GetFloat() {
    float result = ModeResult::Done;
    if (CheckRenderCount()) {
        if (_isEvaluating) {
            result = RefuseCycle(*this);
        } else {
            EvaluationScope scope(this, _isEvaluating);
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
