// The channel kinds the engine and the scenario core bring: values, texts, vectors,
// enumerations and references.
#include "storyloom/host/Aco_CustomEnum.h"
#include "ChannelGraph.h"
#include "ChannelKind.h"

using nlohmann::json;

namespace {
template <class Channel>
std::unique_ptr<A3d_Channel> Make(const A3dPluginLoader&) {
    return std::make_unique<Channel>();
}

bool SetUpValue(A3d_Channel& channel, const json& entry, const ChannelGraph&, std::string&) {
    dynamic_cast<Aco_FloatChannel&>(channel).SetFloat(entry.value("value", 0.0f));
    return true;
}

void SaveValue(A3d_Channel& channel, json& entry) {
    entry["value"] = dynamic_cast<Aco_FloatChannel&>(channel).GetStoredFloat();
}

bool SetUpText(A3d_Channel& channel, const json& entry, const ChannelGraph&, std::string&) {
    if (entry.contains("text") && entry["text"].is_string())
        dynamic_cast<Aco_StringChannel&>(channel).SetString(entry["text"].get<std::string>().c_str());
    return true;
}

void SaveText(A3d_Channel& channel, json& entry) {
    if (const char* text = dynamic_cast<Aco_StringChannel&>(channel).GetString()) entry["text"] = text;
}

std::string DescribeText(A3d_Channel& channel) {
    const char* text = dynamic_cast<Aco_StringChannel&>(channel).GetString();
    return text ? "\"" + std::string(text) + "\"" : "(no text)";
}

bool SetUpVector(A3d_Channel& channel, const json& entry, const ChannelGraph&, std::string&) {
    const VelmMathLib::Vec3 v = ReadVec3(entry, "vector");
    dynamic_cast<Aco_VectorChannel&>(channel).SetVector(v.x, v.y, v.z);
    return true;
}

void SaveVector(A3d_Channel& channel, json& entry) {
    const D3DXVECTOR3 v = dynamic_cast<Aco_VectorChannel&>(channel).GetVector();
    entry["vector"] = {v.x, v.y, v.z};
}

std::string DescribeVector(A3d_Channel& channel) {
    const D3DXVECTOR3 v = dynamic_cast<Aco_VectorChannel&>(channel).GetVector();
    return "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ", " + std::to_string(v.z) + ")";
}

bool SetUpEnum(A3d_Channel& channel, const json& entry, const ChannelGraph& graph, std::string& error) {
    dynamic_cast<Aco_CustomEnum&>(channel).SetEnumTypeName(entry.value("enumType", "").c_str());
    return SetUpValue(channel, entry, graph, error);
}

void SaveEnum(A3d_Channel& channel, json& entry) {
    entry["enumType"] = dynamic_cast<Aco_CustomEnum&>(channel).GetEnumTypeName();
    SaveValue(channel, entry);
}

bool SetUpRef(A3d_Channel& channel, const json& entry, const ChannelGraph& graph, std::string& error) {
    if (!entry.contains("ref")) return true;
    Core::RefSupport* target = graph.FindReferable(entry["ref"].get<std::string>());
    if (!target) {
        error = "no entity or camera named \"" + entry["ref"].get<std::string>() + "\"";
        return false;
    }
    dynamic_cast<Aco_CoreRef&>(channel).SetRef(target);
    return true;
}

// A file's header keeps what a reference names, not the reference.
void SaveRef(A3d_Channel&, json&) {}

std::string DescribeRef(A3d_Channel& channel) {
    Core::RefSupport* target = dynamic_cast<Aco_CoreRef&>(channel).GetRef();
    if (!target) return "(empty)";
    if (auto* entity = dynamic_cast<Core::EntityBase*>(target)) return "entity \"" + entity->GetName() + "\"";
    if (dynamic_cast<Core::Scenario*>(target)) return "a scenario";
    if (dynamic_cast<Core::Camera*>(target)) return "a camera";
    return "an object";
}
}  // namespace

const std::vector<ChannelKind>& HostChannelKinds() {
    static const std::vector<ChannelKind> kinds = {
        {"Value", {{"value", ChannelKey::Number, true}}, Make<Aco_FloatChannel>, SetUpValue, SaveValue,
         ChannelKinds::DescribeValue},
        {"Text", {{"text", ChannelKey::Text, true}}, Make<Aco_StringChannel>, SetUpText, SaveText, DescribeText},
        {"Vector", {{"vector", ChannelKey::Vector, true}}, Make<Aco_VectorChannel>, SetUpVector, SaveVector,
         DescribeVector},
        {"CustomEnum", {{"enumType", ChannelKey::Text, true}, {"value", ChannelKey::Number, true}},
         Make<Aco_CustomEnum>, SetUpEnum, SaveEnum, ChannelKinds::DescribeValue},
        {"CoreRef", {{"ref", ChannelKey::Referable, false}}, Make<Aco_CoreRef>, SetUpRef, SaveRef, DescribeRef},
    };
    return kinds;
}

std::string ChannelKinds::DescribeValue(A3d_Channel& channel) {
    return std::to_string(dynamic_cast<Aco_FloatChannel&>(channel).GetStoredFloat());
}
