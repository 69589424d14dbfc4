#include "storyloom/host/core/StringListVarSupport.h"

#include "storyloom/host/core/NamedLists.h"

namespace Core {

namespace {
NamedLists& Lists() {
    static NamedLists lists;
    return lists;
}
}  // namespace

void StringListVarSupport::RegisterSupportedListVar(const std::string& type, std::vector<std::string> list) {
    Lists().Set(type, std::move(list));
}

bool StringListVarSupport::IsTypeSupported(const std::string& type) { return Lists().Has(type); }
const std::vector<std::string>& StringListVarSupport::GetList(const std::string& type) { return Lists().Get(type); }
void StringListVarSupport::Clear() { Lists().Clear(); }

}  // namespace Core
