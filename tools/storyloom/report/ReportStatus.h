#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// How a channel's status shows on the report page: the graph's fill colours, the legend and
// the badges all come from this one table.
namespace ReportStatus {

struct Look {
    const char* name;      // the legend's word
    const char* cssClass;  // on badges, list items and graph nodes
    const char* fill;
};

// The look of `status`; null means never evaluated.
const Look& Of(const nlohmann::json& status);
// The look of a record's channel: a channel without a mode is read, never evaluated, and has
// a look of its own; a mode channel has its last status's.
const Look& OfChannel(const nlohmann::json& channel);
bool IsNeverEvaluated(const Look& look);
// Every look, in the legend's order.
const std::vector<Look>& All();
// A badge: the status's number and word.
void AppendBadge(std::string& out, const nlohmann::json& status);
// The CSS rules giving each look's class its colour.
std::string Style();

}  // namespace ReportStatus
