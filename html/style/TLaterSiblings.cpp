#include "html/style/TLaterSiblings.h"

#include <functional>

void TLaterSiblings::Reset()
{
    FLearned.clear();
    FKnown.clear();
    FSecondReading = false;
    FGuessedWrong = false;
}

void TLaterSiblings::StartSecondReading()
{
    FKnown = std::move(FLearned);
    FLearned.clear();
    FSecondReading = true;
    FGuessedWrong = false;
}

uint64_t TLaterSiblings::KeyOf(const TElementFacts& facts)
{
    return uint64_t(uint32_t(facts.sourcePos)) << 32 | uint32_t(std::hash<std::string>{}(facts.tag));
}

void TLaterSiblings::Recall(TElementFacts& facts) const
{
    if (facts.sourcePos < 0 || FKnown.empty())
        return;
    if (auto found = FKnown.find(KeyOf(facts)); found != FKnown.end())
        facts.later = found->second;
}

namespace {

// Whether a test that asked while the fact was unknown (and so failed) would
// have answered otherwise.
bool GuessWasWrong(const TElementFacts& facts)
{
    const TLaterFacts& known = facts.later;
    const uint8_t asked = facts.asked;
    if ((asked & TElementFacts::AskedNthLast) && (known.siblingsAfter >= 0 || known.typeSiblingsAfter >= 0))
        return true;
    return ((asked & TElementFacts::AskedLast) && known.siblingsAfter == 0) ||
           ((asked & TElementFacts::AskedLastOfType) && known.typeSiblingsAfter == 0) ||
           ((asked & TElementFacts::AskedEmpty) && known.empty == 1);
}

} // namespace

void TLaterSiblings::Learn(TElementFacts& facts)
{
    if (GuessWasWrong(facts))
        FGuessedWrong = true;
    if (facts.sourcePos < 0)
        return;
    TLaterFacts& learned = FLearned[KeyOf(facts)];
    if (facts.later.siblingsAfter >= 0)
        learned.siblingsAfter = facts.later.siblingsAfter;
    if (facts.later.typeSiblingsAfter >= 0)
        learned.typeSiblingsAfter = facts.later.typeSiblingsAfter;
    if (facts.later.empty >= 0)
        learned.empty = facts.later.empty;
}

void TLaterSiblings::Closed(TElementFacts* own, bool hadContent, const TChildRecord* children)
{
    if (own) {
        own->later.empty = !hadContent && (!children || children->children.empty()) ? 1 : 0;
        Learn(*own);
    }
    if (!children)
        return;
    const int count = int(children->children.size());
    for (const auto& child : children->children) {
        child->later.siblingsAfter = count - child->childIndex;
        child->later.typeSiblingsAfter = children->countOf(child->tag) - child->typeIndex;
        Learn(*child);
    }
}
