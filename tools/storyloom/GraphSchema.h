#pragma once

// The JSON Schema of graph descriptions, as kept in docs/graph.schema.json.
namespace GraphSchema {
const char* Text();
}  // namespace GraphSchema
