#include "search/TPassageCutter.h"

#include <algorithm>

#include "util/CharacterReferences.h"

namespace {

constexpr size_t npos = std::u32string::npos;
// Matches looked at per string: the first passages need only the first few.
constexpr size_t MaxMatches = 64;

// Appends the characters as UTF-8: written in place, as most are ASCII.
void AppendCharacters(std::u32string_view characters, std::string& out)
{
    const size_t held = out.size();
    out.resize(held + 4 * characters.size());
    char* write = out.data() + held;
    for (const char32_t c : characters) {
        if (c < 0x80) {
            *write++ = char(c);
            continue;
        }
        std::string encoded;
        AppendUtf8(c, encoded);
        write = std::copy(encoded.begin(), encoded.end(), write);
    }
    out.resize(size_t(write - out.data()));
}

} // namespace

TPassageCutter::TPassageCutter(const std::vector<std::string>& searchStrings, const TPassageRules& rules)
    : FRules(rules)
    , FMatcher(searchStrings, { rules.CaseSense, rules.FoldAllLetters, rules.Word })
    , FBudget(FMatcher.StringCount(), MaxMatches)
{
}

void TPassageCutter::FindNewMatches(bool textEnded)
{
    FMatcher.AppendFolded(std::u32string_view(FText).substr(FFolded.size()), FFolded);
    // A match that starts this close to the end may not be whole yet, and
    // whether a word goes on after it is not known before the next piece.
    const size_t longest = FMatcher.LongestString();
    const size_t until = textEnded ? FText.size() : FText.size() > longest ? FText.size() - longest : 0;
    if (until <= FSearched)
        return;
    const std::vector<TTextMatch> found = FMatcher.Find(FFolded, FSearched, until, FBudget);
    // Each piece's matches lie after the earlier pieces': the list stays in order.
    FMatches.insert(FMatches.end(), found.begin(), found.end());
    FSearched = until;
}

bool TPassageCutter::Settled(bool textEnded)
{
    FindNewMatches(textEnded);
    if (textEnded || FRules.MaxPassages == 0)
        return true;
    const std::vector<TWindow> windows = Windows();
    if (windows.size() < FRules.MaxPassages)
        return false;
    return IsSettled(windows.back());
}

// A window is final once the text goes on past its full width (its end and
// the words it is trimmed to are known), and every match inside it has been
// found.
bool TPassageCutter::IsSettled(TWindow window) const
{
    const size_t width = std::max(FRules.Width, FMatcher.LongestString());
    return window.first + width < FText.size() && window.second <= FSearched;
}

// The window moved inward to whole words, never into the match.
TPassageCutter::TWindow TPassageCutter::TrimmedToWords(const TTextMatch& m, size_t start, size_t end) const
{
    if (start > 0 && FText[start - 1] != U' ') {
        const size_t space = FText.find(U' ', start);
        start = space != npos && space < m.pos ? space + 1 : m.pos;
    }
    if (end < FText.size() && FText[end] != U' ') {
        const size_t space = FText.rfind(U' ', end);
        end = space != npos && space >= m.pos + m.length ? space : m.pos + m.length;
    }
    while (start < m.pos && FText[start] == U' ')
        ++start;
    return { start, end };
}

// The window of about Width characters around the match, not before `from`
// (the end of the passage before), its ends moved inward to the nearest spaces.
TPassageCutter::TWindow TPassageCutter::WindowAround(const TTextMatch& m, size_t from) const
{
    const size_t width = std::max(FRules.Width, m.length);
    const size_t slack = (width - m.length) / 2;
    size_t start = std::max(from, m.pos > slack ? m.pos - slack : 0);
    const size_t end = std::min(FText.size(), start + width);
    // Near the end of the text the window takes its width from before the match.
    if (end - start < width)
        start = std::max(from, end > width ? end - width : 0);
    return TrimmedToWords(m, start, end);
}

std::vector<TPassageCutter::TWindow> TPassageCutter::Windows() const
{
    std::vector<TWindow> windows;
    size_t covered = 0; // the end of the last window
    for (const TTextMatch& m : FMatches) {
        if (windows.size() >= FRules.MaxPassages)
            break;
        if (!windows.empty() && m.pos < covered)
            continue;
        windows.push_back(WindowAround(m, covered));
        covered = windows.back().second;
    }
    return windows;
}

TPassage TPassageCutter::MakePassage(TWindow window) const
{
    TPassage passage;
    passage.Text.reserve(window.second - window.first + 8);
    if (window.first > 0)
        passage.Text = "... ";
    const std::u32string_view text(FText);
    auto next = FMatches.begin();
    for (size_t i = window.first; i < window.second;) {
        // The next match that starts here or later and ends inside the window.
        while (next != FMatches.end() && (next->pos < i || next->pos + next->length > window.second))
            ++next;
        const size_t plainEnd = next != FMatches.end() ? std::min(next->pos, window.second) : window.second;
        AppendCharacters(text.substr(i, plainEnd - i), passage.Text);
        i = plainEnd;
        if (next != FMatches.end() && next->pos == i && i < window.second) {
            const size_t begin = passage.Text.size();
            AppendCharacters(text.substr(i, next->length), passage.Text);
            passage.Matches.emplace_back(begin, passage.Text.size());
            i += next->length;
        }
    }
    if (window.second < FText.size())
        passage.Text += " ...";
    return passage;
}

std::vector<TPassage> TPassageCutter::Passages() const
{
    std::vector<TPassage> passages;
    for (const TWindow& window : Windows())
        passages.push_back(MakePassage(window));
    return passages;
}

bool TPassageCutter::AwaitsNextMatch() const
{
    const std::vector<TWindow> windows = Windows();
    if (windows.size() >= FRules.MaxPassages)
        return false;
    const size_t covered = windows.empty() ? 0 : windows.back().second;
    if (!windows.empty() && !IsSettled(windows.back()))
        return false;
    const bool leftOver = !FMatches.empty() && FMatches.back().pos >= covered;
    return !leftOver && !FMatcher.MayStartAt(FFolded, FSearched);
}

bool TPassageCutter::GapsLeftNoMark() const
{
    for (const size_t gap : FGaps) {
        const auto after = std::find_if(
            FMatches.begin(), FMatches.end(), [gap](const TTextMatch& m) { return m.pos + m.length > gap; });
        if (after == FMatches.end())
            continue;
        // The window around the first match after the gap, and the character
        // before it that decides where its first word starts, must lie after
        // the gap.
        const size_t width = std::max(FRules.Width, after->length);
        const size_t slack = (width - after->length) / 2;
        if (after->pos <= gap + 1 + slack)
            return false;
        // Near the end of the text the window takes its width from before the match.
        const size_t start = after->pos - slack + width < FText.size() ? after->pos - slack : FText.size() - width;
        if (FText.size() < width || start <= gap + 1)
            return false;
    }
    return true;
}
