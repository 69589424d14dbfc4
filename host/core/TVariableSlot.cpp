#include "storyloom/host/core/TVariableSlot.h"

namespace Core {

template class TVariableSlot<TVariable<float>>;
template class TVariableSlot<TVariable<VelmMathLib::Vec3>>;
template class TVariableSlot<StringVar>;
template class TVariableSlot<ObjectiveVar>;
template class TVariableSlot<EnumVar>;

}  // namespace Core
