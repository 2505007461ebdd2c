#pragma once
// Where a text section's characters come from: (text offset, source index)
// pairs, one for each run of characters that follow their source bytes one
// by one. Nearly every section is one run from its first character, which
// is kept in the word that otherwise points at the runs (a document has
// hundreds of thousands of sections).
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class TSourceRuns {
public:
    using Run = std::pair<int, int>;

    TSourceRuns() = default;
    TSourceRuns(const TSourceRuns& source) { Assign(source.ToVector()); }
    TSourceRuns& operator=(const TSourceRuns& source)
    {
        if (this != &source)
            Assign(source.ToVector());
        return *this;
    }
    ~TSourceRuns() { Free(); }

    void Assign(const std::vector<Run>& runs);

    size_t size() const;
    bool empty() const { return FWord == 0; }
    Run operator[](size_t i) const;
    std::vector<Run> ToVector() const;
    // Index of the last run starting at or before offset, or size() when
    // none does.
    size_t RunAt(int offset) const;

private:
    static_assert(sizeof(uintptr_t) == 8, "a run's source index fits beside the tag");
    bool Single() const { return (FWord & 1) != 0; }
    // Two or more runs: a (count, 0) entry, then the runs.
    const Run* Many() const { return reinterpret_cast<const Run*>(FWord); }
    void Free();
    // 0: no run. Lowest bit 1: one run at offset 0 whose source index is the
    // upper half. Otherwise the address of the runs.
    uintptr_t FWord = 0;
};
