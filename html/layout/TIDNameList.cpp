#include "html/layout/TIDNameList.h"

#include <algorithm>
#include <cctype>

bool TIDNameList::NoCaseLess::operator()(std::string_view a, std::string_view b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

void TIDNameList::ForgetOwned(Entry& entry)
{
    // The list's own targets are never forgotten by RemoveObject: their names
    // are not listed, which keeps a page with an ID on every element small.
    entry.owned.reset();
}

void TIDNameList::AddChPosObject(const std::string& name, int32_t pos)
{
    auto target = std::make_unique<TChPosObj>(FDocument, pos);
    Entry& entry = FEntries[name];
    entry.object = target.get();
    entry.owned = std::move(target);
}

void TIDNameList::AddObject(const std::string& name, TIDObject* object)
{
    Entry& entry = FEntries[name];
    ForgetOwned(entry);
    entry.object = object;
    FNamesOf[object].push_back(name);
}

TIDObject* TIDNameList::Find(std::string_view name) const
{
    auto found = FEntries.find(name);
    return found != FEntries.end() ? found->second.object : nullptr;
}

void TIDNameList::RemoveObject(const TIDObject* object)
{
    auto names = FNamesOf.find(object);
    if (names == FNamesOf.end())
        return;
    for (const std::string& name : names->second)
        if (auto entry = FEntries.find(name); entry != FEntries.end() && entry->second.object == object)
            FEntries.erase(entry);
    FNamesOf.erase(names);
}
