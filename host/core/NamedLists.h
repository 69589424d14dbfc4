#pragma once
#include <map>
#include <string>
#include <vector>

namespace Core {

// Lists of texts under type names: the store behind the enumeration and string-list registries.
class NamedLists {
public:
    void Set(const std::string& type, std::vector<std::string> list) { _lists[type] = std::move(list); }
    bool Has(const std::string& type) const { return _lists.count(type) != 0; }
    const std::vector<std::string>& Get(const std::string& type) const;
    void Clear() { _lists.clear(); }

private:
    std::map<std::string, std::vector<std::string>> _lists;
};

}  // namespace Core
