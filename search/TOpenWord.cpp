#include "search/TOpenWord.h"

#include <algorithm>

TOpenWord::TOpenWord(const std::vector<std::string>& strings, bool caseSense)
    : FStrings(strings)
    , FCaseSense(caseSense)
{
    for (const std::string& s : strings) {
        FKeep = std::max(FKeep, s.empty() ? 0 : s.size() - 1);
        for (size_t i = 0; i + 1 < s.size(); ++i)
            FBeginnings.set(static_cast<unsigned char>(s[i]));
    }
    FTail.reserve(2 * FKeep);
}

void TOpenWord::Keep(std::string_view text)
{
    for (char c : text.substr(text.size() - std::min(text.size(), FKeep)))
        FTail += Compared(c);
    FTail.erase(0, FTail.size() - LongestStringStart());
}

// The length of the longest end of the kept text that begins a string
// (shorter than the string).
size_t TOpenWord::LongestStringStart() const
{
    for (size_t k = std::min(FTail.size(), FKeep); k > 0; --k) {
        const std::string_view end = std::string_view(FTail).substr(FTail.size() - k);
        for (const std::string& s : FStrings) {
            if (s.size() > k && std::string_view(s).substr(0, k) == end)
                return k;
        }
    }
    return 0;
}

bool TOpenWord::JoinMakesString(std::string_view text) const
{
    std::string joined = FTail;
    for (char c : text.substr(0, FKeep))
        joined += Compared(c);
    for (const std::string& s : FStrings) {
        for (size_t pos = 0; pos < FTail.size(); ++pos) {
            if (pos + s.size() > FTail.size() && joined.compare(pos, s.size(), s) == 0)
                return true;
        }
    }
    return false;
}
