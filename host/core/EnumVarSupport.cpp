#include "storyloom/host/core/EnumVarSupport.h"

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/NamedLists.h"

namespace Core {

namespace {
NamedLists& Types() {
    static NamedLists types;
    return types;
}
}  // namespace

bool EnumVarSupport::RegisterType(const std::string& type, std::vector<std::string> valueNames) {
    if (type.empty()) {
        ERRLOG("EnumVarSupport::RegisterType: an enumeration type needs a name");
        return false;
    }
    Types().Set(type, std::move(valueNames));
    return true;
}

bool EnumVarSupport::IsTypeSupported(const std::string& type) { return Types().Has(type); }
const std::vector<std::string>& EnumVarSupport::GetValueNames(const std::string& type) { return Types().Get(type); }
void EnumVarSupport::Clear() { Types().Clear(); }

}  // namespace Core
