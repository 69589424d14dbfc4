#pragma once
#include <string>

// A translation made up to test a game's texts before any translator is hired: letters
// accented, the text widened by `widen` (0.3: 30 % more characters), brackets around it that
// show where it is cut, placeholders, line-break markers, tags and printf formats untouched.
std::string PseudoTranslation(const std::string& source, double widen);
