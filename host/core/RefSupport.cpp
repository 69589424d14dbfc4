#include "host/core/RefSupport.h"

namespace Core {

// Out of line so the class's type information lives in this library only.
RefSupport::~RefSupport() = default;

}  // namespace Core
