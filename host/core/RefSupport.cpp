#include "storyloom/host/core/RefSupport.h"

#include "storyloom/host/core/ScenarioSupport.h"

namespace Core {

// Out of line so the class's type information lives in this library only.
RefSupport::~RefSupport() = default;

ScenarioSupport* RefSupport::AsScenarioSupport() { return dynamic_cast<ScenarioSupport*>(this); }

}  // namespace Core
