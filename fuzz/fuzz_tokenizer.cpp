// Feeds arbitrary bytes through every reader of the tokenizer. The first byte
// chooses the options: bit 0 an include handler that returns text (part of the
// input, which may include itself), bit 1 a script handler, bits 2-5 the code
// page, bit 6 the EUC-JP conversion at each META, bit 7 no byte-order-mark check.
#include "html/parse/HtmlReader.h"
#include "util/CodePage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr std::array<int, 16> CodePages = {0, 1252, 932, 65001, 936, 949, 950, 1361, 1251, 1253, 1255, 1258, 874, 28592, 1, 2};
constexpr size_t MaxInput = 1 << 20;
constexpr int MaxSymbols = 1 << 20;
constexpr int MaxIncludeAnswers = 200;

void ReadStyleContent()
{
    // As the style sheet parser does: raw characters up to the next "<".
    while (ReadState.Ch != 0 && ReadState.Ch != '<') {
        uint8_t peeked = PeekChar();
        if (ReadChar() != peeked)
            __builtin_trap();
    }
}

void ReadDocument(uint8_t flags)
{
    for (int i = 0; i < MaxSymbols; ++i) {
        NextSymbol();
        switch (ReadState.Sy) {
        case EofSym:
            return;
        case ScriptSy:
            ReadScript();
            break;
        case TextAreaSy:
            ReadTextAreaContent([](const std::string&) {});
            break;
        case StyleSy:
            ReadStyleContent();
            break;
        case MetaSy:
            if (flags & 0x40)
                ConvertDocumentFromEucJp();
            break;
        default:
            ReadState.Attributes->TheID();
            ReadState.Attributes->TheClass();
            ReadState.Attributes->CreateStringList();
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > MaxInput)
        return 0;
    const uint8_t flags = data[0];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const int codePage = CodePages[(flags >> 2) & 0x0F];

    size_t ids = 0;
    int includeAnswers = 0;
    ReadState.OnIDAttribute = [&ids](const std::string&, int32_t) { ++ids; };
    ReadState.PreScan = false;
    ReadState.TopCodePage = [codePage] { return codePage; };
    ReadState.OnProgress = [](int64_t, int64_t) {};
    ReadState.OnScript = nullptr;
    ReadState.OnInclude = nullptr;
    if (flags & 0x02)
        ReadState.OnScript = [](const std::string&, const std::string&, const std::string&) {};
    if (flags & 0x01)
        ReadState.OnInclude = [&](const std::string&, const std::vector<std::string>& params, std::string& text) {
            if (++includeAnswers > MaxIncludeAnswers)
                return;
            text = input.substr(input.size() / 2, 64 + params.size());
        };

    try {
        InstallDocument(input, (flags & 0x80) ? BomHandling::Ignore : BomHandling::Recognise);
        ReadDocument(flags);
    } catch (const EParseError&) {
    }
    ReleaseDocument();
    ReadState.OnIDAttribute = nullptr;
    ReadState.OnInclude = nullptr;

    // The conversions on their own.
    Iso2022JpToShiftJis(input);
    EucJpToShiftJis(input);
    std::u16string text = CodePage::ToUtf16(codePage, input);
    CodePage::FromUtf16(codePage, text);
    return 0;
}
