#include "html/layout/SelTextBuf.h"

void SelTextBuf::AddText(std::u16string_view text)
{
    FLen += int(text.size());
    size_t room = size_t(FSize) > FText.size() ? size_t(FSize) - FText.size() : 0;
    FText.append(text.substr(0, room));
}
