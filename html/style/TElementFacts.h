#pragma once
// What selectors beyond tag, class, ID and link state read of an element:
// its attributes and its place among its siblings. Made only while the
// document's sheets hold such selectors.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TElementFacts {
    std::string tag;
    std::string cls;
    std::string id;
    // Names lower case, values as written.
    std::vector<std::pair<std::string, std::string>> attributes;
    // 1-based place among the element siblings, and among those of its tag;
    // 0 when unknown.
    int childIndex = 0;
    int typeIndex = 0;

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
    std::vector<std::shared_ptr<const TElementFacts>> children;
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
};
