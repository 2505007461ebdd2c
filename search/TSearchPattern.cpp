#include "search/TSearchPattern.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t NoAnchor = size_t(-1);

bool Contains(const std::vector<char32_t>& list, char32_t c)
{
    return std::find(list.begin(), list.end(), c) != list.end();
}

// The first position at or after pos whose byte is one of the bytes, or length.
size_t FindFirstByteOf(const char* data, size_t length, size_t pos, const std::vector<unsigned char>& bytes,
                       const std::array<bool, 256>& wanted)
{
#if defined(__SSE2__)
    // A few bytes (the forms of one character begin with "&", a UTF-8 lead byte
    // and one or two Windows-1252 bytes): compare 16 positions with each at once.
    if (bytes.size() <= 8) {
        __m128i needles[8];
        for (size_t i = 0; i < bytes.size(); ++i)
            needles[i] = _mm_set1_epi8(char(bytes[i]));
        for (; pos + 16 <= length; pos += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
            __m128i any = _mm_setzero_si128();
            for (size_t i = 0; i < bytes.size(); ++i)
                any = _mm_or_si128(any, _mm_cmpeq_epi8(v, needles[i]));
            if (const int mask = _mm_movemask_epi8(any))
                return pos + size_t(__builtin_ctz(unsigned(mask)));
        }
    }
#endif
    for (; pos < length; ++pos) {
        if (wanted[static_cast<unsigned char>(data[pos])])
            return pos;
    }
    return length;
}

} // namespace

TSearchPattern::TSearchPattern(std::string_view text, TLetterCase letterCase, TStoredForms forms)
{
    FText = letterCase == TLetterCase::Fold ? UpperCaseAscii(text) : std::string(text);
    FMaxLength = text.size();
    if (forms == TStoredForms::Typed)
        return;
    for (unsigned char c : text)
        FPlain = FPlain && c < 0x80;
    if (FPlain)
        return;
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        pos += NextTypedCharacter(text, pos, c);
        if (c < 0x80)
            AddAscii(letterCase == TLetterCase::Fold && c >= 'a' && c <= 'z' ? char(c - 32) : char(c));
        else
            AddForms(StoredForms(c, letterCase), letterCase);
    }
    FMaxLength = 0;
    for (const TElement& e : FElements)
        FMaxLength += e.MaxLength;
    ChooseAnchor();
}

void TSearchPattern::AddAscii(char c)
{
    if (FElements.empty() || !FElements.back().CodePoints.empty() || FElements.back().Literals.size() != 1)
        FElements.push_back({{std::string()}, {}, 0, 0});
    TElement& run = FElements.back();
    run.Literals[0] += c;
    run.MinLength = run.MaxLength = run.Literals[0].size();
}

void TSearchPattern::AddForms(const TCharacterForms& forms, TLetterCase letterCase)
{
    TElement element;
    element.CodePoints = forms.CodePoints;
    element.MinLength = 3; // "&#" and one digit, ended by a byte that is no digit
    element.MaxLength = MaxNumericReferenceLength;
    for (const std::string& literal : forms.Literals) {
        const std::string form = letterCase == TLetterCase::Fold ? UpperCaseAscii(literal) : literal;
        if (std::find(element.Literals.begin(), element.Literals.end(), form) != element.Literals.end())
            continue;
        element.Literals.push_back(form);
        element.MinLength = std::min(element.MinLength, form.size());
        element.MaxLength = std::max(element.MaxLength, form.size());
    }
    FElements.push_back(std::move(element));
}

void TSearchPattern::ChooseAnchor()
{
    size_t best = 0;
    for (size_t i = 0; i < FElements.size(); ++i) {
        const TElement& e = FElements[i];
        if (e.CodePoints.empty() && e.Literals[0].size() > best) {
            best = e.Literals[0].size();
            FAnchor = i;
        }
    }
    // A single ASCII letter is too common to be worth seeking first.
    if (best < 2)
        FAnchor = NoAnchor;
    if (FAnchor != NoAnchor) {
        for (size_t i = 0; i < FAnchor; ++i) {
            FMinBefore += FElements[i].MinLength;
            FMaxBefore += FElements[i].MaxLength;
        }
    }
    const TElement& first = FElements.front();
    if (!first.CodePoints.empty()) {
        FFirstBytes.push_back('&');
        FIsFirstByte['&'] = true;
    }
    for (const std::string& literal : first.Literals) {
        const auto b = static_cast<unsigned char>(literal[0]);
        if (!FIsFirstByte[b])
            FFirstBytes.push_back(b);
        FIsFirstByte[b] = true;
    }
}

bool TSearchPattern::Find(const char* data, size_t length, const TWordRules& rules) const
{
    if (FPlain)
        return ContainsString(data, length, FText, rules);
    return FAnchor != NoAnchor ? FindWithAnchor(data, length, rules) : FindByFirstByte(data, length, rules);
}

bool TSearchPattern::FindWithAnchor(const char* data, size_t length, const TWordRules& rules) const
{
    const std::string& anchor = FElements[FAnchor].Literals[0];
    for (size_t pos = FMinBefore; pos < length;) {
        const char* hit = FindBytes(data + pos, length - pos, anchor);
        if (!hit)
            return false;
        const size_t at = size_t(hit - data);
        const size_t first = at >= FMaxBefore ? at - FMaxBefore : 0;
        for (size_t start = first; start <= at - FMinBefore; ++start) {
            if (FIsFirstByte[static_cast<unsigned char>(data[start])] &&
                MatchesAt(data, length, start, start, 0, rules))
                return true;
        }
        pos = at + 1;
    }
    return false;
}

bool TSearchPattern::FindByFirstByte(const char* data, size_t length, const TWordRules& rules) const
{
    for (size_t pos = FindFirstByteOf(data, length, 0, FFirstBytes, FIsFirstByte); pos < length;
         pos = FindFirstByteOf(data, length, pos + 1, FFirstBytes, FIsFirstByte)) {
        if (MatchesAt(data, length, pos, pos, 0, rules))
            return true;
    }
    return false;
}

// Tries every form of every element in turn, so a form that is the beginning of
// another ("&igrave" and "&igrave;") cannot hide a match, and a whole-word search
// can take whichever end stands on a word boundary.
bool TSearchPattern::MatchesAt(const char* data, size_t length, size_t start, size_t pos, size_t element,
                               const TWordRules& rules) const
{
    if (element == FElements.size())
        return rules.type == TStringSearchType::sst_Normal || IsWholeWord(data, length, start, pos - start, rules);
    const TElement& e = FElements[element];
    for (const std::string& literal : e.Literals) {
        if (literal.size() <= length - pos && std::memcmp(data + pos, literal.data(), literal.size()) == 0 &&
            MatchesAt(data, length, start, pos + literal.size(), element + 1, rules))
            return true;
    }
    char32_t named = 0;
    size_t end = 0;
    if (e.CodePoints.empty() || !ParseNumericReference(data, length, pos, named, end))
        return false;
    // Numbers 128 to 159 name Windows punctuation, as the page shows them.
    if (named >= 0x80 && named <= 0x9F)
        named = Windows1252ToCodePoint(static_cast<unsigned char>(named));
    return Contains(e.CodePoints, named) && MatchesAt(data, length, start, end, element + 1, rules);
}
