#pragma once
// The 16-bit characters of one text run, each with the source position of the
// byte (or first byte) it was read from.
#include <cstdint>
#include <string>
#include <vector>

class TCharCollection;

class TokenObj {
public:
    TokenObj();

    void AddUnicodeChar(char16_t ch, int32_t pos)
    {
        FChars.push_back(ch);
        FIndices.push_back(pos);
    }
    // Converts the gathered bytes through `codePage` (see CodePage::ToUtf16); each
    // character takes the position of its first byte.
    void AddString(const TCharCollection& bytes, int codePage);
    void Clear()
    {
        FChars.clear();
        FIndices.clear();
    }

    size_t Leng() const { return FChars.size(); }
    bool Empty() const { return FChars.empty(); }
    const std::u16string& S() const { return FChars; }
    const std::vector<int32_t>& I() const { return FIndices; }

private:
    std::u16string FChars;
    std::vector<int32_t> FIndices;
};
