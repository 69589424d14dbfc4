#include "storyloom/host/core/TVariable.h"

namespace Core {

template class TVariable<float>;
template class TVariable<VelmMathLib::Vec3>;
template class TVariable<std::string>;
template class TVariable<EnumValue>;
template class TVariable<Objective>;

}  // namespace Core
