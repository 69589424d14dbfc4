#pragma once
#include <string>
#include <vector>

namespace Core {
class VariableSlotBase;
}

// Replaces every "$n$" whose n is below the slot count by slot n's value text, scanning left
// to right; inserted text is not scanned again. n reads like "%u": text that does not start
// with a digit is 0. A placeholder without a slot stays as written.
std::string ExpandSlotPlaceholders(const std::string& text, const std::vector<Core::VariableSlotBase*>& slots);
