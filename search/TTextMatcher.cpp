#include "search/TTextMatcher.h"

#include <algorithm>
#include <unordered_map>

#include "search/CharacterForms.h"

namespace {

bool InSet(const TCharSet* set, char32_t c)
{
    return set && c < 0x80 && set->test(size_t(c));
}

char32_t AsciiUpper(char32_t c)
{
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

} // namespace

std::u32string CodePointsOf(std::string_view utf8)
{
    std::u32string points;
    points.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            points.push_back(char32_t(utf8[pos++]));
            continue;
        }
        char32_t c = 0;
        pos += NextTypedCharacter(utf8, pos, c);
        points.push_back(c);
    }
    return points;
}

TTextMatcher::TTextMatcher(const std::vector<std::string>& searchStrings, const TTextMatchRules& rules)
    : FRules(rules)
{
    for (const std::string& s : searchStrings) {
        FAsciiNeedles = FAsciiNeedles && std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
        FNeedles.push_back(Fold(CodePointsOf(s)));
        FLongest = std::max(FLongest, FNeedles.back().size());
    }
}

std::u32string TTextMatcher::Fold(std::u32string text)
{
    if (FRules.CaseSense)
        return text;
    for (char32_t& c : text)
        c = c < 0x80 ? AsciiUpper(c) : FoldOne(c);
    return text;
}

void TTextMatcher::AppendFolded(std::u32string_view text, std::u32string& folded) const
{
    const size_t start = folded.size();
    folded.append(text);
    if (FRules.CaseSense)
        return;
    // ASCII letters in one simple pass the compiler can vectorise; the rare
    // characters outside ASCII (which it leaves alone) in a second.
    char32_t* const first = folded.data() + start;
    const size_t count = folded.size() - start;
    char32_t outside = 0;
    for (size_t i = 0; i < count; ++i) {
        const char32_t c = first[i];
        outside |= c & ~char32_t(0x7F);
        first[i] = c - (c - U'a' < 26 ? U'a' - U'A' : 0);
    }
    if (outside == 0)
        return;
    for (size_t i = 0; i < count; ++i)
        if (first[i] >= 0x80)
            first[i] = FoldOne(first[i]);
}

char32_t TTextMatcher::FoldOne(char32_t c) const
{
    if (FRules.CaseSense)
        return c;
    if (c < 0x80)
        return AsciiUpper(c);
    if (!FRules.FoldAllLetters)
        return c;
    // ASCII strings meet a character outside ASCII only where it is a case
    // form of an ASCII letter; any other may stay as it is. This spares the
    // table of every letter's case forms, costly to build, in most searches.
    if (FAsciiNeedles) {
        const char32_t ascii = AsciiCaseVariant(c);
        return ascii != 0 ? ascii : c;
    }
    // A letter's folded form never changes: the looked-up ones are kept for
    // every matcher of the thread, as a search makes one per hit.
    thread_local std::unordered_map<char32_t, char32_t> folds;
    auto known = folds.find(c);
    if (known == folds.end()) {
        const std::vector<char32_t> variants = CaseVariants(c);
        known = folds.emplace(c, *std::min_element(variants.begin(), variants.end())).first;
    }
    return known->second;
}

bool TTextMatcher::StandsOnBoundaries(std::u32string_view text, const TTextMatch& m) const
{
    const TWordRules& word = FRules.Word;
    const bool wantBefore = word.type == TStringSearchType::sst_Word || word.type == TStringSearchType::sst_Prefix;
    const bool wantAfter = word.type == TStringSearchType::sst_Word || word.type == TStringSearchType::sst_Suffix;
    const bool before = m.pos == 0 || InSet(word.before, text[m.pos - 1]);
    const size_t end = m.pos + m.length;
    const bool after = end == text.size() || InSet(word.after, text[end]);
    return (!wantBefore || before) && (!wantAfter || after);
}

std::vector<TTextMatch> TTextMatcher::Find(std::u32string_view folded, size_t from, size_t to, size_t limit) const
{
    std::vector<size_t> budget(FNeedles.size(), limit);
    return Find(folded, from, to, budget);
}

std::vector<TTextMatch> TTextMatcher::Find(
    std::u32string_view folded, size_t from, size_t to, std::vector<size_t>& budget) const
{
    std::vector<TTextMatch> matches;
    to = std::min(to, folded.size());
    for (size_t i = 0; i < FNeedles.size(); ++i) {
        const std::u32string& needle = FNeedles[i];
        if (needle.empty())
            continue;
        for (size_t pos = folded.find(needle, from); pos != std::u32string_view::npos && pos < to && budget[i] > 0;
             pos = folded.find(needle, pos + 1)) {
            const TTextMatch m{pos, needle.size()};
            if (FRules.Word.type == TStringSearchType::sst_Normal || StandsOnBoundaries(folded, m)) {
                matches.push_back(m);
                --budget[i];
            }
        }
    }
    std::sort(matches.begin(), matches.end(), [](const TTextMatch& a, const TTextMatch& b) {
        return a.pos != b.pos ? a.pos < b.pos : a.length > b.length;
    });
    return matches;
}

bool TTextMatcher::MayStartAt(std::u32string_view folded, size_t from) const
{
    for (const std::u32string& needle : FNeedles) {
        if (needle.empty())
            continue;
        for (size_t pos = from; pos < folded.size(); ++pos) {
            const size_t n = std::min(needle.size(), folded.size() - pos);
            if (folded.compare(pos, n, std::u32string_view(needle).substr(0, n)) == 0)
                return true;
        }
    }
    return false;
}
