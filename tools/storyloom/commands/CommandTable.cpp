#include "CommandSupport.h"
#include "Commands.h"

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {SetUpRun, IsGraphFile},  // "storyloom road.json" is short for "storyloom run road.json"
        {SetUpCheck, nullptr},
        {SetUpModes, nullptr},
        {SetUpGraph, nullptr},
        {SetUpTranslate, nullptr},
        {SetUpSave, nullptr},
        {SetUpSchema, nullptr},
    };
    return commands;
}
