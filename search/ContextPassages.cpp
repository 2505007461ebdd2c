#include "search/ContextPassages.h"

#include <algorithm>
#include <cctype>

#include "search/DisplayText.h"
#include "search/TTextMatcher.h"
#include "util/CharacterReferences.h"

namespace {

constexpr size_t npos = std::string_view::npos;
// Matches looked at per hit: the first passages need only the first few.
constexpr size_t MaxMatches = 64;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// The upper-cased name of the tag that starts at raw[pos] ("<b", "</b"),
// cut to the length of the longest name that matters here.
std::string_view TagName(std::string_view raw, size_t pos, char (&buffer)[8])
{
    size_t start = pos + 1;
    if (start < raw.size() && raw[start] == '/')
        ++start;
    size_t n = 0;
    const auto isNameCharacter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    for (size_t i = start; i < raw.size() && isNameCharacter(raw[i]); ++i) {
        if (n == sizeof buffer)
            return "LONGNAME"; // no tag this code looks for
        buffer[n++] = AsciiUpper(raw[i]); // tag names are ASCII: no locale lookup
    }
    return { buffer, n };
}

// The next end tag "</NAME" (any letter case) at or after from.
size_t FindEndTag(std::string_view text, std::string_view upperName, size_t from)
{
    for (size_t pos = text.find("</", from); pos != npos; pos = text.find("</", pos + 2)) {
        if (pos + 2 + upperName.size() > text.size())
            return npos;
        size_t i = 0;
        while (i < upperName.size() && AsciiUpper(text[pos + 2 + i]) == upperName[i])
            ++i;
        if (i == upperName.size())
            return pos;
    }
    return npos;
}

// Tags that sit inside a word ("<b>c</b>at" reads "cat"); any other tag
// separates words.
bool IsInlineTag(std::string_view name)
{
    static constexpr std::string_view inlineTags[]
        = { "A", "ABBR", "B", "BIG", "CITE", "CODE", "DFN", "EM", "FONT", "I", "KBD", "MARK", "Q", "S",
              "SMALL", "SPAN", "STRIKE", "STRONG", "SUB", "SUP", "TT", "U", "VAR" };
    return std::find(std::begin(inlineTags), std::end(inlineTags), name) != std::end(inlineTags);
}

// The bytes of the text between tags; scripts, styles and comments left out.
std::string TextBetweenTags(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    size_t pos = 0;
    while (pos < raw.size()) {
        if (raw[pos] != '<') {
            const size_t lt = std::min(raw.find('<', pos), raw.size());
            text.append(raw.substr(pos, lt - pos));
            pos = lt;
        } else if (raw.compare(pos, 4, "<!--") == 0) {
            const size_t end = raw.find("-->", pos + 4);
            pos = end == npos ? raw.size() : end + 3;
            text += ' ';
        } else {
            char buffer[8];
            const std::string_view name = TagName(raw, pos, buffer);
            const bool opening = pos + 1 < raw.size() && raw[pos + 1] != '/';
            const size_t gt = raw.find('>', pos);
            if (gt == npos)
                break; // a tag the block cuts short
            pos = gt + 1;
            if (!IsInlineTag(name))
                text += ' ';
            // A script's, style's or title's content is no text of the page.
            if ((name == "SCRIPT" || name == "STYLE" || name == "TITLE") && opening && raw[gt - 1] != '/') {
                const size_t close = FindEndTag(raw, name, pos);
                pos = close == npos ? raw.size() : close;
            }
        }
    }
    return text;
}

std::string CollapseWhiteSpace(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (IsSpace(c)) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The window moved inward to whole words, never into the match.
std::pair<size_t, size_t> TrimmedToWords(
    const std::u32string& text, const TTextMatch& m, size_t start, size_t end)
{
    if (start > 0 && text[start - 1] != U' ') {
        const size_t space = text.find(U' ', start);
        start = space != npos && space < m.pos ? space + 1 : m.pos;
    }
    if (end < text.size() && text[end] != U' ') {
        const size_t space = text.rfind(U' ', end);
        end = space != npos && space >= m.pos + m.length ? space : m.pos + m.length;
    }
    while (start < m.pos && text[start] == U' ')
        ++start;
    return { start, end };
}

// The window of about `width` characters around the match, not before
// `from` (the end of the passage before), its ends moved inward to the
// nearest spaces.
std::pair<size_t, size_t> WindowAround(const std::u32string& text, const TTextMatch& m, size_t width, size_t from)
{
    width = std::max(width, m.length);
    const size_t slack = (width - m.length) / 2;
    size_t start = std::max(from, m.pos > slack ? m.pos - slack : 0);
    const size_t end = std::min(text.size(), start + width);
    // Near the end of the text the window takes its width from before the match.
    if (end - start < width)
        start = std::max(from, end > width ? end - width : 0);
    return TrimmedToWords(text, m, start, end);
}

TPassage MakePassage(
    const std::u32string& text, std::pair<size_t, size_t> window, const std::vector<TTextMatch>& matches)
{
    TPassage passage;
    if (window.first > 0)
        passage.Text = "... ";
    auto next = matches.begin();
    for (size_t i = window.first; i < window.second; ++i) {
        while (next != matches.end() && (next->pos < i || next->pos + next->length > window.second))
            ++next;
        if (next != matches.end() && next->pos == i) {
            const size_t begin = passage.Text.size();
            for (size_t k = 0; k < next->length; ++k)
                AppendUtf8(text[i + k], passage.Text);
            passage.Matches.emplace_back(begin, passage.Text.size());
            i += next->length - 1;
            continue;
        }
        AppendUtf8(text[i], passage.Text);
    }
    if (window.second < text.size())
        passage.Text += " ...";
    return passage;
}

} // namespace

std::string VisibleText(std::string_view raw, int codePage, bool markup)
{
    const std::string text = markup ? TextBetweenTags(raw) : std::string(raw);
    return CollapseWhiteSpace(PlainText(text, codePage));
}

std::vector<TPassage> FindPassages(
    std::string_view visible, const std::vector<std::string>& searchStrings, const TPassageRules& rules)
{
    const std::u32string text = CodePointsOf(visible);
    TTextMatcher matcher(searchStrings, {rules.CaseSense, rules.FoldAllLetters, rules.Word});
    const std::vector<TTextMatch> matches = matcher.Find(matcher.Fold(text), 0, text.size(), MaxMatches);
    std::vector<TPassage> passages;
    size_t covered = 0; // the end of the last passage's window
    for (const TTextMatch& m : matches) {
        if (passages.size() >= rules.MaxPassages)
            break;
        if (!passages.empty() && m.pos < covered)
            continue;
        const auto window = WindowAround(text, m, rules.Width, covered);
        passages.push_back(MakePassage(text, window, matches));
        covered = window.second;
    }
    return passages;
}

std::vector<TPassage> PagePassages(std::string_view raw, int codePage, bool markup,
    const std::vector<std::string>& searchStrings, const TPassageRules& rules)
{
    // Most pages show their words early: the start of the bytes is tried first,
    // and taken when it gives every passage, the last one whole.
    constexpr size_t Start = 8192;
    if (raw.size() > 2 * Start) {
        std::vector<TPassage> early
            = FindPassages(VisibleText(raw.substr(0, Start), codePage, markup), searchStrings, rules);
        if (early.size() >= rules.MaxPassages && early.back().Text.ends_with(" ..."))
            return early;
    }
    return FindPassages(VisibleText(raw, codePage, markup), searchStrings, rules);
}
