#include "html/build/FlexStyleOf.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "html/layout/LayoutTypes.h"
#include "html/style/TProperties.h"

namespace {

std::string LowerValue(const TProperties& props, int index)
{
    const std::string* text = AsText(props[index]);
    return text ? LowerCase(Trim(*text)) : std::string();
}

// A factor within [0, MaxFlexFactor]; anything unreadable (NaN, words) is dropped.
std::optional<double> FactorOf(const std::string& text)
{
    double v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v) || v < 0)
        return std::nullopt;
    return std::min(v, MaxFlexFactor);
}

std::optional<TBoxDisplay> DisplayOf(const std::string& value)
{
    if (value == "flex" || value == "inline-flex")
        return TBoxDisplay::Flex;
    if (value == "grid" || value == "inline-grid")
        return TBoxDisplay::Grid;
    return std::nullopt;
}

std::optional<TFlexAlign> AlignOf(const std::string& value)
{
    if (value == "stretch" || value == "normal")
        return TFlexAlign::Stretch;
    if (value == "center")
        return TFlexAlign::Center;
    if (value == "flex-end" || value == "end" || value == "self-end")
        return TFlexAlign::End;
    if (value == "flex-start" || value == "start" || value == "self-start" || value.ends_with("baseline"))
        return TFlexAlign::Start;
    if (value == "auto")
        return TFlexAlign::Auto;
    return std::nullopt;
}

std::optional<TFlexJustify> JustifyOf(const std::string& value)
{
    if (value == "flex-start" || value == "start" || value == "left" || value == "normal" || value == "stretch")
        return TFlexJustify::Start;
    if (value == "flex-end" || value == "end" || value == "right")
        return TFlexJustify::End;
    if (value == "center")
        return TFlexJustify::Center;
    if (value == "space-between")
        return TFlexJustify::SpaceBetween;
    if (value == "space-around")
        return TFlexJustify::SpaceAround;
    if (value == "space-evenly")
        return TFlexJustify::SpaceEvenly;
    return std::nullopt;
}

std::optional<TFlexLines> LinesOf(const std::string& value)
{
    if (value == "normal" || value == "stretch")
        return TFlexLines::Stretch;
    if (auto j = JustifyOf(value))
        return TFlexLines(int(*j) + 1);
    return std::nullopt;
}

// Gaps in pixels; percentages have no base here and count as 0.
int GapOf(const std::string& value, int em, int ex)
{
    if (value.empty() || value == "normal" || Contains(value, "%"))
        return 0;
    return std::clamp(LengthToPixels(value, 0, 0, em, ex), 0, 100000);
}

void ReadContainer(const TProperties& props, TFlexStyle& s)
{
    const std::string direction = LowerValue(props, piFlexDirection);
    s.column = direction.starts_with("column");
    s.reverse = direction.ends_with("-reverse");
    const std::string wrap = LowerValue(props, piFlexWrap);
    s.wrap = wrap == "wrap" || wrap == "wrap-reverse";
    if (auto j = JustifyOf(LowerValue(props, piJustifyContent)))
        s.justify = *j;
    if (auto a = AlignOf(LowerValue(props, piAlignItems)); a && *a != TFlexAlign::Auto)
        s.alignItems = *a;
    if (auto l = LinesOf(LowerValue(props, piAlignContent)))
        s.alignContent = *l;
    s.rowGap = GapOf(LowerValue(props, piRowGap), props.emSize(), props.exSize());
    s.columnGap = GapOf(LowerValue(props, piColumnGap), props.emSize(), props.exSize());
    if (s.display == TBoxDisplay::Grid)
        ReadGridColumns(LowerValue(props, piGridTemplateColumns), props.emSize(), props.exSize(), s);
}

void ReadItem(const TProperties& props, TFlexStyle& s)
{
    if (auto g = FactorOf(LowerValue(props, piFlexGrow)))
        s.grow = *g;
    if (auto k = FactorOf(LowerValue(props, piFlexShrink)))
        s.shrink = *k;
    const std::string basis = LowerValue(props, piFlexBasis);
    if (basis == "content") {
        s.basisKind = TFlexBasisKind::Content;
    } else if (!basis.empty() && basis != "auto") {
        if (basis.ends_with("%")) {
            s.basisKind = TFlexBasisKind::Percent;
            s.basis = FactorOf(basis.substr(0, basis.size() - 1)).value_or(0);
        } else {
            s.basisKind = TFlexBasisKind::Pixels;
            s.basis = std::max(0, LengthToPixels(basis, 0, 0, props.emSize(), props.exSize()));
        }
    }
    const std::string order = LowerValue(props, piOrder);
    if (!order.empty()) {
        long long v = 0;
        auto [ptr, ec] = std::from_chars(order.data(), order.data() + order.size(), v);
        if (ec == std::errc::result_out_of_range)
            v = order.starts_with("-") ? -MaxFlexOrder : MaxFlexOrder;
        else if (ec != std::errc())
            v = 0;
        (void)ptr;
        s.order = int(std::clamp<long long>(v, -MaxFlexOrder, MaxFlexOrder));
    }
    if (auto a = AlignOf(LowerValue(props, piAlignSelf)))
        s.alignSelf = *a;
}

