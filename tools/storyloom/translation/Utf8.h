#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// UTF-8 as XML needs it: characters told from bytes that are not one, and written back.
namespace Utf8 {

// The length of the character at `at`, 0 where the bytes there are not one (overlong forms,
// surrogates and code points past U+10FFFF included); its code point in `code`.
std::size_t CharAt(const std::string& text, std::size_t at, std::uint32_t& code);
void Append(std::string& out, std::uint32_t code);

}  // namespace Utf8
