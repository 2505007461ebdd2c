#pragma once
// The enumerations and small sets that the scanner publishes and the matcher reads.
// Names and order are part of the component's interface: ordinal values start at 0.
#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <string_view>

enum class TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftArchive, ftNormal };
enum class TSearchType { st_And, st_Or, st_Not };
enum class TStringSearchType { sst_Normal, sst_Word, sst_Prefix, sst_Suffix };
enum class TFileCompType {
    fctNone,
    fctEqual,
    fctGreaterThan,
    fctLessThan,
    fctGreaterThanOrEqual,
    fctLessThanOrEqual
};
enum class TSort { stNone, stTitle, stDate, stSize };

// A set of TFileAttr values.
class TFileAttrSet {
public:
    TFileAttrSet() = default;
    TFileAttrSet(std::initializer_list<TFileAttr> attrs)
    {
        for (TFileAttr a : attrs)
            include(a);
    }
    bool contains(TFileAttr a) const { return (FBits >> unsigned(a)) & 1u; }
    void include(TFileAttr a) { FBits = uint8_t(FBits | (1u << unsigned(a))); }
    void exclude(TFileAttr a) { FBits = uint8_t(FBits & ~(1u << unsigned(a))); }
    bool operator==(const TFileAttrSet&) const = default;

private:
    uint8_t FBits = 0;
};

// A set of byte values, as the word-boundary test uses.
using TCharSet = std::bitset<256>;

inline TCharSet MakeCharSet(std::string_view chars)
{
    TCharSet set;
    for (char c : chars)
        set.set(static_cast<unsigned char>(c));
    return set;
}

// Compares a value with a limit the way the size and age tests do; fctNone passes.
inline bool CompareWith(int64_t value, TFileCompType comp, int64_t limit)
{
    switch (comp) {
    case TFileCompType::fctNone: return true;
    case TFileCompType::fctEqual: return value == limit;
    case TFileCompType::fctGreaterThan: return value > limit;
    case TFileCompType::fctLessThan: return value < limit;
    case TFileCompType::fctGreaterThanOrEqual: return value >= limit;
    case TFileCompType::fctLessThanOrEqual: return value <= limit;
    }
    return true;
}
