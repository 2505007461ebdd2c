#include "html/style/TAncestorFilter.h"

#include <functional>

void TAncestorFilter::add(TKey kind, std::string_view name)
{
    if (name.empty())
        return;
    const uint64_t h = std::hash<std::string_view>{}(name) * 0x9E3779B97F4A7C15ull + uint64_t(kind) * 0xC2B2AE3D27D4EB4Full;
    // Two bits of the 256 per key.
    for (uint64_t bit : {h >> 56, (h >> 40) & 0xFF})
        FBits[size_t(bit >> 6)] |= uint64_t(1) << (bit & 63);
}

void TAncestorFilter::addClasses(std::string_view classes)
{
    add(TKey::Class, classes);
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
    size_t i = 0;
    while (i < classes.size()) {
        while (i < classes.size() && space(classes[i]))
            ++i;
        size_t end = i;
        while (end < classes.size() && !space(classes[end]))
            ++end;
        add(TKey::Class, classes.substr(i, end - i));
        i = end;
    }
}

void TAncestorFilter::addAll(const TAncestorFilter& other)
{
    for (size_t i = 0; i < FBits.size(); ++i)
        FBits[i] |= other.FBits[i];
}

bool TAncestorFilter::mayHold(const TAncestorFilter& required) const
{
    for (size_t i = 0; i < FBits.size(); ++i)
        if ((FBits[i] & required.FBits[i]) != required.FBits[i])
            return false;
    return true;
}
