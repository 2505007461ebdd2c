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
}

TProperties* TPropStack::Push(const TStyleList& styles, const std::string& tag, const std::string& cls,
                              const std::string& id, const TProperties* styleAttribute, const std::u16string& title,
                              const std::string& pseudo)
{
    if (Full() || FEntries.empty())
        return nullptr;
    auto set = std::make_shared<TProperties>();
    set->combine(styles, tag, cls, id, styleAttribute, title, pseudo, TPropertySpan(FRaw.data(), FRaw.size()));
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
