#pragma once
// What every mode needs: status values, failure reports, reference access and the number
// conversions between channel values and scenario ids and flags.
#include <cstdint>

#include "storyloom/channel/KindCast.h"
#include "storyloom/host/core/Aco_CoreRef.h"
#include "storyloom/host/core/Scenario.h"
#include "storyloom/host/core/ScenarioSupport.h"
#include "storyloom/scenario_channel/StoryloomChannel.h"

namespace ModeResult {
constexpr float Done = 0.0f;
constexpr float LinkError = 105.0f;    // a needed link empty, or its value or text unusable
constexpr float LinkInvalid = 106.0f;  // wrong kind of object, or the looked-up object missing
constexpr float UnknownMode = 1.0f;
constexpr float UnnamedFactory = 1.0f;   // a construct channel without a name defines no node kind
constexpr float UnsupportedSlot = 3.0f;  // a slot child of a kind no slot is made from
}  // namespace ModeResult

namespace ModeSupport {

// Report the failure at `link` behind the channel prefix and answer its status.
float LinkError(Aco_Storyloom& self, unsigned int link);
float LinkInvalid(Aco_Storyloom& self, unsigned int link);

// The reference channel at `link`, or null when nothing (or no reference channel) is there.
Aco_CoreRef* ReferenceAt(Aco_Storyloom& self, unsigned int link);

// The object of class T that `child` refers to; null when `child` is not a reference
// channel, its reference is empty or the object is of another class.
template <class T>
T* Narrow(Core::RefSupport* object) {
    return KindCast<T>(object);
}
template <>
inline Core::ScenarioSupport* Narrow<Core::ScenarioSupport>(Core::RefSupport* object) {
    return object ? object->AsScenarioSupport() : nullptr;
}
template <class T>
T* ReferencedObject(A3d_Channel* child) {
    auto* ref = KindCast<Aco_CoreRef>(child);
    return ref ? Narrow<T>(ref->GetRef()) : nullptr;
}

// Reads the object of class T from the reference at `link`: null with `status` set to the
// reported failure (105.0 nothing linked; 106.0 empty, another class, or a channel there
// that is no reference channel).
template <class T>
T* ObjectAt(Aco_Storyloom& self, unsigned int link, float& status) {
    A3d_Channel* child = self.GetChild(link);
    if (!child) {
        status = LinkError(self, link);
        return nullptr;
    }
    T* object = ReferencedObject<T>(child);
    if (!object) status = LinkInvalid(self, link);
    return object;
}
inline Core::Scenario* ScenarioAt(Aco_Storyloom& self, unsigned int link, float& status) {
    return ObjectAt<Core::Scenario>(self, link, status);
}
inline Core::ScenarioSupport* EntityAt(Aco_Storyloom& self, unsigned int link, float& status) {
    return ObjectAt<Core::ScenarioSupport>(self, link, status);
}

// The reference channel a mode writes its result into: null with `status` set to the
// reported failure (105.0 nothing linked, 106.0 a channel there that cannot hold a reference).
Aco_CoreRef* OutputReferenceAt(Aco_Storyloom& self, unsigned int link, float& status);

// Points the reference at an entity's reference part, or empties it for null.
void PointReferenceAt(Aco_CoreRef& ref, Core::ScenarioSupport* entity);

// 0xFFFFFFFF (no id) is -1.0; every other id its unsigned value.
inline float IdToValue(uint32_t id) { return id == Core::Scenario::NoID ? -1.0f : static_cast<float>(id); }
// Truncated toward zero through 64 bits; the low 32 bits are the id.
uint32_t ValueToId(float value);
inline float FlagToValue(bool flag) { return flag ? 1.0f : 0.0f; }
// The serializer flag from an enumeration child: state 5, truncated, clamped to 0..4;
// 4 when nothing usable is linked.
unsigned int ReadSerializerFlag(Aco_Storyloom& self, unsigned int link);

}  // namespace ModeSupport
