#include "html/viewer/TPageImageCache.h"

const QImage* TPageImageCache::Find(int page)
{
    for (auto it = FPages.begin(); it != FPages.end(); ++it)
        if (it->first == page) {
            FPages.splice(FPages.begin(), FPages, it);
            return &FPages.front().second;
        }
    return nullptr;
}

void TPageImageCache::Put(int page, QImage image)
{
    for (auto it = FPages.begin(); it != FPages.end(); ++it)
        if (it->first == page) {
            FBytes -= size_t(it->second.sizeInBytes());
            FPages.erase(it);
            break;
        }
    FBytes += size_t(image.sizeInBytes());
    FPages.emplace_front(page, std::move(image));
    while (FPages.size() > AlwaysKept && FBytes > FMaxBytes) {
        FBytes -= size_t(FPages.back().second.sizeInBytes());
        FPages.pop_back();
    }
}
