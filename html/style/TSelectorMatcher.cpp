#include "html/style/TSelectorMatcher.h"

#include "html/style/TElementFacts.h"
#include "html/style/TStyleList.h"

namespace {

// Steps a match may take: descendant and sibling combinators try many
// elements each, and a crafted selector over a deep page must stay cheap.
constexpr int MatchBudget = 20000;
// "~" looks back this far among the earlier siblings.
constexpr int MaxSiblingsBack = 2000;

char LowerByte(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerByte(a[i]) != LowerByte(b[i]))
            return false;
    return true;
}

bool ContainsNoCase(std::string_view text, std::string_view part)
{
    if (part.size() > text.size())
        return false;
    for (size_t i = 0; i + part.size() <= text.size(); ++i)
        if (EqualNoCase(text.substr(i, part.size()), part))
            return true;
    return false;
}

bool AttributeMatches(const TAttributeTest& test, const std::string* value)
{
    if (!value)
        return false;
    const std::string_view v = *value;
    const std::string_view want = test.value;
    switch (test.op) {
    case TAttributeOp::Exists: return true;
    case TAttributeOp::Equals: return EqualNoCase(v, want);
    case TAttributeOp::Word: {
        if (want.empty() || want.find(' ') != std::string_view::npos)
            return false;
        size_t i = 0;
        while (i < v.size()) {
            while (i < v.size() && (v[i] == ' ' || v[i] == '\t' || v[i] == '\n'))
                ++i;
            size_t end = i;
            while (end < v.size() && v[end] != ' ' && v[end] != '\t' && v[end] != '\n')
                ++end;
            if (end > i && EqualNoCase(v.substr(i, end - i), want))
                return true;
            i = end;
        }
        return false;
    }
    case TAttributeOp::DashPrefix:
        return EqualNoCase(v, want) || (v.size() > want.size() && v[want.size()] == '-' &&
                                        EqualNoCase(v.substr(0, want.size()), want));
    case TAttributeOp::Prefix: return !want.empty() && v.size() >= want.size() && EqualNoCase(v.substr(0, want.size()), want);
    case TAttributeOp::Suffix:
        return !want.empty() && v.size() >= want.size() && EqualNoCase(v.substr(v.size() - want.size()), want);
    case TAttributeOp::Contains: return !want.empty() && ContainsNoCase(v, want);
    }
    return false;
}

// Whether some n >= 0 gives a*n + b == index.
bool NthMatches(long a, long b, int index)
{
    if (index <= 0)
        return false;
    const long offset = long(index) - b;
    if (a == 0)
        return offset == 0;
    return offset % a == 0 && offset / a >= 0;
}

// The element's siblings after it (of its tag, or of any), or -1 while the
// builder has not read that far: the test then fails, and the element
// remembers that it was asked.
int LaterSiblings(const TElementFacts& facts, bool ofType, uint8_t asked)
{
    const int count = ofType ? facts.later.typeSiblingsAfter : facts.later.siblingsAfter;
    if (count < 0)
        facts.asked |= asked;
    return count;
}

bool IsLast(const TElementFacts* facts, bool ofType)
{
    return facts && LaterSiblings(*facts, ofType,
                                  ofType ? TElementFacts::AskedLastOfType : TElementFacts::AskedLast) == 0;
}

bool NthLastMatches(const TPseudoTest& test, const TElementFacts* facts, bool ofType)
{
    if (!facts)
        return false;
    const int after = LaterSiblings(*facts, ofType, TElementFacts::AskedNthLast);
    return after >= 0 && NthMatches(test.a, test.b, after + 1);
}

bool IsEmpty(const TElementFacts* facts)
{
    if (!facts)
        return false;
    if (facts->later.empty < 0)
        facts->asked |= TElementFacts::AskedEmpty;
    return facts->later.empty == 1;
}

} // namespace

TSelectorMatcher::TSubject TSelectorMatcher::ancestor(size_t level) const
{
    const TProperties& set = *FBelow[level];
    return {set.tag(), set.cls(), set.id(), set.pseudo(), set.facts(), level - 1};
}

TSelectorMatcher::TSubject TSelectorMatcher::siblingSubject(const TElementFacts& facts, size_t parentLevel)
{
    return {facts.tag, facts.cls, facts.id, {}, &facts, parentLevel};
}

