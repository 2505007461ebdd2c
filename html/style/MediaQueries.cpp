#include "html/style/MediaQueries.h"

#include <cmath>
#include <string>
#include <vector>

#include "html/style/StyleValues.h"

namespace {

// Splits at commas outside parentheses.
std::vector<std::string_view> SplitTopLevel(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && depth > 0)
            --depth;
        else if (text[i] == separator && depth == 0) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

// A length of a query in pixels; NaN when it is not one.
double QueryLength(std::string_view text, const TMediaContext& context)
{
    text = Trim(text);
    size_t used = 0;
    while (used < text.size() && (std::isdigit(static_cast<unsigned char>(text[used])) || text[used] == '.' ||
                                  (used == 0 && (text[used] == '-' || text[used] == '+'))))
        ++used;
    if (used == 0)
        return NAN;
    double value = std::strtod(std::string(text.substr(0, used)).c_str(), nullptr);
    const std::string unit = LowerCase(Trim(text.substr(used)));
    if (unit == "px" || (unit.empty() && value == 0))
        return value;
    if (unit == "em" || unit == "rem")
        return value * context.emPixels;
    if (unit == "pt")
        return value * 96 / 72;
    if (unit == "in")
        return value * 96;
    if (unit == "cm")
        return value * 96 / 2.54;
    if (unit == "mm")
        return value * 96 / 25.4;
    return NAN;
}

enum class TCompare : uint8_t { Less, LessOrEqual, Equal, GreaterOrEqual, Greater };

bool Compare(double actual, TCompare op, double limit)
{
    switch (op) {
    case TCompare::Less: return actual < limit;
    case TCompare::LessOrEqual: return actual <= limit;
    case TCompare::Equal: return actual == limit;
    case TCompare::GreaterOrEqual: return actual >= limit;
    case TCompare::Greater: return actual > limit;
    }
    return false;
}

struct TFeatureResult {
    bool known = false;
    bool holds = false;
    bool widthDependent = false;
};

// "min-width: 40em", "orientation: landscape", "prefers-color-scheme: light".
TFeatureResult PlainFeature(std::string_view name, std::string_view value, const TMediaContext& context)
{
    TFeatureResult r;
    r.known = true;
    const std::string v = LowerCase(Trim(value));
    auto dimension = [&](double actual, TCompare op) {
        double limit = QueryLength(v, context);
        r.known = !std::isnan(limit);
        r.holds = r.known && Compare(actual, op, limit);
    };
    if (name == "width" || name == "min-width" || name == "max-width") {
        r.widthDependent = true;
        dimension(context.width, name == "width" ? TCompare::Equal
                                 : name == "min-width" ? TCompare::GreaterOrEqual : TCompare::LessOrEqual);
    } else if (name == "device-width" || name == "min-device-width" || name == "max-device-width") {
        r.widthDependent = true;
        dimension(context.width, name == "device-width" ? TCompare::Equal
                                 : name == "min-device-width" ? TCompare::GreaterOrEqual : TCompare::LessOrEqual);
    } else if (name == "height" || name == "min-height" || name == "max-height") {
        dimension(context.height, name == "height" ? TCompare::Equal
                                  : name == "min-height" ? TCompare::GreaterOrEqual : TCompare::LessOrEqual);
    } else if (name == "orientation") {
        r.widthDependent = true;
        const bool portrait = context.height >= context.width;
        r.known = v == "portrait" || v == "landscape";
        r.holds = (v == "portrait") == portrait;
    } else if (name == "prefers-color-scheme") {
        r.known = v == "light" || v == "dark";
        r.holds = v == "light";
    } else if (name == "prefers-reduced-motion" || name == "prefers-contrast") {
        r.holds = v == "no-preference";
    } else if (name == "color" || name == "min-color") {
        r.holds = !context.print || v.empty();
    } else {
        r.known = false;
    }
    return r;
}

// "(width >= 600px)" and "(600px <= width)": the range form.
TFeatureResult RangeFeature(std::string_view text, const TMediaContext& context)
{
    static constexpr std::pair<std::string_view, TCompare> Operators[] = {
        {">=", TCompare::GreaterOrEqual}, {"<=", TCompare::LessOrEqual}, {">", TCompare::Greater},
        {"<", TCompare::Less}, {"=", TCompare::Equal},
    };
    for (const auto& [symbol, op] : Operators) {
        size_t at = text.find(symbol);
        if (at == std::string_view::npos)
            continue;
        std::string left = LowerCase(Trim(text.substr(0, at)));
        std::string right = LowerCase(Trim(text.substr(at + symbol.size())));
        TCompare compare = op;
        if (left != "width" && left != "height") {
            // The value first: turn the comparison round.
            std::swap(left, right);
            compare = op == TCompare::Less ? TCompare::Greater
                    : op == TCompare::Greater ? TCompare::Less
                    : op == TCompare::LessOrEqual ? TCompare::GreaterOrEqual
                    : op == TCompare::GreaterOrEqual ? TCompare::LessOrEqual : op;
        }
        TFeatureResult r;
        if (left != "width" && left != "height")
            return r;
        double limit = QueryLength(right, context);
        r.known = !std::isnan(limit);
        r.widthDependent = left == "width";
        r.holds = r.known && Compare(left == "width" ? context.width : context.height, compare, limit);
        return r;
    }
    return {};
}

TFeatureResult Feature(std::string_view text, const TMediaContext& context)
{
    text = Trim(text);
    if (text.size() < 2 || text.front() != '(' || text.back() != ')')
        return {};
    text = Trim(text.substr(1, text.size() - 2));
    if (text.find_first_of("<>=") != std::string_view::npos)
        return RangeFeature(text, context);
    size_t colon = text.find(':');
    const std::string name = LowerCase(Trim(text.substr(0, colon)));
    if (colon == std::string_view::npos) {
        // A bare feature ("(color)") holds when it is not zero.
        TFeatureResult r = PlainFeature(name, {}, context);
        r.holds = r.known && (name == "color" || name == "width" || name == "height");
        return r;
    }
    return PlainFeature(name, text.substr(colon + 1), context);
}

bool MediaTypeApplies(std::string_view type, const TMediaContext& context)
{
    if (type == "all")
        return true;
    if (type == "screen")
        return !context.print;
    if (type == "print")
        return context.print;
    return false;
}

// Words of a query, each parenthesised feature one word.
std::vector<std::string_view> QueryWords(std::string_view query)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < query.size()) {
        if (query[i] == ' ') {
            ++i;
            continue;
        }
        size_t start = i;
        if (query[i] == '(') {
            int depth = 0;
            for (; i < query.size(); ++i) {
                if (query[i] == '(')
                    ++depth;
                else if (query[i] == ')' && --depth == 0) {
                    ++i;
                    break;
                }
            }
        } else {
            while (i < query.size() && query[i] != ' ' && query[i] != '(')
                ++i;
        }
        words.push_back(query.substr(start, i - start));
    }
    return words;
}

