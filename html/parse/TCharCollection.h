#pragma once
// Bytes of a text run gathered before their code-page conversion, each with the
// source position it came from.
#include <cstdint>
#include <string>
#include <vector>

class TCharCollection {
public:
    TCharCollection();

    void Add(char ch, int32_t pos)
    {
        FChars.push_back(ch);
        FIndices.push_back(pos);
    }
    void Concat(const TCharCollection& other);
    void Clear()
    {
        FChars.clear();
        FIndices.clear();
    }

    size_t Count() const { return FChars.size(); }
    bool Empty() const { return FChars.empty(); }
    const std::string& AsString() const { return FChars; }
    const std::vector<int32_t>& Indices() const { return FIndices; }

private:
    std::string FChars;
    std::vector<int32_t> FIndices;
};
