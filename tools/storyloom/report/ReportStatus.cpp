#include "ReportStatus.h"

#include "storyloom/scenario_channel/ModeSupport.h"
#include "HtmlText.h"
#include "RecordFields.h"

using nlohmann::json;

namespace ReportStatus {
namespace {
enum LookIndex { kDone, kLinkError, kInvalidLink, kUnknownMode, kOther, kNever, kValue };
}  // namespace

const std::vector<Look>& All() {
    static const std::vector<Look> looks = {
        {"done", "status-done", "#b2f2bb"},
        {"link error", "status-link-error", "#ffd8a8"},
        {"invalid link", "status-invalid-link", "#ffa8a8"},
        {"unknown mode", "status-unknown-mode", "#d0bfff"},
        {"other status", "status-other", "#ffec99"},
        {"never evaluated", "status-never", "#f1f3f5"},
        {"value, text or reference (read, not evaluated)", "status-value", "#ffffff"},
    };
    return looks;
}

const Look& Of(const json& status) {
    if (status.is_null()) return All()[kNever];
    if (!status.is_number()) return All()[kOther];
    const float value = status.get<float>();
    if (value == ModeResult::Done) return All()[kDone];
    if (value == ModeResult::LinkError) return All()[kLinkError];
    if (value == ModeResult::LinkInvalid) return All()[kInvalidLink];
    if (value == ModeResult::UnknownMode) return All()[kUnknownMode];
    return All()[kOther];
}

const Look& OfChannel(const json& channel) {
    return RecordFields::Text(RecordFields::Field(channel, "mode")).empty() ? All()[kValue]
                                                                             : Of(RecordFields::Field(channel, "lastStatus"));
}

bool IsNeverEvaluated(const Look& look) { return &look == &All()[kNever]; }

void AppendBadge(std::string& out, const json& status) {
    const Look& look = Of(status);
    out += "<span class=\"badge ";
    out += look.cssClass;
    out += "\">";
    if (!status.is_null()) HtmlText::Append(out, RecordFields::Text(status));
    // A status of no known kind shows its number alone.
    if (&look != &All()[kOther]) {
        if (!status.is_null()) out += ' ';
        out += look.name;
    }
    out += "</span>";
}

std::string Style() {
    std::string rules;
    for (const Look& look : All()) rules += std::string(".") + look.cssClass + "{--fill:" + look.fill + "}\n";
    return rules;
}

}  // namespace ReportStatus
