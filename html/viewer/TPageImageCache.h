#pragma once
// The page pictures a preview keeps: at most a fixed number of bytes (but
// always the two newest, which a window may show at once), the one used
// longest ago going first, so that paging through thousands of pages holds
// no more than a handful of pictures.
#include <QImage>
#include <list>
#include <utility>

class TPageImageCache {
public:
    explicit TPageImageCache(size_t maxBytes) : FMaxBytes(maxBytes) {}

    // The picture of a page, or null when it is not kept; a hit becomes the
    // newest.
    const QImage* Find(int page);
    void Put(int page, QImage image);
    void Clear()
    {
        FPages.clear();
        FBytes = 0;
    }
    size_t Size() const { return FPages.size(); }
    size_t Bytes() const { return FBytes; }
    size_t MaxBytes() const { return FMaxBytes; }

private:
    static constexpr size_t AlwaysKept = 2;
    size_t FMaxBytes;
    size_t FBytes = 0;
    std::list<std::pair<int, QImage>> FPages; // newest first
};
