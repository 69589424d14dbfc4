#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "TranslationGuard.h"

// "storyloom translate": converts a dictionary between its forms, translates a text with it
// or finds the placeholders of texts that have no entry.
struct TranslateArguments {
    std::string dictionary;
    std::string from, to, output;
    std::string apply;
    bool hasApply = false;
    std::vector<std::string> check;
    std::uint64_t maxText = TranslationGuard::DefaultMaxText;  // --apply is refused when its text would grow past it
};

namespace TranslateCommand {
// An exit status; the reason of a failure in `error`.
int Run(const TranslateArguments& args, FILE* out, std::string& error);
}  // namespace TranslateCommand
