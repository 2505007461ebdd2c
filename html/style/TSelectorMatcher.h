#pragma once
// Matches selectors against an element being pushed: the element itself,
// its open ancestors (the property sets below it) and the siblings that
// came before it (the records of the open elements).
#include <cstddef>
#include <string_view>

#include "html/style/TProperties.h"
#include "html/style/TSelector.h"

class TSelectorMatcher {
public:
    // below: the sets of the element's open ancestors, the document's base
    // set first. facts: the element's own (may be null).
    TSelectorMatcher(TPropertySpan below, const TElementFacts* facts, std::string_view tag, std::string_view cls,
                     std::string_view id, std::string_view pseudo)
        : FBelow(below), FElement{tag, cls, id, pseudo, facts, below.empty() ? 0 : below.size() - 1}
    {
    }

    bool matches(const TSelector& selector) const;
    const TElementFacts* facts() const { return FElement.facts; }

private:
    // An element the selector is tested on: the one pushed, an ancestor or
    // an earlier sibling of either.
    struct TSubject {
        std::string_view tag;
        std::string_view cls;
        std::string_view id;
        std::string_view pseudo;
        const TElementFacts* facts;
        size_t parentLevel; // index of the parent's set in below; 0 is the base set
    };
    bool matchFrom(const TSelector& selector, size_t index, const TSubject& subject, int& budget) const;
    bool compoundMatches(const TCompoundSelector& compound, const TSubject& subject) const;
    bool pseudoMatches(const TPseudoTest& test, const TSubject& subject) const;
    TSubject ancestor(size_t level) const;
    // The earlier sibling that many places back, or null.
    const TElementFacts* earlierSibling(const TSubject& subject, int back) const;
    static TSubject siblingSubject(const TElementFacts& facts, size_t parentLevel);

    TPropertySpan FBelow;
    TSubject FElement;
};
