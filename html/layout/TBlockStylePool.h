#pragma once
// The distinct block styles of one document. Blocks made from equal styles
// (siblings in long lists share one combined property set) hold one copy;
// a style whose box values depend on the layout bases is never equal to
// another and is kept by its block alone.
#include <cstddef>
#include <memory>
#include <unordered_set>

#include "html/layout/TBlockStyle.h"

class TBlockStylePool {
public:
    std::shared_ptr<const TBlockStyle> Intern(TBlockStyle style);
    // Distinct shared styles.
    size_t Count() const { return FStyles.size(); }
    void Clear() { FStyles.clear(); }

private:
    using Entry = std::shared_ptr<const TBlockStyle>;
    struct Hash {
        using is_transparent = void;
        size_t operator()(const Entry& e) const { return e->Hash(); }
        size_t operator()(const TBlockStyle& s) const { return s.Hash(); }
    };
    struct Same {
        using is_transparent = void;
        bool operator()(const Entry& a, const Entry& b) const { return a->SameAs(*b); }
        bool operator()(const TBlockStyle& a, const Entry& b) const { return a.SameAs(*b); }
        bool operator()(const Entry& a, const TBlockStyle& b) const { return a->SameAs(b); }
    };
    std::unordered_set<Entry, Hash, Same> FStyles;
};
