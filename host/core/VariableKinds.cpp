#include "storyloom/host/core/VariableKinds.h"

#include "storyloom/host/core/EntityVar.h"
#include "storyloom/host/core/EnumVar.h"
#include "storyloom/host/core/ObjectiveVar.h"
#include "storyloom/host/core/StringVar.h"

namespace Core {

VariableBase* CreateVariableOfKind(const std::string& kind, const std::string& name, Scenario& scenario) {
    if (kind == VariableValueTraits<float>::Kind) return new TVariable<float>(name);
    if (kind == VariableValueTraits<VelmMathLib::Vec3>::Kind) return new TVariable<VelmMathLib::Vec3>(name);
    if (kind == VariableValueTraits<std::string>::Kind) return new StringVar(name);
    if (kind == VariableValueTraits<EnumValue>::Kind) return new EnumVar(name);
    if (kind == VariableValueTraits<Objective>::Kind) return new ObjectiveVar(name);
    if (kind == "entity") return new EntityVar(name, scenario);
    return nullptr;
}

}  // namespace Core
