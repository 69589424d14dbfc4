#include "PseudoLocale.h"

#include <cctype>
#include <cmath>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace {
// One accented letter for each of a-z, then A-Z.
const char* const kAccented[52] = {
    "á", "ƀ", "ç", "đ", "é", "ƒ", "ĝ", "ĥ", "í", "ĵ", "ķ", "ĺ", "ɱ", "ñ", "ó", "þ", "ǫ", "ŕ", "š", "ţ", "ú", "ṽ", "ŵ", "ẋ", "ý", "ž",
    "Á", "Ɓ", "Ç", "Đ", "É", "Ƒ", "Ĝ", "Ĥ", "Í", "Ĵ", "Ķ", "Ĺ", "Ṁ", "Ñ", "Ó", "Þ", "Ǫ", "Ŕ", "Š", "Ţ", "Ú", "Ṽ", "Ŵ", "Ẋ", "Ý", "Ž"};

// The length of a span at `at` that must stay as written; 0 where there is none.
std::size_t ProtectedAt(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    if (rest.substr(0, 2) == "[[") {  // a placeholder, as Translate finds it
        const std::size_t end = rest.find("]]", 2);
        if (end != std::string_view::npos) return end + 2;
    }
    if (rest.substr(0, 4) == "[BR]") return 4;
    if (rest[0] == '<') {  // a tag of the game's text markup
        const std::size_t end = rest.find_first_of("<>\n", 1);
        if (end != std::string_view::npos && rest[end] == '>') return end + 1;
    }
    if (rest[0] == '%') {  // a printf format: flags, width, precision, then its letter
        const std::size_t end = rest.find_first_not_of("0123456789$#+-. 'lhzjLq", 1);
        if (end != std::string_view::npos && std::strchr("sdifuxXcpeEgGo%", rest[end])) return end + 1;
    }
    return 0;
}

std::vector<std::string_view> Placeholders(std::string_view text) {
    std::vector<std::string_view> found;
    for (std::size_t at = text.find("[["); at != std::string_view::npos;) {
        const std::size_t end = text.find("]]", at + 2);
        if (end == std::string_view::npos) break;
        found.push_back(text.substr(at, end + 2 - at));
        at = text.find("[[", end + 2);
    }
    return found;
}
}  // namespace

std::string PseudoTranslation(const std::string& source, double widen) {
    std::string body;
    std::size_t letters = 0;
    for (std::size_t at = 0; at < source.size();) {
        if (const std::size_t kept = ProtectedAt(source, at)) {
            body.append(source, at, kept);
            at += kept;
            continue;
        }
        const unsigned char c = source[at];
        if (std::isalpha(c)) body += kAccented[std::islower(c) ? c - 'a' : 26 + c - 'A'];
        else body += static_cast<char>(c);
        letters += (c & 0xc0) != 0x80 && c != '\n';  // characters shown, not bytes
        ++at;
    }
    body.append(static_cast<std::size_t>(std::ceil(letters * widen - 1e-9)), '~');
    // Brackets that would run into a placeholder's markers stand a space apart.
    std::string bracketed = "[" + body + "]";
    if (Placeholders(bracketed) != Placeholders(source)) bracketed = "[ " + body + " ]";
    return bracketed;
}
