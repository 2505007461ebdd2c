#pragma once
// The visited-link list: expanded URLs, newest first, at most MaxCount.
#include <string>
#include <vector>

class TVisitedList {
public:
    // Moves the URL to the front (inserting it when new) and cuts the list;
    // answers true when the list changed. Nothing when MaxCount is 0.
    bool Mark(const std::string& url);
    bool Contains(const std::string& url) const; // letter case ignored
    void SetMaxCount(int count);
    int MaxCount() const { return FMaxCount; }
    void Clear() { FUrls.clear(); }
    const std::vector<std::string>& Urls() const { return FUrls; }

private:
    std::vector<std::string> FUrls;
    int FMaxCount = 50;
};