const TElementFacts* TSelectorMatcher::earlierSibling(const TSubject& subject, int back) const
{
    if (!subject.facts || subject.parentLevel >= FBelow.size())
        return nullptr;
    const TChildRecord* record = FBelow[subject.parentLevel]->children();
    const int index = subject.facts->childIndex - 1 - back; // 0-based place of the sibling
    if (!record || index < 0 || size_t(index) >= record->children.size())
        return nullptr;
    return record->children[size_t(index)].get();
}

bool TSelectorMatcher::pseudoMatches(const TPseudoTest& test, const TSubject& subject) const
{
    const TElementFacts* facts = subject.facts;
    switch (test.kind) {
    case TPseudoClass::FirstChild: return facts && facts->childIndex == 1;
    case TPseudoClass::FirstOfType: return facts && facts->typeIndex == 1;
    case TPseudoClass::NthChild: return facts && NthMatches(test.a, test.b, facts->childIndex);
    case TPseudoClass::NthOfType: return facts && NthMatches(test.a, test.b, facts->typeIndex);
    case TPseudoClass::Root: return subject.tag == "html" && subject.parentLevel == 0;
    case TPseudoClass::Link: return subject.pseudo == "link";
    case TPseudoClass::Visited: return subject.pseudo == "visited";
    case TPseudoClass::Hover: return subject.pseudo == "hover";
    case TPseudoClass::Not: return !compoundMatches(*test.negated, subject);
    case TPseudoClass::LastChild: return IsLast(facts, false);
    case TPseudoClass::LastOfType: return IsLast(facts, true);
    case TPseudoClass::OnlyChild: return facts && facts->childIndex == 1 && IsLast(facts, false);
    case TPseudoClass::OnlyOfType: return facts && facts->typeIndex == 1 && IsLast(facts, true);
    case TPseudoClass::NthLastChild: return NthLastMatches(test, facts, false);
    case TPseudoClass::NthLastOfType: return NthLastMatches(test, facts, true);
    case TPseudoClass::Empty: return IsEmpty(facts);
    }
    return false;
}

bool TSelectorMatcher::compoundMatches(const TCompoundSelector& compound, const TSubject& subject) const
{
    if (!compound.tag.empty() && compound.tag != subject.tag)
        return false;
    if (!compound.id.empty() && compound.id != subject.id)
        return false;
    for (const std::string& cls : compound.classes)
        if (!ClassListHas(subject.cls, cls))
            return false;
    for (const TAttributeTest& test : compound.attributes) {
        const std::string* value = subject.facts ? subject.facts->attribute(test.name) : nullptr;
        if (!AttributeMatches(test, value))
            return false;
    }
    for (const TPseudoTest& test : compound.pseudos)
        if (!pseudoMatches(test, subject))
            return false;
    return true;
}

bool TSelectorMatcher::matchFrom(const TSelector& selector, size_t index, const TSubject& subject, int& budget) const
{
    if (--budget < 0)
        return false;
    const TCompoundSelector& compound = selector.compounds()[index];
    if (!compoundMatches(compound, subject))
        return false;
    if (index == 0)
        return true;
    switch (compound.combinator) {
    case TCombinator::Child:
        return subject.parentLevel >= 1 && matchFrom(selector, index - 1, ancestor(subject.parentLevel), budget);
    case TCombinator::Descendant:
        for (size_t level = subject.parentLevel; level >= 1 && budget > 0; --level)
            if (matchFrom(selector, index - 1, ancestor(level), budget))
                return true;
        return false;
    case TCombinator::Adjacent: {
        const TElementFacts* previous = earlierSibling(subject, 1);
        return previous && matchFrom(selector, index - 1, siblingSubject(*previous, subject.parentLevel), budget);
    }
    case TCombinator::Sibling:
        for (int back = 1; back <= MaxSiblingsBack && budget > 0; ++back) {
            const TElementFacts* previous = earlierSibling(subject, back);
            if (!previous)
                return false;
            if (matchFrom(selector, index - 1, siblingSubject(*previous, subject.parentLevel), budget))
                return true;
        }
        return false;
    case TCombinator::None:
        return false;
    }
    return false;
}

bool TSelectorMatcher::matches(const TSelector& selector) const
{
    int budget = MatchBudget;
    return matchFrom(selector, selector.compounds().size() - 1, FElement, budget);
}
