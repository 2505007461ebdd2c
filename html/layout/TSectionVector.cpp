#include "html/layout/TSectionVector.h"

#include "html/layout/TSectionBase.h"

TSectionVector::~TSectionVector() = default;

void TSectionVector::push_back(Item section)
{
    if (!section)
        return;
    if (!FMore && !FOne) {
        FOne = std::move(section);
        return;
    }
    if (!FMore)
        reserve(2);
    // The list's own growth: reserving one more each time would copy the
    // whole list on every section added.
    FMore->push_back(std::move(section));
}

TSectionVector::iterator TSectionVector::erase(const_iterator position)
{
    auto index = position - begin();
    if (!FMore) {
        FOne.reset();
        return begin();
    }
    FMore->erase(FMore->begin() + index);
    return begin() + index;
}

void TSectionVector::clear()
{
    FOne.reset();
    FMore.reset();
}

void TSectionVector::reserve(size_t count)
{
    if (count <= 1 && !FMore)
        return;
    if (!FMore) {
        FMore = std::make_unique<std::vector<Item>>();
        if (FOne)
            FMore->push_back(std::move(FOne));
    }
    FMore->reserve(count);
}
