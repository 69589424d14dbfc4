// Step and channel kinds are records: each must be whole, and the schema, the format's docs and
// the fuzz dictionary must say of the kinds what the records say.
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "ChannelKind.h"
#include "GraphTestSupport.h"
#include "StepKind.h"

namespace {
using nlohmann::json;
using Keys = std::set<std::string>;

std::string SourceFile(const std::string& path) {
    std::ifstream file(std::string(STORYLOOM_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The properties of a schema alternative but those every alternative has.
Keys OwnProperties(const json& alternative, const Keys& shared) {
    Keys own;
    for (const auto& item : alternative["properties"].items())
        if (!shared.count(item.key())) own.insert(item.key());
    return own;
}

// The rows of the first table after `heading`, by the word their first cell starts with
// (`Value`, or `{"evaluate": ...}`).
std::map<std::string, std::string> TableRows(const std::string& doc, const std::string& heading) {
    std::map<std::string, std::string> rows;
    std::istringstream lines(doc.substr(doc.find("\n" + heading + "\n")));
    std::string line;
    bool inTable = false;
    while (std::getline(lines, line) && !(inTable && line.rfind('|', 0) != 0)) {
        inTable = line.rfind('|', 0) == 0;
        if (line.rfind("| `", 0) != 0) continue;
        std::size_t start = line.compare(3, 2, "{\"") == 0 ? 5 : 3, end = start;
        while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
        if (end > start) rows[line.substr(start, end - start)] = line;
    }
    return rows;
}

bool Mentions(const std::string& row, const std::string& key) {
    return row.find('`' + key + '`') != std::string::npos || row.find('"' + key + '"') != std::string::npos;
}

// The second cell of a table row: what a kind's keys are.
std::string KeysCell(const std::string& row) {
    const size_t start = row.find(" | ") + 3;
    return row.substr(start, row.find(" | ", start) - start);
}
}  // namespace

TEST(KindRecords, AreWhole) {
    std::set<std::string> steps;
    for (const StepKind& kind : StepKinds::All()) steps.insert(kind.name ? kind.name : "");
    EXPECT_EQ(steps.size(), StepKinds::All().size()) << "two step kinds share a name";
    for (const StepKind& kind : StepKinds::All()) {
        SCOPED_TRACE(kind.name ? kind.name : "(no name)");
        EXPECT_TRUE(kind.name && *kind.name && kind.describe && *kind.describe && kind.check && kind.run);
        // A key that names a step, or that every step takes, would make a step two things.
        for (const std::string& key : kind.keys)
            EXPECT_TRUE(!steps.count(key) && key != "comment" && key != "expect") << key;
    }
    std::set<std::string> channels;
    for (const ChannelKind& kind : ChannelKinds::All()) {
        SCOPED_TRACE(kind.name ? kind.name : "(no name)");
        ASSERT_TRUE(kind.name && kind.make && kind.setUp && kind.save && kind.describe);
        EXPECT_TRUE(channels.insert(kind.name).second) << "two channel kinds share a name";
        EXPECT_FALSE(kind.keys.empty());
        EXPECT_TRUE(kind.make(Plugin()));
    }
}

TEST(KindRecords, SchemaDocsAndFuzzDictionarySayWhatTheyDo) {
    const json schema = json::parse(SourceFile("docs/graph.schema.json"));
    const std::string doc = SourceFile("docs/graph-format.md");
    std::set<std::string> dictionary;
    std::istringstream dictionaryLines(SourceFile("fuzz/dict/graph_run.dict"));
    for (std::string line; std::getline(dictionaryLines, line);) dictionary.insert(line);
    auto inDictionary = [&](const std::string& word, const char* after) {
        return dictionary.count("\"\\\"" + word + "\\\"" + after + "\"") == 1;
    };

    std::map<std::string, std::pair<Keys, std::string>> recordSteps, schemaSteps;
    for (const StepKind& kind : StepKinds::All()) {
        recordSteps[kind.name] = {Keys(kind.keys.begin(), kind.keys.end()), kind.describe};
        recordSteps[kind.name].first.insert(kind.name);
    }
    for (const json& alternative : schema["$defs"]["step"]["anyOf"])
        if (alternative.contains("required"))
            schemaSteps[alternative["required"][0].get<std::string>()] = {
                OwnProperties(alternative, {"comment", "expect"}), alternative.value("description", "")};
    EXPECT_EQ(schemaSteps, recordSteps);

    std::vector<std::string> recordKinds;
    const auto schemaKinds = schema["$defs"]["channel"]["properties"]["kind"]["enum"].get<std::vector<std::string>>();
    std::map<std::string, Keys> recordChannels, schemaChannels;
    for (const ChannelKind& kind : ChannelKinds::All()) {
        recordKinds.push_back(kind.name);
        for (const ChannelKey& key : kind.keys) recordChannels[kind.name].insert(key.name);
    }
    for (const json& alternative : schema["$defs"]["channel"]["oneOf"])
        schemaChannels[alternative["properties"]["kind"]["const"].get<std::string>()] =
            OwnProperties(alternative, {"kind", "id", "name", "group"});
    EXPECT_EQ(schemaKinds, recordKinds);
    EXPECT_EQ(schemaChannels, recordChannels);

    const auto stepRows = TableRows(doc, "## Steps"), channelRows = TableRows(doc, "## Channels");
    EXPECT_EQ(stepRows.size(), recordSteps.size() + 1) << "a row for each step kind and one for a comment";
    EXPECT_EQ(channelRows.size(), recordChannels.size());
    for (const auto& [name, record] : recordSteps) {
        SCOPED_TRACE(name);
        const std::string row = stepRows.count(name) ? stepRows.at(name) : "";
        EXPECT_NE(row.find("| " + record.second + " |"), std::string::npos) << row;
        for (const std::string& key : record.first) {
            EXPECT_TRUE(Mentions(row, key)) << key;
            EXPECT_TRUE(inDictionary(key, ":")) << key;
        }
    }
    for (const auto& [name, keys] : recordChannels) {
        SCOPED_TRACE(name);
        const std::string row = channelRows.count(name) ? channelRows.at(name) : "";
        EXPECT_TRUE(inDictionary(name, ""));
        for (const std::string& key : keys) {
            EXPECT_NE(KeysCell(row).find('`' + key + '`'), std::string::npos) << key << " in " << row;
            EXPECT_TRUE(inDictionary(key, ":")) << key;
        }
    }
}

TEST(KindRecords, DescribeTheirChannels) {
    const RunResult result = RunGraph(R"({"entities": [{"name": "Hero"}], "channels": [
      {"id": "value", "kind": "Value", "value": 1.5}, {"id": "text", "kind": "Text", "text": "hi"},
      {"id": "noText", "kind": "Text"}, {"id": "vector", "kind": "Vector", "vector": [1, 2, 3]},
      {"id": "enum", "kind": "CustomEnum", "enumType": "E", "value": 2}, {"id": "hero", "kind": "CoreRef", "ref": "Hero"},
      {"id": "scenario", "kind": "CoreRef"}, {"id": "create", "kind": "Storyloom", "mode": "Scenario_Create", "links": ["scenario"]}],
      "steps": [{"print": ["value", "text", "noText", "vector", "enum", "hero", "scenario", "create"]}, {"evaluate": "create"},
        {"print": "scenario"}]})");
    ASSERT_EQ(result.status, 0) << result.error;
    const std::pair<std::string, std::string> lines[] = {
        {"value", "1.500000"}, {"text", "\"hi\""}, {"noText", "(no text)"}, {"vector", "(1.000000, 2.000000, 3.000000)"},
        {"enum", "2.000000"}, {"hero", "entity \"Hero\""}, {"scenario", "(empty)"}, {"create", "0.000000"},
        {"scenario", "a scenario"}};
    for (const auto& [id, shown] : lines)
        EXPECT_NE(result.output.find("  " + id + std::string(34 - id.size(), ' ') + " = " + shown + "\n"), std::string::npos)
            << id << " = " << shown << " in\n" << result.output;
}
