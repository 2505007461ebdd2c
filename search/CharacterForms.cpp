#include "search/CharacterForms.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <cwctype>
#include <locale.h>
#include <unordered_map>

#include "search/SearchText.h"
#include "util/CodePage.h"
#include "util/TEntity.h"

namespace {

// Case mapping must not depend on the user's locale: a search finds the same
// files whoever runs it. C.UTF-8 carries the Unicode simple case mappings.
locale_t CaseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return locale;
}

char32_t ToUpper(char32_t c)
{
    const locale_t locale = CaseLocale();
    return char32_t(locale ? towupper_l(wint_t(c), locale) : towupper(wint_t(c)));
}

char32_t ToLower(char32_t c)
{
    const locale_t locale = CaseLocale();
    return char32_t(locale ? towlower_l(wint_t(c), locale) : towlower(wint_t(c)));
}

// Letters that are one letter in different cases share a key. Upper and lower
// case mappings are not each other's inverse (σ and ς both upper-case to Σ, but
// Σ lower-cases to σ alone), so the groups come from mapping every character.
char32_t FoldKey(char32_t c)
{
    return ToLower(ToUpper(c));
}

const std::unordered_map<char32_t, std::vector<char32_t>>& CaseGroups()
{
    static const auto groups = [] {
        std::unordered_map<char32_t, std::vector<char32_t>> result;
        // The planes in which letters have cases.
        for (char32_t c = 0; c < 0x20000; ++c) {
            if (ToUpper(c) != c || ToLower(c) != c)
                result[FoldKey(c)].push_back(c);
        }
        return result;
    }();
    return groups;
}

std::u16string Utf16Of(char32_t c)
{
    if (c < 0x10000)
        return std::u16string(1, char16_t(c));
    c -= 0x10000;
    return {char16_t(0xD800 + (c >> 10)), char16_t(0xDC00 + (c & 0x3FF))};
}

void AddOnce(std::vector<std::string>& list, std::string text)
{
    if (std::find(list.begin(), list.end(), text) == list.end())
        list.push_back(std::move(text));
}

void AddFormsOf(char32_t c, std::vector<std::string>& literals)
{
    for (const TEntity& entity : Entities()) {
        if (entity.Value != c)
            continue;
        std::string text = "&";
        text.append(entity.Name).push_back(';');
        AddOnce(literals, std::move(text));
    }
    if (const char* symbol = SymbolTableText(c))
        AddOnce(literals, symbol);
    AddOnce(literals, CodePage::FromUtf16(CodePage::Utf8, Utf16Of(c)));
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        if (Windows1252ToCodePoint(static_cast<unsigned char>(byte)) == c)
            AddOnce(literals, std::string(1, char(byte)));
    }
}

} // namespace

std::vector<char32_t> CaseVariants(char32_t codePoint)
{
    std::vector<char32_t> variants{codePoint};
    const auto& groups = CaseGroups();
    if (const auto group = groups.find(FoldKey(codePoint)); group != groups.end()) {
        for (char32_t other : group->second) {
            if (other != codePoint)
                variants.push_back(other);
        }
    }
    return variants;
}

char32_t AsciiCaseVariant(char32_t codePoint)
{
    // The ASCII letters of a case group are its only members whose key is
    // ASCII: the group holds them when its key is an ASCII letter.
    const char32_t key = FoldKey(codePoint);
    return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : 0;
}

TCharacterForms StoredForms(char32_t codePoint, TLetterCase letterCase)
{
    TCharacterForms forms;
    forms.CodePoints = letterCase == TLetterCase::Fold ? CaseVariants(codePoint) : std::vector<char32_t>{codePoint};
    for (char32_t c : forms.CodePoints)
        AddFormsOf(c, forms.Literals);
    return forms;
}

size_t NextTypedCharacter(std::string_view text, size_t pos, char32_t& codePoint)
{
    const size_t length = CodePage::CharLength(CodePage::Utf8, text, pos);
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    if (length <= 1) {
        codePoint = lead < 0x80 ? char32_t(lead) : Windows1252ToCodePoint(lead);
        return 1;
    }
    // A sequence CharLength accepts is well-formed: its bits are taken as they stand.
    const auto byte = [&](size_t i) { return char32_t(static_cast<unsigned char>(text[pos + i])); };
    const char32_t leadBits = length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07;
    codePoint = lead & leadBits;
    for (size_t i = 1; i < length; ++i)
        codePoint = codePoint << 6 | (byte(i) & 0x3F);
    return length;
}