bool GivesAny(const TProperties& props)
{
    for (int i = piFlexDirection; i <= piGridTemplateColumns; ++i)
        if (!IsEmpty(props[i]))
            return true;
    return false;
}

// ---------------------------------------------------------------- grid tracks

// The words of a track list; a function call with its parentheses stays one word.
std::vector<std::string> TrackWords(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    int depth = 0;
    for (char c : text) {
        if (c == '(')
            ++depth;
        else if (c == ')')
            depth = std::max(0, depth - 1);
        if ((c == ' ' || c == ',') && depth == 0) {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

std::string_view Inside(std::string_view call)
{
    size_t open = call.find('(');
    size_t close = call.rfind(')');
    if (open == std::string_view::npos)
        return {};
    if (close == std::string_view::npos || close < open)
        close = call.size();
    return call.substr(open + 1, close - open - 1);
}

std::optional<TGridTrack> TrackOf(std::string_view word, int em, int ex)
{
    TGridTrack t;
    if (word == "auto" || word == "min-content" || word == "max-content" || word.starts_with("fit-content"))
        return t;
    if (word.starts_with("minmax(")) {
        std::vector<std::string> parts = TrackWords(Inside(word));
        if (parts.size() != 2)
            return std::nullopt;
        auto low = TrackOf(parts[0], em, ex);
        auto high = TrackOf(parts[1], em, ex);
        if (!high)
            return std::nullopt;
        t = *high;
        if (low && low->kind == TGridTrackKind::Pixels)
            t.minPixels = int(low->value);
        return t;
    }
    if (word.ends_with("fr")) {
        auto v = FactorOf(std::string(word.substr(0, word.size() - 2)));
        if (!v)
            return std::nullopt;
        t.kind = TGridTrackKind::Fraction;
        t.value = *v;
        return t;
    }
    if (word.ends_with("%")) {
        auto v = FactorOf(std::string(word.substr(0, word.size() - 1)));
        if (!v)
            return std::nullopt;
        t.kind = TGridTrackKind::Percent;
        t.value = std::min(*v, 100.0);
        return t;
    }
    if (!IsUsableDeclaration(piWidth, word) || word == "auto")
        return std::nullopt;
    t.kind = TGridTrackKind::Pixels;
    t.value = std::clamp(LengthToPixels(word, 0, 0, em, ex), 0, MaxBoxPixels);
    return t;
}

} // namespace

bool ReadGridColumns(std::string_view text, int emSize, int exSize, TFlexStyle& style)
{
    std::vector<TGridTrack> tracks;
    for (const std::string& word : TrackWords(text)) {
        if (word.starts_with("[")) // line names
            continue;
        if (word.starts_with("repeat(")) {
            std::vector<std::string> parts = TrackWords(Inside(word));
            if (parts.size() < 2)
                return false;
            std::vector<TGridTrack> unit;
            for (size_t i = 1; i < parts.size(); ++i)
                if (auto t = TrackOf(parts[i], emSize, exSize))
                    unit.push_back(*t);
            if (unit.empty())
                return false;
            if (parts[0] == "auto-fill" || parts[0] == "auto-fit") {
                style.autoRepeat = true;
                style.repeatTrack = unit[0];
                continue;
            }
            int count = 0;
            std::from_chars(parts[0].data(), parts[0].data() + parts[0].size(), count);
            count = std::clamp(count, 0, MaxGridTracks);
            for (int i = 0; i < count && tracks.size() < size_t(MaxGridTracks); ++i)
                tracks.insert(tracks.end(), unit.begin(), unit.end());
            continue;
        }
        auto t = TrackOf(word, emSize, exSize);
        if (!t)
            return false;
        tracks.push_back(*t);
    }
    if (tracks.size() > size_t(MaxGridTracks))
        tracks.resize(size_t(MaxGridTracks));
    style.columns = std::move(tracks);
    return !style.columns.empty() || style.autoRepeat;
}

std::shared_ptr<const TFlexStyle> FlexStyleOf(const TProperties& props)
{
    std::optional<TBoxDisplay> display;
    // Only the element's own display counts: the copy a SPAN hands its
    // children does not make them containers.
    if (props.isSetHere(piDisplay))
        display = DisplayOf(LowerValue(props, piDisplay));
    if (!display && !GivesAny(props))
        return nullptr;
    auto s = std::make_shared<TFlexStyle>();
    if (display) {
        s->display = *display;
        ReadContainer(props, *s);
    }
    ReadItem(props, *s);
    if (!s->IsContainer() && *s == TFlexStyle{})
        return nullptr;
    return s;
}
