#include "html/style/TPropStack.h"

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

void TPropStack::Clear()
{
    FEntries.clear();
    FRaw.clear();
    FCombined.clear();
    FOlderCombined.clear();
}

std::shared_ptr<TProperties> TPropStack::Combined(const TStyleList& styles, const std::string& tag,
                                                  const std::string& cls, const std::string& id,
                                                  const TProperties* styleAttribute, const std::u16string& title,
                                                  const std::string& pseudo)
{
    auto set = std::make_shared<TProperties>();
    const TPropertySpan below(FRaw.data(), FRaw.size());
    // A STYLE attribute or a title of its own makes the element unlike its siblings.
    if (styleAttribute || !title.empty()) {
        set->combine(styles, tag, cls, id, styleAttribute, title, pseudo, below);
        return set;
    }
    // Pages give many elements IDs of their own that no rule names: such an
    // ID does not keep an element from sharing its siblings' set.
    const std::string noId;
    const std::string& keyId = styles.namesId(id) ? id : noId;
    std::string key = tag;
    for (const std::string* part : {&cls, &keyId, &pseudo})
        (key += '\0') += *part;
    for (uint64_t n : {FRaw.back()->stamp(), styles.generation()})
        (key += '\0') += std::to_string(n);
    std::unique_ptr<const TProperties> kept;
    if (auto found = FCombined.find(key); found != FCombined.end()) {
        set->copyCombinedFrom(*found->second);
    } else if (auto older = FOlderCombined.find(key); older != FOlderCombined.end()) {
        set->copyCombinedFrom(*older->second);
        kept = std::move(older->second);
        FOlderCombined.erase(older);
    } else {
        set->combine(styles, tag, cls, id, nullptr, title, pseudo, below);
        auto copy = std::make_unique<TProperties>();
        copy->copyCombinedFrom(*set);
        kept = std::move(copy);
    }
    set->placeCopy(*FRaw.back(), id);
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
                              const std::string& pseudo)
{
    if (Full() || FEntries.empty())
        return nullptr;
    std::shared_ptr<TProperties> set = Combined(styles, tag, cls, id, styleAttribute, title, pseudo);
    FEntries.push_back({set, tag, -1});
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
    FEntries.erase(FEntries.begin() + std::ptrdiff_t(i));
    FRaw.erase(FRaw.begin() + std::ptrdiff_t(i));
    // The entries above take their parents' values again, bottom up.
    for (size_t k = i; k < FEntries.size(); ++k)
        FEntries[k].props->reinherit(*FEntries[k - 1].props, styles, TPropertySpan(FRaw.data(), k));
    return box;
}
