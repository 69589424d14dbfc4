#include "storyloom/host/core/NamedLists.h"

namespace Core {

const std::vector<std::string>& NamedLists::Get(const std::string& type) const {
    static const std::vector<std::string> none;
    auto found = _lists.find(type);
    return found == _lists.end() ? none : found->second;
}

}  // namespace Core
