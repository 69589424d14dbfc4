#pragma once
#include <string>
#include <string_view>

// Eight hex digits that change when a source text does, so a translation made for an older
// source is found again after any trip through translators' tools.
std::string SourceHash(std::string_view source);
