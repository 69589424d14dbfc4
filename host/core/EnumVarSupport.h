#pragma once
#include <string>
#include <vector>

namespace Core {

// The enumeration types enumeration variables may hold, process-wide, each with its value
// names in index order.
class EnumVarSupport {
public:
    // Registering a type again replaces its value names. An empty type name is refused.
    static bool RegisterType(const std::string& type, std::vector<std::string> valueNames);
    static bool IsTypeSupported(const std::string& type);
    // Empty for an unknown type.
    static const std::vector<std::string>& GetValueNames(const std::string& type);
    // Forgets every type.
    static void Clear();
};

}  // namespace Core
