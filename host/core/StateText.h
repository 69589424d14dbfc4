#pragma once
#include <string>
#include <vector>

namespace Core {

// Fields of the scenario state text. The serializer stores texts verbatim, so free text is
// percent-encoded: no field ever holds a blank, a markup character or a line break, and
// fields of a record are joined by single blanks.
std::string EncodeStateField(const std::string& text);
void AppendEncodedStateField(std::string& field, const std::string& text);
bool DecodeStateField(const std::string& field, std::string& text);
std::string JoinStateFields(const std::vector<std::string>& fields);
std::vector<std::string> SplitStateFields(const std::string& record);

// Numbers in a form that reads back to the same value; the readers take the whole text or fail.
std::string FormatStateFloat(float value);
std::string FormatStateUnsigned(unsigned value);
bool ParseStateFloat(const std::string& text, float& value);
bool ParseStateUnsigned(const std::string& text, unsigned& value);

}  // namespace Core
