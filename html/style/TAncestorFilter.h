#pragma once
// A small Bloom filter of the tags, classes and IDs of an element's
// ancestors. A descendant rule keeps the filter of what its ancestor
// selectors name; when the element's filter lacks any of it, no ancestor
// chain can match and the stack is not walked. A filter may answer "maybe"
// for a chain that does not match (the full match decides), never "no" for
// one that does.
#include <array>
#include <cstdint>
#include <string_view>

class TAncestorFilter {
public:
    enum class TKey : uint8_t { Tag, Class, ID };
    void add(TKey kind, std::string_view name);
    // A class attribute: the whole value and each space-separated name.
    void addClasses(std::string_view classes);
    void addAll(const TAncestorFilter& other);
    // Every key of required may be in this filter.
    bool mayHold(const TAncestorFilter& required) const;

private:
    std::array<uint64_t, 4> FBits{};
};
