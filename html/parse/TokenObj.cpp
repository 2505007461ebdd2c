#include "html/parse/TokenObj.h"

#include "html/parse/TCharCollection.h"
#include "util/CodePage.h"

namespace {
constexpr size_t InitialCapacity = 300;

bool IsAscii(const std::string& bytes)
{
    for (unsigned char byte : bytes)
        if (byte >= 0x80)
            return false;
    return true;
}
} // namespace

TokenObj::TokenObj()
{
    FChars.reserve(InitialCapacity);
    FIndices.reserve(InitialCapacity);
}

void TokenObj::AddString(const TCharCollection& bytes, int codePage)
{
    const std::string& chars = bytes.AsString();
    const std::vector<int32_t>& positions = bytes.Indices();
    if (IsAscii(chars)) {
        // Every page we read agrees with ASCII: one character per byte.
        FChars.append(chars.begin(), chars.end());
        FIndices.insert(FIndices.end(), positions.begin(), positions.end());
        return;
    }
    std::vector<size_t> firstByte;
    std::u16string converted = CodePage::ToUtf16(codePage, chars, &firstByte);
    FChars += converted;
    for (size_t offset : firstByte)
        FIndices.push_back(positions[offset]);
}
