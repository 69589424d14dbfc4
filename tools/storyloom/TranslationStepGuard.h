#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "storyloom/scenario_channel/Aco_Storyloom.h"

// The run's checks around a step that imports, exports or translates with a scenario's
// dictionary: what the library does silently, the run reports as the step's failure.
class TranslationStepGuard {
public:
    // `evaluated`: the channel the step evaluates, or null.
    TranslationStepGuard(A3d_Channel* evaluated, std::uint64_t maxText);

    // Prints what it finds under `who`; a failure of the step in `failure`. False when the
    // step must not run at all: its translation would grow past the limit.
    bool Before(FILE* out, const std::string& who, std::string& failure);
    // After an import: the items of the text that did not arrive.
    void After(FILE* out, const std::string& who, std::string& failure) const;

private:
    Aco_Storyloom* _channel = nullptr;  // set when it evaluates a mode this guard checks
    unsigned int _mode = 0;
    std::uint64_t _maxText;
    std::string _importText;  // "Data" as it was before an import
};
