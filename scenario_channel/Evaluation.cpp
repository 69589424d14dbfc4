#include "scenario_channel/StoryloomChannel.h"
#include "scenario_channel/ModeCatalogue.h"
#include "scenario_channel/ModeSupport.h"

float Aco_Storyloom::GetFloat() {
    float result = CheckRenderCount() ? RunCurrentMode() : ModeResult::Done;
    SetFloat(result);
    return _value;
}

float Aco_Storyloom::RunCurrentMode() {
    if (ModeHandler handler = ModeCatalogue::HandlerOf(GetCurrentMode())) return handler(*this);
    ReportEvaluationFailure(FormatText("ModeNotRecognized[%u]", GetCurrentMode()));
    return ModeResult::UnknownMode;
}
