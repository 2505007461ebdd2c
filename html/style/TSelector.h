#pragma once
// A selector as today's sheets write them: compound selectors (tag or "*",
// classes, ID, attribute tests, pseudo-classes) joined by the descendant,
// child ">", adjacent "+" and general "~" sibling combinators.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/style/TAncestorFilter.h"

enum class TCombinator : uint8_t { None, Descendant, Child, Adjacent, Sibling };
enum class TAttributeOp : uint8_t { Exists, Equals, Word, DashPrefix, Prefix, Suffix, Contains };

struct TAttributeTest {
    std::string name;
    TAttributeOp op = TAttributeOp::Exists;
    std::string value;
};

enum class TPseudoClass : uint8_t {
    FirstChild, NthChild, FirstOfType, NthOfType, Root, Link, Visited, Hover, Not,
    // These read what comes after the element: its later siblings, its content.
    LastChild, OnlyChild, NthLastChild, LastOfType, OnlyOfType, NthLastOfType, Empty,
};

// Whether the test needs the element's later siblings or content.
bool ReadsLaterSiblings(TPseudoClass kind);

struct TCompoundSelector;

struct TPseudoTest {
    TPseudoClass kind = TPseudoClass::FirstChild;
    // an+b of the :nth- forms.
    long a = 0;
    long b = 1;
    std::shared_ptr<const TCompoundSelector> negated; // :not()
};

struct TCompoundSelector {
    std::string tag; // empty: any
    std::vector<std::string> classes;
    std::string id;
    std::vector<TAttributeTest> attributes;
    std::vector<TPseudoTest> pseudos;
    // How this compound relates to the one before it (None for the first).
    TCombinator combinator = TCombinator::None;
};

class TSelector {
public:
    // Parses one selector (lower case, no comma); nothing when it uses what
    // cannot be matched here (pseudo-elements, :hover on non-links, :has).
    static std::optional<TSelector> parse(std::string_view text);

    const std::vector<TCompoundSelector>& compounds() const { return FCompounds; }
    const TCompoundSelector& subject() const { return FCompounds.back(); }
    // IDs, then classes, attributes and pseudo-classes, then tags, each in
    // ten bits: a larger number wins.
    uint32_t specificity() const { return FSpecificity; }
    // The keys of the compounds that must be ancestors of the element.
    const TAncestorFilter& ancestorKeys() const { return FAncestorKeys; }
    // Reads attributes or the element's place among its siblings.
    bool needsFacts() const { return FNeedsFacts; }
    // Two elements the simple keys cannot tell apart may differ for it.
    bool tellsSiblingsApart() const { return FNeedsFacts; }
    // Reads the siblings after the element or its content (:last-child,
    // :empty...), which the builder only knows in a second reading.
    bool needsLaterSiblings() const { return FNeedsLater; }

private:
    std::vector<TCompoundSelector> FCompounds;
    uint32_t FSpecificity = 0;
    TAncestorFilter FAncestorKeys;
    bool FNeedsFacts = false;
    bool FNeedsLater = false;
};

// The specificity of a style list key of the simple kinds ("p.note",
// "#top", "a:link", a descendant key).
uint32_t SpecificityOfKey(std::string_view key);
