#include "html/style/ValueFunctions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "html/style/StyleValues.h"

namespace {

// Nesting deeper than this is no sheet's: it is not read.
constexpr int MaxNesting = 32;
// A value substituted into more than this is dropped.
constexpr size_t MaxSubstitutedLength = 16384;

struct TCalcValue {
    double value = 0;
    bool plainNumber = false;
};

class TCalcReader {
public:
    TCalcReader(std::string_view text, const TCalcUnit& toValue) : FText(text), FToValue(toValue) {}

    std::optional<TCalcValue> readSum(int depth)
    {
        auto left = readProduct(depth);
        while (left) {
            skipSpaces();
            const char op = peek();
            if (op != '+' && op != '-')
                return left;
            ++FPos;
            auto right = readProduct(depth);
            if (!right || right->plainNumber != left->plainNumber)
                return std::nullopt;
            left->value += op == '+' ? right->value : -right->value;
        }
        return left;
    }

    bool atEnd()
    {
        skipSpaces();
        return FPos >= FText.size();
    }

private:
    char peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }
    void skipSpaces()
    {
        while (FPos < FText.size() && (FText[FPos] == ' ' || FText[FPos] == '\t'))
            ++FPos;
    }

    std::optional<TCalcValue> readProduct(int depth)
    {
        auto left = readTerm(depth);
        while (left) {
            skipSpaces();
            const char op = peek();
            if (op != '*' && op != '/')
                return left;
            ++FPos;
            auto right = readTerm(depth);
            if (!right || (op == '/' && (!right->plainNumber || right->value == 0)) ||
                (op == '*' && !left->plainNumber && !right->plainNumber))
                return std::nullopt;
            left->value = op == '*' ? left->value * right->value : left->value / right->value;
            left->plainNumber = left->plainNumber && right->plainNumber;
        }
        return left;
    }

    std::optional<TCalcValue> readTerm(int depth)
    {
        skipSpaces();
        if (depth > MaxNesting)
            return std::nullopt;
        if (FText.substr(FPos, 5) == "calc(")
            FPos += 4;
        if (peek() == '(') {
            ++FPos;
            auto inner = readSum(depth + 1);
            skipSpaces();
            if (!inner || peek() != ')')
                return std::nullopt;
            ++FPos;
            return inner;
        }
        const size_t start = FPos;
        if (peek() == '-' || peek() == '+')
            ++FPos;
        while (std::isdigit(static_cast<unsigned char>(peek())) || peek() == '.')
            ++FPos;
        if (FPos == start || (FPos == start + 1 && !std::isdigit(static_cast<unsigned char>(FText[start]))))
            return std::nullopt;
        const double number = std::strtod(std::string(FText.substr(start, FPos - start)).c_str(), nullptr);
        const size_t unitStart = FPos;
        while (std::isalpha(static_cast<unsigned char>(peek())) || peek() == '%')
            ++FPos;
        const std::string_view unit = FText.substr(unitStart, FPos - unitStart);
        if (unit.empty())
            return TCalcValue{number, true};
        auto converted = FToValue(number, unit);
        if (!converted || !std::isfinite(*converted))
            return std::nullopt;
        return TCalcValue{*converted, false};
    }

    std::string_view FText;
    const TCalcUnit& FToValue;
    size_t FPos = 0;
};

} // namespace

std::optional<double> EvaluateCalc(std::string_view text, const TCalcUnit& toValue)
{
    text = Trim(text);
    if (!text.starts_with("calc("))
        return std::nullopt;
    TCalcReader reader(text, toValue);
    auto result = reader.readSum(0);
    if (!result || !reader.atEnd() || !std::isfinite(result->value))
        return std::nullopt;
    return result->value;
}

bool IsCalcOf(std::string_view text, std::initializer_list<std::string_view> units)
{
    return EvaluateCalc(text, [&units](double number, std::string_view unit) -> std::optional<double> {
               for (std::string_view known : units)
                   if (unit == known)
                       return number;
               return std::nullopt;
           }).has_value();
}

namespace {

const std::string* Lookup(const TCustomProperties& properties, std::string_view name)
{
    auto found = properties.find(std::string(name));
    return found == properties.end() ? nullptr : &found->second;
}

// The end of a var( ... ) whose "(" is at open: the matching ")".
size_t MatchingParenthesis(std::string_view text, size_t open)
{
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && --depth == 0)
            return i;
    }
    return std::string_view::npos;
}

std::optional<std::string> Substitute(std::string_view text, const TCustomProperties& properties, int depth)
{
    if (depth > MaxNesting)
        return std::nullopt;
    std::string out;
    size_t pos = 0;
    for (size_t at; (at = text.find("var(", pos)) != std::string_view::npos;) {
        const size_t close = MatchingParenthesis(text, at + 3);
        if (close == std::string_view::npos)
            return std::nullopt;
        out.append(text.substr(pos, at - pos));
        std::string_view inside = text.substr(at + 4, close - at - 4);
        const size_t comma = inside.find(',');
        const std::string_view name = Trim(inside.substr(0, comma));
        if (const std::string* value = Lookup(properties, name)) {
            out += *value;
        } else if (comma != std::string_view::npos) {
            auto fallback = Substitute(Trim(inside.substr(comma + 1)), properties, depth + 1);
            if (!fallback)
                return std::nullopt;
            out += *fallback;
        } else {
            return std::nullopt;
        }
        if (out.size() > MaxSubstitutedLength)
            return std::nullopt;
        pos = close + 1;
    }
    out.append(text.substr(pos));
    return out;
}

} // namespace

std::optional<std::string> SubstituteVariables(std::string_view text, const TCustomProperties& properties)
{
    return Substitute(text, properties, 0);
}

TCustomProperties ResolveCustomProperties(const TCustomProperties* inherited, const TDeclarationList& declared)
{
    TCustomProperties result = inherited ? *inherited : TCustomProperties();
    // The last declaration of a name wins; the inherited value is gone
    // whether or not the declaration can be resolved.
    TCustomProperties pending;
    for (const auto& [name, value] : declared) {
        result.erase(name);
        pending[name] = value;
    }
    for (auto it = pending.begin(); it != pending.end();) {
        if (it->second.find("var(") == std::string::npos) {
            result[it->first] = it->second;
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    // Each pass resolves the references to what is known: a chain resolves
    // one link per pass, a loop never; both stop at the nesting limit.
    for (int pass = 0; pass < MaxNesting && !pending.empty(); ++pass) {
        bool progress = false;
        for (auto it = pending.begin(); it != pending.end();) {
            auto substituted = Substitute(it->second, result, 0);
            if (substituted) {
                result[it->first] = std::move(*substituted);
                it = pending.erase(it);
                progress = true;
            } else {
                ++it;
            }
        }
        if (!progress)
            break;
    }
    return result;
}
