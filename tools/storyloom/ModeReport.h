#pragma once
#include <string>

#include "ModeList.h"

// The mode catalogue written out for people and tools, in display order.
namespace ModeReport {
std::string Text(const ModeList& modes);
std::string Json(const ModeList& modes);
std::string Markdown(const ModeList& modes);
}  // namespace ModeReport
