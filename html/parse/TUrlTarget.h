#pragma once
// The link being built: its URL, target frame, link number (shared by every text
// run of one link) and tab index.
#include <string>

class TUrlTarget {
public:
    // Sets URL and target and takes the next link number of the reader.
    void Start(const std::string& url, const std::string& target);
    void Copy(const TUrlTarget& other) { *this = other; }
    void Clear();

    std::string Url;
    std::string Target;
    int ID = 0;
    int TabIndex = 0;
};
