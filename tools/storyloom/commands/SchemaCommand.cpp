// "storyloom schema": the JSON Schema of graph descriptions, as the docs keep it.
#include <cstdio>

#include "Commands.h"
#include "GraphSchema.h"
#include "OutputFile.h"

CLI::App* SetUpSchema(CLI::App& app, ExitStatus::Code& status) {
    CLI::App* schema = app.add_subcommand("schema", "Print the JSON Schema (draft 2020-12) of graph descriptions");
    schema->callback([&status] {
        PrintText(stdout, GraphSchema::Text());
        status = ExitStatus::Success;
    });
    return schema;
}
