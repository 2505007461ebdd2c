#pragma once
// The image cache of a viewer: decoded pictures by upper-cased, trimmed
// source name. Documents count their uses; the viewer ages the entries when
// it loads a new document, and entries nobody uses that were not asked for
// in more than MaxAge loads are dropped.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "html/layout/TBitmapItem.h"

class TStringBitmapList {
public:
    static constexpr int DefaultMaxAge = 4;

    // The cache key of an image name.
    static std::string Key(std::string_view name);

    // The entry for a name: counts a new use (access count reset, usage
    // count + 1). Null when the name is not cached.
    TBitmapItem* UseImage(std::string_view name);
    // The entry without counting anything.
    const TBitmapItem* Find(std::string_view name) const;
    // Enters a newly loaded picture with one user; replaces an older entry.
    TBitmapItem& AddImage(std::string_view name, TBitmapItem item);
    // A document that used the image was cleared.
    void Release(std::string_view name);
    // A new document was loaded: every entry grows older, and unused ones
    // older than the maximum age go.
    void Age();
    // Drops the unused entries older than the new maximum.
    void SetMaxAge(int age);
    int MaxAge() const { return FMaxAge; }
    size_t Count() const { return FItems.size(); }
    void Clear() { FItems.clear(); }

private:
    void DropUnusedOlderThan(int age);
    std::map<std::string, TBitmapItem, std::less<>> FItems;
    int FMaxAge = DefaultMaxAge;
};
