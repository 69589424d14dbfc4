#include "storyloom/coreframework/serializer/ImportText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "storyloom/coreframework/Defines/UsefulDefines.h"

void ImportText::KeepUntil(std::size_t end) {
    _kept += _pending;
    _pending.clear();
    _kept.append(_source, _cursor, end - _cursor);
    _cursor = end;
}

void ImportText::CutUntil(std::size_t end) {
    _pending.clear();
    _cursor = end;
}

void ImportText::CutRange(std::size_t begin, std::size_t end) {
    _pending.append(_source, _cursor, begin - _cursor);
    _cursor = end;
}

void ImportText::CutWithPrecedingCharacter(std::size_t begin, std::size_t end) {
    if (begin > _cursor) {
        KeepUntil(begin - 1);
    } else if (!_pending.empty()) {
        _pending.pop_back();
    } else if (!_kept.empty()) {
        _kept.pop_back();
    }
    CutUntil(end);
}

void ImportText::PendingUntil(std::size_t end, std::string& out) const {
    out.assign(_pending);
    out.append(_source, _cursor, end - _cursor);
}

std::string ImportText::TakeText() {
    _kept += _pending;
    _kept.append(_source, _cursor, std::string::npos);
    return std::move(_kept);
}

std::size_t FindText(std::string_view text, std::string_view what, std::size_t from) {
    const std::size_t length = what.size();
    if (length == 0) return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < length) return std::string_view::npos;
    const char* const begin = text.data();
    const char* const end = begin + (text.size() - length) + 1;  // past the last place it can start
    const char* at = begin + from;
    auto matchesAt = [&](const char* start) {
        return length == 1 || (start[1] == what[1] && std::memcmp(start + 2, what.data() + 2, length - 2) == 0);
    };
#if defined(__SSE2__)
    // Sixteen places at a time, keeping those where the first two characters match: a "<"
    // alone matches at every tag.
    if (length >= 2) {
        const __m128i first = _mm_set1_epi8(what[0]), second = _mm_set1_epi8(what[1]);
        for (; end - at >= 16; at += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
            unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(here, first), _mm_cmpeq_epi8(next, second))));
            for (; hits; hits &= hits - 1) {
                const char* const start = at + __builtin_ctz(hits);
                if (matchesAt(start)) return start - begin;
            }
        }
    }
#endif
    for (;; ++at) {
        at = FindByte(at, end, what[0]);
        if (at == end) return std::string_view::npos;
        if (matchesAt(at)) return at - begin;
    }
}

std::size_t FindCommentStart(std::string_view text, std::size_t from) {
    if (from >= text.size() || text.size() - from < 4) return std::string_view::npos;
    const char* const begin = text.data();
    const char* const end = begin + (text.size() - 2);  // past the last place its "!" can be
    for (const char* at = begin + from + 1;; ++at) {
        at = FindByte(at, end, '!');
        if (at == end) return std::string_view::npos;
        if (at[-1] == '<' && at[1] == '-' && at[2] == '-') return at - 1 - begin;
    }
}

std::string WithoutComments(const std::string& text) {
    static const std::string close = "-->";
    std::string result;
    std::size_t from = 0;
    for (std::size_t start = FindCommentStart(text); start != std::string::npos;
         start = FindCommentStart(text, from)) {
        result.append(text, from, start - from);
        std::size_t end = FindText(text, close, start);
        if (end == std::string::npos) end = text.size() - 1;
        // The character after "-->" goes with the comment.
        from = std::min(text.size(), end + close.size() + 1);
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::string_view WithoutCommentsView(const std::string& text, std::string& scratch) {
    if (FindCommentStart(text) == std::string::npos) return text;
    scratch = WithoutComments(text);
    return scratch;
}

void WriteErrorDump(const std::string& name, const std::string& text) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    const std::string& fileName = FormatText(
        "[%02d%02d%02d-%02d%02d%02d-%03d].InvalidDataStructure.Tag[%s].txt",
        (utc.tm_year + 1900) % 100, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
        utc.tm_sec, static_cast<int>(now.tv_nsec / 1000000), name.c_str());
    FILE* file = std::fopen(fileName.c_str(), "a");
    if (!file) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}
