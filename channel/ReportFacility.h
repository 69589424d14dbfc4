#pragma once
#include "storyloom/channel/Export.h"
#include "storyloom/coreframework/Defines/UsefulDefines.h"

// Builds a check-failure report "<function>().<check>" in the shared report buffer and
// returns it; the text lives until the next report, so a sink must take it at once.
// `check` is a printf format with the arguments that follow.
STORYLOOM_API const char* FormatCheckFailure(const char* function, const char* check, ...)
    __attribute__((format(printf, 2, 3)));

// The same for a failed condition's source text, which is reported unchanged.
STORYLOOM_API const char* FormatFailedCondition(const char* function, const char* condition);

// Sends a report to the engine's debug message sink.
STORYLOOM_API void ReportToDebugSink(const char* text);
