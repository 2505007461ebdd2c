#include "search/Matcher.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline char UpperAscii(char c)
{
    return static_cast<unsigned char>(c - 'a') < 26 ? char(c - 32) : c;
}

#if defined(__SSE2__)
inline __m128i Load16(const char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
#endif

} // namespace

void UpperCaseAscii(char* dest, const char* source, size_t n)
{
    size_t i = 0;
#if defined(__SSE2__)
    // Shift a..z onto -128..-103 so one signed compare finds the lower-case letters.
    const __m128i shift = _mm_set1_epi8(char('a' + 128));
    const __m128i limit = _mm_set1_epi8(char(-128 + 26));
    const __m128i caseBit = _mm_set1_epi8(0x20);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = Load16(source + i);
        const __m128i isLower = _mm_cmplt_epi8(_mm_sub_epi8(v, shift), limit);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_sub_epi8(v, _mm_and_si128(isLower, caseBit)));
    }
#endif
    for (; i < n; ++i)
        dest[i] = UpperAscii(source[i]);
}

std::string UpperCaseAscii(std::string_view text)
{
    std::string result(text);
    UpperCaseAscii(result.data(), result.data(), result.size());
    return result;
}

const char* FindBytes(const char* haystack, size_t length, std::string_view needle)
{
    const size_t m = needle.size();
    if (m == 0 || m > length)
        return nullptr;
    if (m == 1)
        return static_cast<const char*>(std::memchr(haystack, needle[0], length));
    size_t i = 0;
#if defined(__SSE2__)
    // Compare the first and the last byte of the needle at 16 positions at once and
    // verify the candidates: fast on text, where both rarely coincide by chance.
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[m - 1]);
    for (; i + m - 1 + 16 <= length; i += 16) {
        const __m128i eqFirst = _mm_cmpeq_epi8(first, Load16(haystack + i));
        const __m128i eqLast = _mm_cmpeq_epi8(last, Load16(haystack + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(eqFirst, eqLast)));
        while (mask != 0) {
            const unsigned bit = unsigned(__builtin_ctz(mask));
            if (std::memcmp(haystack + i + bit + 1, needle.data() + 1, m - 2) == 0)
                return haystack + i + bit;
            mask &= mask - 1;
        }
    }
#endif
    for (; i + m <= length; ++i) {
        if (haystack[i] == needle[0] && std::memcmp(haystack + i, needle.data(), m) == 0)
            return haystack + i;
    }
    return nullptr;
}

bool IsWholeWord(const char* data, size_t length, size_t pos, size_t matchLength, const TWordRules& rules)
{
    const size_t end = pos + matchLength;
    const bool beginsWord = pos == 0 || rules.before->test(static_cast<unsigned char>(data[pos - 1]));
    const bool endsWord = end >= length || rules.after->test(static_cast<unsigned char>(data[end]));
    switch (rules.type) {
    case TStringSearchType::sst_Normal: return true;
    case TStringSearchType::sst_Word: return beginsWord && endsWord;
    case TStringSearchType::sst_Prefix: return beginsWord;
    case TStringSearchType::sst_Suffix: return endsWord;
    }
    return false;
}

bool ContainsString(const char* data, size_t length, std::string_view pattern, const TWordRules& rules)
{
    // The data is a run of NUL-separated segments and a match never spans a NUL;
    // a pattern holding no NUL can only match inside one segment, so one search
    // over the whole data is the same as one search per segment.
    if (pattern.empty() || pattern.find('\0') != std::string_view::npos)
        return false;
    size_t pos = 0;
    while (pos < length) {
        const char* hit = FindBytes(data + pos, length - pos, pattern);
        if (!hit)
            return false;
        const size_t at = size_t(hit - data);
        if (rules.type == TStringSearchType::sst_Normal || IsWholeWord(data, length, at, pattern.size(), rules))
            return true;
        pos = at + pattern.size();
    }
    return false;
}
