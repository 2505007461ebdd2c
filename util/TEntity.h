#pragma once
// The named character references the reader understands.
#include <optional>
#include <span>
#include <string_view>

struct TEntity {
    std::string_view Name;
    char16_t Value;
};

inline constexpr size_t EntityCount = 252;

// The character of a reference name, compared case-sensitively ("Eacute" and
// "eacute" differ; "EACUTE" is unknown).
std::optional<char16_t> LookupEntity(std::string_view name);
// The whole table, sorted by name.
std::span<const TEntity> Entities();
