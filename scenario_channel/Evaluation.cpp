#include "scenario_channel/ModeCatalogue.h"
#include "scenario_channel/ModeSupport.h"
#include "scenario_channel/StoryloomChannel.h"

namespace {
float ReportUnknownMode(Aco_Storyloom& self) {
    self.ReportEvaluationFailure(FormatText("ModeNotRecognized[%u]", self.GetCurrentMode()));
    return ModeResult::UnknownMode;
}
}  // namespace

// The dispatch stays in this one function: every evaluation passes here.
float Aco_Storyloom::GetFloat() {
    float result = ModeResult::Done;
    if (CheckRenderCount()) {
        ModeHandler handler = ModeDispatch::Find(GetCurrentMode());
        result = handler ? handler(*this) : ReportUnknownMode(*this);
    }
    SetFloat(result);
    return _value;
}
