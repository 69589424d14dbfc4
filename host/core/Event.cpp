#include "storyloom/host/core/Event.h"

namespace Core {

Event::~Event() = default;

std::string Event::GetDisplayText() const { return GetTypeName(); }

}  // namespace Core
