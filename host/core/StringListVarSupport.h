#pragma once
#include <string>
#include <vector>

namespace Core {

// The string-selection variable types, process-wide: a type name and the texts to choose
// from. A string-selection variable is an enumeration variable whose index picks a text.
class StringListVarSupport {
public:
    // Registering a type again replaces its list; an empty list is a valid list.
    static void RegisterSupportedListVar(const std::string& type, std::vector<std::string> list);
    static bool IsTypeSupported(const std::string& type);
    // Empty for an unknown type.
    static const std::vector<std::string>& GetList(const std::string& type);
    // Forgets every type.
    static void Clear();
};

}  // namespace Core
