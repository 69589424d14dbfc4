#include "quest/SlotPlaceholders.h"

#include <cstdlib>

#include "host/ScenarioCore.h"

std::string ExpandSlotPlaceholders(std::string text, const std::vector<Core::VariableSlotBase*>& slots) {
    size_t from = 0;
    for (;;) {
        size_t open = text.find('$', from);
        if (open == std::string::npos) break;
        size_t close = text.find('$', open + 1);
        if (close == std::string::npos) break;
        // strtoul saturates where "%u" would overflow; both read no digits as 0.
        unsigned long slot = std::strtoul(text.substr(open + 1, close - open - 1).c_str(), nullptr, 10);
        if (slot >= slots.size()) {
            from = close + 1;
            continue;
        }
        std::string value = slots[slot]->GetValueText();
        text.replace(open, close - open + 1, value);
        from = open + value.size();
    }
    return text;
}
