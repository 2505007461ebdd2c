#include "html/viewer/TVisitedList.h"

#include "html/viewer/LinkNames.h"

bool TVisitedList::Mark(const std::string& url)
{
    if (FMaxCount <= 0)
        return false;
    if (!FUrls.empty() && FUrls.front() == url)
        return false;
    for (size_t i = 0; i < FUrls.size(); ++i)
        if (FUrls[i] == url) {
            FUrls.erase(FUrls.begin() + long(i));
            break;
        }
    FUrls.insert(FUrls.begin(), url);
    if (FUrls.size() > size_t(FMaxCount))
        FUrls.resize(size_t(FMaxCount));
    return true;
}

bool TVisitedList::Contains(const std::string& url) const
{
    for (const std::string& u : FUrls)
        if (SameTextNoCase(u, url))
            return true;
    return false;
}

void TVisitedList::SetMaxCount(int count)
{
    if (count < 0)
        return;
    FMaxCount = count;
    if (FUrls.size() > size_t(count))
        FUrls.resize(size_t(count));
}
