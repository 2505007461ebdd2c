#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "search/CharacterForms.h"
#include "search/SearchTypes.h"
#include "search/TSearchPattern.h"
#include "util/CharacterReferences.h"

namespace {

bool Has(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool Has(const std::vector<char32_t>& list, char32_t item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

const TCharSet WholeWordSet = MakeCharSet("\n\r !,./:?");

// Whether the pattern for the typed word is found in the text, the text brought
// to comparison form first as the scanner does.
bool Finds(const std::string& word, std::string text, TLetterCase letterCase = TLetterCase::Fold,
           TStringSearchType type = TStringSearchType::sst_Normal, TStoredForms forms = TStoredForms::All)
{
    const TSearchPattern pattern(word, letterCase, forms);
    if (letterCase == TLetterCase::Fold)
        text = UpperCaseAscii(text);
    return pattern.Find(text.data(), text.size(), {type, &WholeWordSet, &WholeWordSet});
}

} // namespace

TEST(StoredForms, ListEveryFormOfALetterAndItsOtherCase)
{
    const TCharacterForms exact = StoredForms(0xE9, TLetterCase::Exact); // é
    EXPECT_EQ(exact.CodePoints, std::vector<char32_t>{0xE9});
    EXPECT_TRUE(Has(exact.Literals, "&eacute;"));
    EXPECT_TRUE(Has(exact.Literals, "\xC3\xA9"));
    EXPECT_TRUE(Has(exact.Literals, "\xE9"));
    EXPECT_FALSE(Has(exact.Literals, "&Eacute;"));
    EXPECT_FALSE(Has(exact.Literals, "\xC9"));

    const TCharacterForms folded = StoredForms(0xC9, TLetterCase::Fold); // É
    EXPECT_TRUE(Has(folded.CodePoints, 0xE9));
    EXPECT_TRUE(Has(folded.CodePoints, 0xC9));
    for (const char* form : {"&eacute;", "&Eacute;", "\xC3\xA9", "\xC3\x89", "\xE9", "\xC9"})
        EXPECT_TRUE(Has(folded.Literals, form)) << form;

    // ÿ upper-cases to Ÿ, which Windows-1252 keeps at 0x9F and HTML names Yuml.
    const TCharacterForms y = StoredForms(0xFF, TLetterCase::Fold);
    for (const char* form : {"&yuml;", "&Yuml;", "\xFF", "\x9F", "\xC5\xB8"})
        EXPECT_TRUE(Has(y.Literals, form)) << form;
    // The euro sign lies outside Latin-1 but has a Windows-1252 byte.
    EXPECT_TRUE(Has(StoredForms(0x20AC, TLetterCase::Exact).Literals, "\x80"));
    EXPECT_TRUE(Has(StoredForms(0x20AC, TLetterCase::Exact).Literals, "&euro;"));
    // The search page's own symbol text for ì lacks the semicolon; both are forms.
    const TCharacterForms i = StoredForms(0xEC, TLetterCase::Exact);
    EXPECT_TRUE(Has(i.Literals, "&igrave"));
    EXPECT_TRUE(Has(i.Literals, "&igrave;"));
    // Greek has no Windows-1252 byte; all three sigmas are one letter.
    const TCharacterForms sigma = StoredForms(0x3C3, TLetterCase::Fold);
    EXPECT_TRUE(Has(sigma.CodePoints, 0x3A3));
    EXPECT_TRUE(Has(sigma.CodePoints, 0x3C2));
    EXPECT_TRUE(Has(sigma.Literals, "&sigmaf;"));
    EXPECT_EQ(sigma.Literals.size(), 3u /* UTF-8 */ + 3u /* Sigma, sigma, sigmaf */);
}

TEST(StoredForms, NumericReferencesInEverySpelling)
{
    auto parse = [](const std::string& text, char32_t& c, size_t& end) {
        return ParseNumericReference(text.data(), text.size(), 0, c, end);
    };
    char32_t c = 0;
    size_t end = 0;
    for (const std::string text : {"&#233;x", "&#xE9;x", "&#Xe9;x", "&#00233;x", "&#x00e9;x"}) {
        ASSERT_TRUE(parse(text, c, end)) << text;
        EXPECT_EQ(c, 0xE9u) << text;
        EXPECT_EQ(end, text.size() - 1) << text;
    }
    ASSERT_TRUE(parse("&#233 x", c, end)) << "the semicolon may be left out";
    EXPECT_EQ(end, 5u);
    EXPECT_FALSE(parse("&#233", c, end)) << "the digits may go on in the next block";
    EXPECT_FALSE(parse("&#;x", c, end));
    EXPECT_FALSE(parse("&#x;x", c, end));
    EXPECT_FALSE(parse("&#xg;", c, end));
    EXPECT_FALSE(parse("&#123456789;", c, end)) << "more digits than any character needs";
    EXPECT_FALSE(parse("&eacute;", c, end));
}

TEST(StoredForms, AWordIsFoundInEveryFormAndCase)
{
    for (const char* page : {"un caf&eacute; noir", "un caf&#233; noir", "un caf&#xE9; noir", "un caf&#xe9; noir",
                             "un caf\xC3\xA9 noir", "un caf\xE9 noir", "UN CAF&Eacute; NOIR", "un Caf\xC9 noir",
                             "un CAF\xC3\x89 noir", "un caf&#201; noir"}) {
        EXPECT_TRUE(Finds("caf\xC3\xA9", page)) << page;
        EXPECT_TRUE(Finds("CAF\xC3\x89", page)) << page;
    }
    // Case-sensitive: only the forms of é itself, in any spelling of the reference.
    EXPECT_TRUE(Finds("caf\xC3\xA9", "caf&#XE9;", TLetterCase::Exact));
    EXPECT_TRUE(Finds("caf\xC3\xA9", "caf\xE9", TLetterCase::Exact));
    EXPECT_FALSE(Finds("caf\xC3\xA9", "caf&Eacute;", TLetterCase::Exact));
    EXPECT_FALSE(Finds("caf\xC3\xA9", "caf&#201;", TLetterCase::Exact));
    EXPECT_FALSE(Finds("caf\xC3\xA9", "CAF\xC3\xA9", TLetterCase::Exact));
    // Near misses.
    EXPECT_FALSE(Finds("caf\xC3\xA9", "caf&egrave; caf&#232; cafe caf\xC3\xA8"));
    EXPECT_FALSE(Finds("caf\xC3\xA9", std::string("caf\0\xC3\xA9", 6))) << "a NUL separates";
    EXPECT_FALSE(Finds("caf\xC3\xA9", "caf&#233")) << "a reference the data cuts short";
}

TEST(StoredForms, WordsWithoutAnAsciiPartOrWithSeveralLetters)
{
    EXPECT_TRUE(Finds("\xC3\xBC", "a &Uuml; b"));               // ü alone: the first-byte filter
    EXPECT_TRUE(Finds("\xC3\xBC", "a &#252; b"));
    EXPECT_FALSE(Finds("\xC3\xBC", "a &uml; &auml; b"));
    // λόγος: capital lambda, ό in UTF-8, capital gamma by reference, omicron, capital sigma for ς.
    EXPECT_TRUE(Finds("\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82", "&Lambda;\xCF\x8C&#x393;&omicron;&Sigma;"));
    EXPECT_FALSE(Finds("\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82", "&Lambda;&omicron;&#x393;&omicron;&Sigma;"));
    // Several letters, each in its own form.
    EXPECT_TRUE(Finds("cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e", "CR&Egrave;ME br&ucirc;l\xE9" "e"));
    EXPECT_FALSE(Finds("cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e", "cr&egrave;me brul&eacute;e"));
    // A form that begins another must not hide the longer one.
    EXPECT_TRUE(Finds("\xC3\xAC" "n", "&igrave;n", TLetterCase::Exact));
    EXPECT_TRUE(Finds("\xC3\xAC" "n", "&igraven", TLetterCase::Exact));
    // A typed byte that is not UTF-8 is read as Windows-1252.
    EXPECT_TRUE(Finds("caf\xE9", "caf&eacute;"));
}

TEST(StoredForms, WholeWordsAndTypedBytes)
{
    using enum TStringSearchType;
    for (const char* page : {"le caf&eacute; noir", "le caf&#233;.", "le caf\xC3\xA9", "le CAF\xC9, oui"})
        EXPECT_TRUE(Finds("caf\xC3\xA9", page, TLetterCase::Fold, sst_Word)) << page;
    for (const char* page : {"les caf&eacute;s", "les caf&#233;s", "les caf\xC3\xA9s", "les caf\xE9s", "decaf\xE9 x"})
        EXPECT_FALSE(Finds("caf\xC3\xA9", page, TLetterCase::Fold, sst_Word)) << page;
    // The boundary is tested after the whole form, whichever form it is.
    EXPECT_FALSE(Finds("\xC3\xAC", "x &igrave;y", TLetterCase::Exact, sst_Word));
    EXPECT_TRUE(Finds("\xC3\xAC", "x &igrave ", TLetterCase::Exact, sst_Word));

    // Typed: the bytes as they stand, nothing else.
    EXPECT_TRUE(Finds("caf\xC3\xA9", "caf\xC3\xA9", TLetterCase::Fold, sst_Normal, TStoredForms::Typed));
    EXPECT_FALSE(Finds("caf\xC3\xA9", "caf&eacute;", TLetterCase::Fold, sst_Normal, TStoredForms::Typed));
    EXPECT_FALSE(Finds("caf\xC3\xA9", "CAF\xC3\x89", TLetterCase::Fold, sst_Normal, TStoredForms::Typed));
}

TEST(StoredForms, CarriedTailCoversTheLongestForm)
{
    const TSearchPattern plain("dog", TLetterCase::Fold, TStoredForms::All);
    EXPECT_EQ(plain.MaxLength(), 3u);
    EXPECT_EQ(plain.Text(), "DOG");
    const TSearchPattern word("caf\xC3\xA9", TLetterCase::Fold, TStoredForms::All);
    EXPECT_EQ(word.MaxLength(), 3 + MaxNumericReferenceLength);
    EXPECT_EQ(word.Text(), "CAF\xC3\xA9");
    std::string page = "caf&#x000000E9;";
    EXPECT_EQ(page.size(), 3 + MaxNumericReferenceLength) << "the longest reference accepted";
    EXPECT_TRUE(Finds("caf\xC3\xA9", page + "x"));
}

TEST(StoredForms, TypedCharactersReadAsTheirCodePoints)
{
    for (char32_t c : { char32_t(0x41), char32_t(0xE9), char32_t(0x7FF), char32_t(0x800), char32_t(0x20AC),
             char32_t(0xFFFD), char32_t(0x10000), char32_t(0x1F600), char32_t(0x10FFFF) }) {
        std::string bytes = "x";
        AppendUtf8(c, bytes);
        char32_t read = 0;
        EXPECT_EQ(NextTypedCharacter(bytes, 1, read), bytes.size() - 1) << unsigned(c);
        EXPECT_EQ(read, c);
    }
    // A byte that starts no well-formed sequence is a Windows-1252 character.
    for (const std::string& bytes : { std::string("\x80"), std::string("\xC3("), std::string("\xED\xA0\x80") }) {
        char32_t read = 0;
        EXPECT_EQ(NextTypedCharacter(bytes, 0, read), 1u);
        EXPECT_EQ(read, bytes[0] == '\x80' ? char32_t(0x20AC) : char32_t(static_cast<unsigned char>(bytes[0])));
    }
}