TMediaVerdict EvaluateQuery(std::string_view query, const TMediaContext& context)
{
    TMediaVerdict verdict;
    std::vector<std::string_view> words = QueryWords(query);
    if (words.empty())
        return verdict;
    size_t i = 0;
    bool negated = false;
    const std::string first = LowerCase(words[0]);
    if (first == "not" || first == "only") {
        negated = first == "not";
        ++i;
    }
    bool holds = true;
    bool expectCondition = false;
    for (; i < words.size(); ++i) {
        const std::string word = LowerCase(words[i]);
        if (word.starts_with("(")) {
            TFeatureResult f = Feature(words[i], context);
            verdict.widthDependent = verdict.widthDependent || f.widthDependent;
            if (!f.known)
                return {false, verdict.widthDependent}; // a query we cannot read applies nowhere
            holds = holds && f.holds;
            expectCondition = false;
        } else if (word == "and") {
            expectCondition = true;
        } else if (i == (negated || first == "only" ? 1u : 0u)) {
            holds = MediaTypeApplies(word, context);
        } else {
            return {false, verdict.widthDependent};
        }
    }
    if (expectCondition)
        return {false, verdict.widthDependent};
    verdict.applies = negated ? !holds : holds;
    return verdict;
}

} // namespace

TMediaVerdict EvaluateMediaList(std::string_view list, const TMediaContext& context)
{
    TMediaVerdict verdict;
    list = Trim(list);
    if (list.empty()) {
        verdict.applies = true;
        return verdict;
    }
    for (std::string_view query : SplitTopLevel(list, ',')) {
        TMediaVerdict one = EvaluateQuery(Trim(query), context);
        verdict.applies = verdict.applies || one.applies;
        verdict.widthDependent = verdict.widthDependent || one.widthDependent;
    }
    return verdict;
}
