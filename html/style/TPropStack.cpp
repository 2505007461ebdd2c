#include "html/style/TPropStack.h"

#include <algorithm>

#include "html/parse/TAttributeList.h"
#include "html/style/TSelectorMatcher.h"

void TPropStack::Reset(const TProperties& defaults)
{
    Clear();
    auto base = std::make_shared<TProperties>();
    base->copyDefaultsFrom(defaults);
    FEntries.push_back({base, "default", -1});
    FRaw.push_back(base.get());
}

void TPropStack::ResetEmpty()
{
    Clear();
    auto base = std::make_shared<TProperties>();
    FEntries.push_back({base, "default", -1});
    FRaw.push_back(base.get());
}

void TPropStack::Close(Entry& entry)
{
    entry.props->setChildren(nullptr);
    if (entry.hiddenInline)
        --FHiddenInlines;
    if (FLearnLater && FLater)
        FLater->Closed(entry.facts.get(), entry.hadContent, entry.children.get());
}

void TPropStack::Clear()
{
    // Innermost first, as elements end.
    for (size_t i = FEntries.size(); i-- > 0;)
        Close(FEntries[i]);
    FLearnLater = false;
    FHiddenInlines = 0;
    FEntries.clear();
    FRaw.clear();
    FCombined.clear();
    FOlderCombined.clear();
}

std::shared_ptr<TElementFacts> TPropStack::RecordFacts(const std::string& tag, const std::string& cls,
                                                       const std::string& id, const TAttributeList* attributes,
                                                       int32_t sourcePos)
{
    auto facts = std::make_shared<TElementFacts>();
    facts->tag = tag;
    facts->cls = cls;
    facts->id = id;
    facts->sourcePos = sourcePos;
    if (FLater)
        FLater->Recall(*facts);
    if (attributes)
        for (const TAttribute& a : *attributes)
            facts->attributes.emplace_back(LowerCase(a.Name), a.Text);
    Entry& parent = FEntries.back();
    if (!parent.children) {
        parent.children = std::make_unique<TChildRecord>();
        parent.props->setChildren(parent.children.get());
    }
    parent.children->add(facts);
    return facts;
}

std::shared_ptr<TProperties> TPropStack::Combined(const TStyleList& styles, const std::string& tag,
                                                  const std::string& cls, const std::string& id,
                                                  const TProperties* styleAttribute, const std::u16string& title,
                                                  const std::string& pseudo,
                                                  const std::shared_ptr<const TElementFacts>& facts)
{
    auto set = std::make_shared<TProperties>();
    set->setFacts(facts);
    const TPropertySpan below(FRaw.data(), FRaw.size());
    // The rules of the newer selector kinds that match: elements they tell
    // apart (by attributes, places among siblings, parents) never share a set.
    std::vector<const TStyleRule*> matched;
    if (styles.hasSelectors()) {
        TSelectorMatcher matcher(below, facts.get(), tag, cls, id, pseudo);
        styles.matchSelectors(matcher, ChildAncestry(*FRaw.back()), tag, cls, id, matched);
        std::sort(matched.begin(), matched.end(),
                  [&styles](const TStyleRule* a, const TStyleRule* b) { return styles.appliesBefore(*a, *b); });
    }
    // A STYLE attribute or a title of its own makes the element unlike its siblings.
    if (styleAttribute || !title.empty()) {
        set->combine(styles, tag, cls, id, styleAttribute, title, pseudo, below, &matched);
        return set;
    }
    // Pages give many elements IDs of their own that no rule names: such an
    // ID does not keep an element from sharing its siblings' set.
    const std::string noId;
    const std::string& keyId = styles.namesId(id) ? id : noId;
    std::string key;
    key.reserve(tag.size() + cls.size() + keyId.size() + pseudo.size() + 21 + 4 * matched.size());
    key += tag;
    for (const std::string* part : {&cls, &keyId, &pseudo})
        (key += '\0') += *part;
    // The stamps as raw bytes, the matched rules by their order numbers, four
    // bytes each: elements under big sheets match many.
    auto addBytes = [&key](uint64_t n, int bytes) {
        for (int shift = 0; shift < 8 * bytes; shift += 8)
            key += char((n >> shift) & 0xFF);
    };
    key += '\0';
    addBytes(FRaw.back()->stamp(), 8);
    addBytes(styles.generation(), 8);
    key += '\1';
    for (const TStyleRule* rule : matched)
        addBytes(uint64_t(rule->order), 4);
    std::unique_ptr<const TProperties> kept;
    if (auto found = FCombined.find(key); found != FCombined.end()) {
        set->copyCombinedFrom(*found->second);
    } else if (auto older = FOlderCombined.find(key); older != FOlderCombined.end()) {
        set->copyCombinedFrom(*older->second);
        kept = std::move(older->second);
        FOlderCombined.erase(older);
    } else {
        set->combine(styles, tag, cls, id, nullptr, title, pseudo, below, &matched);
        // Made and measured once for every copy: the copies share the font,
        // and their stamp (which measuring a new em size renews) stays the one
        // their children's sets are kept under.
        set->font();
        auto copy = std::make_unique<TProperties>();
        copy->copyCombinedFrom(*set);
        kept = std::move(copy);
    }
    set->placeCopy(*FRaw.back(), id);
    set->setFacts(facts);
    if (kept) {
        // Bounded: when full, the sets not used since the last time it was
        // full are dropped, so those still in use in a long page survive.
        if (FCombined.size() >= MaxCombined) {
            FOlderCombined = std::move(FCombined);
            FCombined.clear();
        }
        FCombined.emplace(std::move(key), std::move(kept));
    }
    return set;
}

