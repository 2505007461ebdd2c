#pragma once
// The shorthands of flexible boxes and grids: flex, flex-flow and gap (with
// its older name grid-gap), expanded into the properties they stand for.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TExpandedDeclarations = std::vector<std::pair<std::string, std::string>>;

// Appends the properties of the shorthand name: value to out; false (and
// nothing appended) when name is not one of these shorthands.
bool ExpandFlexShorthand(std::string_view name, std::string_view value, TExpandedDeclarations& out);
