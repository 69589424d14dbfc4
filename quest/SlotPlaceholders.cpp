#include "storyloom/quest/SlotPlaceholders.h"

#include <cstdlib>

#include "storyloom/host/core/VariableSlotBase.h"

// Built into a new text, so that the cost stays linear in the text however many
// placeholders it holds.
std::string ExpandSlotPlaceholders(const std::string& text, const std::vector<Core::VariableSlotBase*>& slots) {
    std::string shown;
    size_t from = 0;
    for (;;) {
        size_t open = text.find('$', from);
        if (open == std::string::npos) break;
        size_t close = text.find('$', open + 1);
        if (close == std::string::npos) break;
        // Stops at the closing "$" at the latest; saturates where "%u" would overflow.
        unsigned long slot = std::strtoul(text.c_str() + open + 1, nullptr, 10);
        if (slot < slots.size()) {
            shown.append(text, from, open - from);
            shown += slots[slot]->GetValueText();
        } else {
            shown.append(text, from, close + 1 - from);
        }
        from = close + 1;
    }
    shown.append(text, from, std::string::npos);
    return shown;
}
