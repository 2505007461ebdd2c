#include "html/parse/TCharCollection.h"

namespace {
// Room for a typical text run; the buffers then grow geometrically, so a long
// run costs amortised constant time per byte.
constexpr size_t InitialCapacity = 300;
} // namespace

TCharCollection::TCharCollection()
{
    FChars.reserve(InitialCapacity);
    FIndices.reserve(InitialCapacity);
}

void TCharCollection::Concat(const TCharCollection& other)
{
    FChars += other.FChars;
    FIndices.insert(FIndices.end(), other.FIndices.begin(), other.FIndices.end());
}
