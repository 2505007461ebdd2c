#pragma once
// The CSS functions a declaration's value may hold beyond url() and rgb():
// calc() over lengths, percentages and numbers, and var() references to
// custom properties.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// A number with its unit ("12", "px") in the value the caller wants
// (pixels, points); nothing for a unit it cannot use.
using TCalcUnit = std::function<std::optional<double>(double number, std::string_view unit)>;

// The value of a calc() text (the whole value, "calc(100% - 2em)"), or
// nothing when it is not one or cannot be read. Terms with units are
// converted by toValue; a product or quotient needs a plain number on one
// side (the divisor always).
std::optional<double> EvaluateCalc(std::string_view text, const TCalcUnit& toValue);
// Whether the value holds a calc() that can be read with these units.
bool IsCalcOf(std::string_view text, std::initializer_list<std::string_view> units);

// Custom properties an element has: name ("--x") and its value, with every
// var() in it already replaced.
using TCustomProperties = std::unordered_map<std::string, std::string>;

// The text with every var(--name, fallback) replaced from the properties;
// nothing when a name is missing without a fallback, or the result grows
// beyond reason (references that multiply each other).
std::optional<std::string> SubstituteVariables(std::string_view text, const TCustomProperties& properties);

// An element's custom properties: the inherited ones with the element's own
// declarations (name, value, in cascade order) over them. A declaration whose
// var() references cannot be resolved (missing, a loop, a chain too long)
// leaves its property out.
using TDeclarationList = std::vector<std::pair<std::string, std::string>>;
TCustomProperties ResolveCustomProperties(const TCustomProperties* inherited, const TDeclarationList& declared);
