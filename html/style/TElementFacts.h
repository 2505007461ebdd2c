#pragma once
// What selectors beyond tag, class, ID and link state read of an element:
// its attributes and its place among its siblings. Made only while the
// document's sheets hold such selectors.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What comes after an element among its siblings, and whether it has any
// content; -1 while the builder has not read that far.
struct TLaterFacts {
    int siblingsAfter = -1;
    int typeSiblingsAfter = -1;
    int8_t empty = -1;
};

struct TElementFacts {
    // Which of the later facts a selector asked for while they were unknown.
    enum TAsked : uint8_t { AskedLast = 1, AskedLastOfType = 2, AskedNthLast = 4, AskedEmpty = 8 };

    std::string tag;
    std::string cls;
    std::string id;
    // Names lower case, values as written.
    std::vector<std::pair<std::string, std::string>> attributes;
    // 1-based place among the element siblings, and among those of its tag;
    // 0 when unknown.
    int childIndex = 0;
    int typeIndex = 0;
    // Where the start tag stands in the source; -1 for elements the builder
    // makes up.
    int32_t sourcePos = -1;
    TLaterFacts later;
    mutable uint8_t asked = 0;

    const std::string* attribute(std::string_view name) const
    {
        for (const auto& [n, v] : attributes)
            if (n == name)
                return &v;
        return nullptr;
    }
};

// The children an open element has had so far, in order: the earlier
// siblings that "+", "~" and the position pseudo-classes look back on.
struct TChildRecord {
    std::vector<std::shared_ptr<TElementFacts>> children;
    std::vector<std::pair<std::string, int>> tagCounts;
    // Records a child: its place among the children and among those of its tag.
    void add(const std::shared_ptr<TElementFacts>& child)
    {
        child->childIndex = int(children.size()) + 1;
        child->typeIndex = 1;
        bool counted = false;
        for (auto& [tag, count] : tagCounts)
            if (tag == child->tag) {
                child->typeIndex = ++count;
                counted = true;
            }
        if (!counted)
            tagCounts.emplace_back(child->tag, 1);
        children.push_back(child);
    }
    // The children of the tag so far.
    int countOf(const std::string& tag) const
    {
        for (const auto& [name, count] : tagCounts)
            if (name == tag)
                return count;
        return 0;
    }
    // Takes back the newest child, recorded for an element the builder
    // opened only to look at its style.
    void removeNewest()
    {
        if (children.empty())
            return;
        for (auto& [tag, count] : tagCounts)
            if (tag == children.back()->tag)
                --count;
        children.pop_back();
    }
};
