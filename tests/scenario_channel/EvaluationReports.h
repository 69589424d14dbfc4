#pragma once
#include <string>

// The error-log line of a failed evaluation: the text behind the prefix of an ungrouped
// channel that carries its automatic name "Storyloom_" + short mode name.
inline std::string EvaluationReport(const std::string& shortName, const std::string& text) {
    const std::string name = "Storyloom_" + shortName;
    return name + ".CGR[].Channel[" + name + "]." + text;
}
