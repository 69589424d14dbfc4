#pragma once
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "ExitStatus.h"

// A command of the program. It adds its own subcommand, with options of its own, to the app;
// when parsing picks it, the subcommand's callback runs it and leaves its exit status in `status`.
struct Command {
    CLI::App* (*setUp)(CLI::App& app, ExitStatus::Code& status);
    // Whether a first word stands for this command with that word as its argument
    // ("storyloom road.json" runs road.json); null for a command no word stands for.
    bool (*standsFor)(const std::string& firstWord);
};

// Every command, in the order the program's help lists them.
const std::vector<Command>& Commands();

// One file each.
CLI::App* SetUpRun(CLI::App& app, ExitStatus::Code& status);
CLI::App* SetUpCheck(CLI::App& app, ExitStatus::Code& status);
CLI::App* SetUpModes(CLI::App& app, ExitStatus::Code& status);
CLI::App* SetUpGraph(CLI::App& app, ExitStatus::Code& status);
CLI::App* SetUpTranslate(CLI::App& app, ExitStatus::Code& status);
CLI::App* SetUpSave(CLI::App& app, ExitStatus::Code& status);
CLI::App* SetUpSchema(CLI::App& app, ExitStatus::Code& status);
