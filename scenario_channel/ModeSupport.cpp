#include "storyloom/scenario_channel/ModeSupport.h"

#include <cmath>

#include "storyloom/host/Aco_CustomEnum.h"

namespace ModeSupport {

float LinkError(Aco_Storyloom& self, unsigned int link) {
    self.ReportEvaluationFailure(self.GetChildLinkErrorText(link));
    return ModeResult::LinkError;
}

float LinkInvalid(Aco_Storyloom& self, unsigned int link) {
    self.ReportEvaluationFailure(self.GetChildLinkInvalidText(link));
    return ModeResult::LinkInvalid;
}

Aco_CoreRef* ReferenceAt(Aco_Storyloom& self, unsigned int link) {
    return KindCast<Aco_CoreRef>(self.GetChild(link));
}

Aco_CoreRef* OutputReferenceAt(Aco_Storyloom& self, unsigned int link, float& status) {
    A3d_Channel* child = self.GetChild(link);
    if (!child) {
        status = LinkError(self, link);
        return nullptr;
    }
    auto* ref = KindCast<Aco_CoreRef>(child);
    if (!ref) status = LinkInvalid(self, link);
    return ref;
}

void PointReferenceAt(Aco_CoreRef& ref, Core::ScenarioSupport* entity) {
    Core::RefSupport* target = entity ? entity->AsRefSupport() : nullptr;
    if (target)
        ref.SetRef(target);
    else
        ref.ResetRef();
}

uint32_t ValueToId(float value) {
    // Out of the 64-bit range (and NaN) there is no id to truncate to.
    constexpr float kInt64Bound = 9.2e18f;  // just inside 2^63
    if (!(std::fabs(value) < kInt64Bound)) return Core::Scenario::NoID;
    return static_cast<uint32_t>(static_cast<int64_t>(value));
}

unsigned int ReadSerializerFlag(Aco_Storyloom& self, unsigned int link) {
    // An enumeration answers its value for any state; the flag is read in this one.
    constexpr int kFlagState = 5;
    // One past the named flags; the serializer treats every flag but Export as chunk lines.
    constexpr unsigned int kLastFlag = 4;
    auto* flagChannel = dynamic_cast<Aco_CustomEnum*>(self.GetChild(link));
    if (!flagChannel) return kLastFlag;
    float value = flagChannel->GetFloatExt(kFlagState);
    if (!(value > 0.0f)) return 0;  // negatives and NaN
    if (value >= static_cast<float>(kLastFlag)) return kLastFlag;
    return static_cast<unsigned int>(value);
}

}  // namespace ModeSupport