TProperties* TPropStack::Push(const TStyleList& styles, const std::string& tag, const std::string& cls,
                              const std::string& id, const TProperties* styleAttribute, const std::u16string& title,
                              const std::string& pseudo, const TAttributeList* attributes, int32_t sourcePos)
{
    if (Full() || FEntries.empty())
        return nullptr;
    // The document never opens its root element itself: when rules style
    // it, every element goes inside one.
    if (FEntries.size() == 1 && tag != "html" && styles.stylesRoot())
        Push(styles, "html", {}, {}, nullptr, {}, {}, nullptr);
    std::shared_ptr<TElementFacts> facts;
    if (styles.needsFacts())
        facts = RecordFacts(tag, cls, id, attributes, sourcePos);
    FLearnLater = FLearnLater || styles.needsLaterSiblings();
    std::shared_ptr<TProperties> set = Combined(styles, tag, cls, id, styleAttribute, title, pseudo, facts);
    FEntries.push_back({set, tag, -1, nullptr, std::move(facts)});
    FRaw.push_back(set.get());
    return set.get();
}

int TPropStack::Pop(const TStyleList& styles, const std::string& tag, bool* found)
{
    if (found)
        *found = false;
    size_t i = FEntries.size();
    while (i-- > 1)
        if (FEntries[i].tag == tag)
            break;
    if (i == 0 || i >= FEntries.size())
        return -1;
    if (found)
        *found = true;
    int box = FEntries[i].inlineBox;
    Close(FEntries[i]);
    FEntries.erase(FEntries.begin() + std::ptrdiff_t(i));
    FRaw.erase(FRaw.begin() + std::ptrdiff_t(i));
    // The entries above take their parents' values again, bottom up.
    for (size_t k = i; k < FEntries.size(); ++k)
        FEntries[k].props->reinherit(*FEntries[k - 1].props, styles, TPropertySpan(FRaw.data(), k));
    return box;
}

void TPropStack::Unpush()
{
    if (FEntries.size() <= 1)
        return;
    Entry& below = FEntries[FEntries.size() - 2];
    if (FEntries.back().facts && below.children && !below.children->children.empty() &&
        below.children->children.back() == FEntries.back().facts)
        below.children->removeNewest();
    FEntries.back().props->setChildren(nullptr);
    if (FEntries.back().hiddenInline)
        --FHiddenInlines;
    FEntries.pop_back();
    FRaw.pop_back();
}
