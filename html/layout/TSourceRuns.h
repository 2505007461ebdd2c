#pragma once
// Where a text section's characters come from: (text offset, source index)
// pairs, one for each run of characters that follow their source bytes one
// by one. Nearly every section is one run, which is kept inline (a document
// has hundreds of thousands of sections).
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

    const Run* begin() const { return FMore ? FMore.get() + 1 : &FFirst; }
    const Run* end() const { return begin() + size(); }
    size_t size() const { return FMore ? size_t(FMore[0].first) : (FFirst.first >= 0 ? 1 : 0); }
    bool empty() const { return size() == 0; }
    const Run& operator[](size_t i) const { return begin()[i]; }

private:
    // The one run, or (-1, 0) when there is none: text offsets are never
    // negative.
    Run FFirst{-1, 0};
    // Two or more runs: a (count, 0) entry, then the runs.
    std::unique_ptr<Run[]> FMore;
};
