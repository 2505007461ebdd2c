#pragma once
// Where a text section's characters come from: (text offset, source index)
// pairs, one for each run of characters that follow their source bytes one
// by one. Nearly every section is one run, which is kept inline (a document
// has hundreds of thousands of sections).
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class TSourceRuns {
public:
    using Run = std::pair<int, int>;

    TSourceRuns() = default;
    TSourceRuns(const TSourceRuns& source) { Assign(source.begin(), source.end()); }
    TSourceRuns& operator=(const TSourceRuns& source)
    {
        if (this != &source)
            Assign(source.begin(), source.end());
        return *this;
    }

    void Assign(const Run* from, const Run* to);
    void Assign(const std::vector<Run>& runs) { Assign(runs.data(), runs.data() + runs.size()); }

    const Run* begin() const { return FMore ? FMore.get() : &FFirst; }
    const Run* end() const { return begin() + FCount; }
    size_t size() const { return FCount; }
    bool empty() const { return FCount == 0; }
    const Run& operator[](size_t i) const { return begin()[i]; }

private:
    Run FFirst{};
    uint32_t FCount = 0;
    std::unique_ptr<Run[]> FMore; // all runs when there are two or more
};
