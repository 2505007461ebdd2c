#include "html/layout/TStringBitmapList.h"

#include <cctype>

std::string TStringBitmapList::Key(std::string_view name)
{
    size_t b = 0, e = name.size();
    while (b < e && std::isspace(static_cast<unsigned char>(name[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(name[e - 1])))
        --e;
    std::string key(name.substr(b, e - b));
    for (char& c : key)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

TBitmapItem* TStringBitmapList::UseImage(std::string_view name)
{
    auto it = FItems.find(Key(name));
    if (it == FItems.end())
        return nullptr;
    it->second.AccessCount = 0;
    ++it->second.UsageCount;
    return &it->second;
}

const TBitmapItem* TStringBitmapList::Find(std::string_view name) const
{
    auto it = FItems.find(Key(name));
    return it == FItems.end() ? nullptr : &it->second;
}

TBitmapItem& TStringBitmapList::AddImage(std::string_view name, TBitmapItem item)
{
    item.AccessCount = 0;
    item.UsageCount = 1;
    TBitmapItem& slot = FItems[Key(name)];
    slot = std::move(item);
    return slot;
}

void TStringBitmapList::Release(std::string_view name)
{
    auto it = FItems.find(Key(name));
    if (it != FItems.end() && it->second.UsageCount > 0)
        --it->second.UsageCount;
}

void TStringBitmapList::DropUnusedOlderThan(int age)
{
    for (auto it = FItems.begin(); it != FItems.end();) {
        if (it->second.AccessCount > age && it->second.UsageCount <= 0)
            it = FItems.erase(it);
        else
            ++it;
    }
}

void TStringBitmapList::Age()
{
    for (auto& [key, item] : FItems)
        ++item.AccessCount;
    DropUnusedOlderThan(FMaxAge);
}

void TStringBitmapList::SetMaxAge(int age)
{
    FMaxAge = age;
    DropUnusedOlderThan(age);
}
