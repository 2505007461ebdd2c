#include "html/parse/HtmlReader.h"

#include "util/TEntity.h"
#include "util/AsciiCase.h"
#include "util/CodePage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

TReaderState ReadState;

namespace {

constexpr uint8_t Esc = 0x1B;
constexpr size_t ProgressStep = 4096;
constexpr size_t MaxNameLength = 255;
constexpr size_t MaxReferenceNameLength = 11;
constexpr size_t MaxTextAreaRun = 100;
constexpr int MaxScriptEndExtra = 6;
constexpr uint32_t ReferenceOverflow = 0x110000;
constexpr char16_t ReplacementChar = 0xFFFD;

// ---------------------------------------------------------------- character tests

bool IsDigit(uint8_t ch) { return ch >= '0' && ch <= '9'; }
bool IsUpperLetter(uint8_t ch) { return ch >= 'A' && ch <= 'Z'; }
bool IsLetter(uint8_t ch) { return IsUpperLetter(ch) || (ch >= 'a' && ch <= 'z'); }
bool IsAlnum(uint8_t ch) { return IsLetter(ch) || IsDigit(ch); }
bool IsHexDigit(uint8_t ch) { return IsDigit(ch) || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'); }
bool IsSpaceOrCR(uint8_t ch) { return ch == ' ' || ch == CR || ch == '\t'; }
bool IsWhite(uint8_t ch) { return ch == ' ' || ch == CR || ch == '\t' || ch == LF; }
uint8_t UpperCase(uint8_t ch) { return ch >= 'a' && ch <= 'z' ? static_cast<uint8_t>(ch - 32) : ch; }

int DigitValue(uint8_t ch)
{
    if (IsDigit(ch))
        return ch - '0';
    return (UpperCase(ch) - 'A') + 10;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return UpperCase(static_cast<uint8_t>(x)) == UpperCase(static_cast<uint8_t>(y));
           });
}

// ---------------------------------------------------------------- byte input

void ReportProgress()
{
    TReaderState& s = ReadState;
    if (!s.PreScan && s.OnProgress)
        s.OnProgress(static_cast<int64_t>(s.DocPos), static_cast<int64_t>(s.Doc.size()));
}

void LeaveInsertedText()
{
    TReaderState& s = ReadState;
    s.ReadingInserted = false;
    s.Inserted.clear();
    s.InsertedPos = 0;
    s.InsertEnds.clear();
}

uint8_t TakeByteSlow();

inline uint8_t TakeByte()
{
    TReaderState& s = ReadState;
    if (!s.ReadingInserted && s.DocPos + 1 < s.Doc.size() && (s.DocPos + 1) % ProgressStep != 0) {
        ++s.SourcePos;
        return static_cast<uint8_t>(s.Doc[s.DocPos++]);
    }
    return TakeByteSlow();
}

uint8_t TakeByteSlow()
{
    TReaderState& s = ReadState;
    if (s.ReadingInserted) {
        if (s.InsertedPos < s.Inserted.size())
            return static_cast<uint8_t>(s.Inserted[s.InsertedPos++]);
        LeaveInsertedText();
    }
    if (s.DocPos >= s.Doc.size())
        return 0;
    uint8_t byte = static_cast<uint8_t>(s.Doc[s.DocPos++]);
    ++s.SourcePos;
    if (s.DocPos % ProgressStep == 0)
        ReportProgress();
    return byte;
}

// The byte TakeByte would return next, without taking it.
uint8_t PeekByte()
{
    const TReaderState& s = ReadState;
    if (s.ReadingInserted && s.InsertedPos < s.Inserted.size())
        return static_cast<uint8_t>(s.Inserted[s.InsertedPos]);
    return s.DocPos < s.Doc.size() ? static_cast<uint8_t>(s.Doc[s.DocPos]) : 0;
}

// The byte after the one PeekByte sees.
uint8_t PeekSecondByte()
{
    const TReaderState& s = ReadState;
    size_t unreadInserted = s.ReadingInserted ? s.Inserted.size() - s.InsertedPos : 0;
    if (unreadInserted >= 2)
        return static_cast<uint8_t>(s.Inserted[s.InsertedPos + 1]);
    size_t docIndex = s.DocPos + (unreadInserted == 1 ? 0 : 1);
    return docIndex < s.Doc.size() ? static_cast<uint8_t>(s.Doc[docIndex]) : 0;
}

[[noreturn]] void ThrowOpenComment()
{
    throw EParseError(OpenCommentMessage);
}

// ReadChar, inlined into the readers' loops.
inline uint8_t ReadByte()
{
    TReaderState& s = ReadState;
    uint8_t byte = TakeByte();
    if ((byte == LF && s.LineEndState == 1) || (byte == CR && s.LineEndState == 2)) {
        // The second half of CR LF or LF CR; the pair is complete, so a further
        // line end starts a new one.
        s.LineEndState = 0;
        byte = TakeByte();
    }
    if (byte == LF) {
        byte = CR;
        s.LineEndState = 2;
    } else if (byte == CR) {
        s.LineEndState = 1;
    } else {
        s.LineEndState = 0;
    }
    s.TabRead = byte == '\t';
    if (s.TabRead)
        byte = ' ';
    s.Ch = byte;
    s.UpCh = UpperCase(byte);
    if (byte == 0 && s.InComment)
        ThrowOpenComment();
    return byte;
}

void SkipCommentOrDeclaration();

// NextChar, inlined into the readers' loops.
inline void Next()
{
    TReaderState& s = ReadState;
    for (;;) {
        ReadByte();
        if (s.Ch != '<' || s.InScript || PeekByte() != '!')
            return;
        SkipCommentOrDeclaration();
    }
}

std::string CutAtNul(std::string text)
{
    size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

// Reads `text` next, in front of whatever inserted text is still unread. The
// insertion is refused past MaxIncludeDepth nested insertions or MaxIncludedBytes
// in all, so an include that includes itself ends.
void InsertText(std::string text)
{
    TReaderState& s = ReadState;
    text = CutAtNul(std::move(text));
    if (text.empty())
        return;
    if (!s.ReadingInserted)
        s.InsertEnds.clear();
    while (!s.InsertEnds.empty() && s.InsertEnds.back() <= s.InsertedPos)
        s.InsertEnds.pop_back();
    if (s.InsertEnds.size() >= MaxIncludeDepth || text.size() > MaxIncludedBytes - s.IncludedBytes)
        return;
    s.IncludedBytes += text.size();
    std::string rest = s.ReadingInserted ? s.Inserted.substr(s.InsertedPos) : std::string();
    for (size_t& end : s.InsertEnds)
        end = end - s.InsertedPos + text.size();
    s.InsertEnds.push_back(text.size());
    s.Inserted = std::move(text) + rest;
    s.InsertedPos = 0;
    s.ReadingInserted = true;
}

// ---------------------------------------------------------------- Japanese text

uint16_t JisToShiftJis(uint8_t j1, uint8_t j2)
{
    uint8_t s1 = static_cast<uint8_t>(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
    uint8_t s2;
    if (j1 % 2 == 0)
        s2 = static_cast<uint8_t>(j2 + 0x7E);
    else
        s2 = static_cast<uint8_t>(j2 + 0x1F + (j2 >= 0x60 ? 1 : 0));
    return static_cast<uint16_t>((s1 << 8) | s2);
}

void AppendShiftJis(std::string& out, uint8_t j1, uint8_t j2)
{
    uint16_t code = JisToShiftJis(j1, j2);
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

bool HasIso2022JpEscape(std::string_view text)
{
    return text.find("\x1B$@") != std::string_view::npos || text.find("\x1B$B") != std::string_view::npos;
}

// ---------------------------------------------------------------- comments and includes

void SkipCommentBody()
{
    TReaderState& s = ReadState;
    for (;;) {
        while (s.Ch != '-')
            ReadByte();
        ReadByte();
        if (s.Ch != '-')
            continue;
        while (s.Ch == '-')
            ReadByte();
        while (s.Ch == ' ' || s.Ch == CR)
            ReadByte();
        if (s.Ch == '!')
            ReadByte();
        if (s.Ch == '>')
            return;
    }
}

void SkipDeclaration()
{
    while (ReadState.Ch != '>')
        ReadByte();
}

void SkipRawSpaces()
{
    while (ReadState.Ch == ' ' || ReadState.Ch == CR)
        ReadByte();
}

using Advance = void (*)();
void AdvanceRaw() { ReadByte(); }
std::string DecodeReferenceWith(Advance advance);

std::string ReadIncludeWord()
{
    std::string word;
    while (IsAlnum(ReadState.Ch) || ReadState.Ch == '_') {
        word.push_back(static_cast<char>(ReadState.Ch));
        ReadByte();
    }
    return word;
}

std::string ReadIncludeValue()
{
    TReaderState& s = ReadState;
    std::string value;
    if (s.Ch == '"' || s.Ch == '\'') {
        uint8_t quote = s.Ch;
        ReadByte();
        while (s.Ch != quote && s.Ch != 0) {
            if (s.Ch == '&') {
                value += DecodeReferenceWith(AdvanceRaw);
                continue;
            }
            value.push_back(static_cast<char>(s.Ch == CR ? ' ' : s.Ch));
            ReadByte();
        }
        if (s.Ch == quote)
            ReadByte();
        return value;
    }
    while (s.Ch != 0 && s.Ch != ' ' && s.Ch != CR && s.Ch != '-' && s.Ch != '>') {
        value.push_back(static_cast<char>(s.Ch));
        ReadByte();
    }
    return value;
}

std::vector<std::string> ReadIncludeParams()
{
    TReaderState& s = ReadState;
    std::vector<std::string> params;
    for (;;) {
        SkipRawSpaces();
        if (!IsLetter(s.Ch))
            return params;
        std::string name = ReadIncludeWord();
        SkipRawSpaces();
        std::string value;
        if (s.Ch == '=') {
            ReadByte();
            SkipRawSpaces();
            value = ReadIncludeValue();
        }
        params.push_back(name + "=" + value);
    }
}

// The comment began "<!--#": reads the command and its parameters, skips the rest
// of the comment, asks the include handler and reads its text next.
void RunIncludeDirective()
{
    TReaderState& s = ReadState;
    ReadByte();
    std::string command = ReadIncludeWord();
    std::vector<std::string> params = ReadIncludeParams();
    SkipCommentBody();
    s.InComment = false;
    std::string text;
    TokenObj ownToken;
    std::swap(ownToken, s.LCToken);
    try {
        s.OnInclude(command, params, text);
    } catch (...) {
        std::swap(ownToken, s.LCToken);
        throw;
    }
    std::swap(ownToken, s.LCToken);
    InsertText(std::move(text));
}

// The current character is the "<" of "<!", already peeked at: skips the comment,
// declaration or include directive up to its ">".
void SkipCommentOrDeclaration()
{
    TReaderState& s = ReadState;
    ReadByte(); // the "!"
    s.InComment = true;
    ReadByte();
    bool isComment = false;
    if (s.Ch == '-') {
        ReadByte();
        isComment = s.Ch == '-';
    }
    if (!isComment) {
        SkipDeclaration();
    } else {
        ReadByte();
        if (s.OnInclude && s.Ch == '#')
            RunIncludeDirective();
        else
            SkipCommentBody();
    }
    s.InComment = false;
}

// ---------------------------------------------------------------- character references

uint32_t ReadNumber(int base, Advance advance)
{
    TReaderState& s = ReadState;
    uint32_t value = 0;
    while (base == 16 ? IsHexDigit(s.Ch) : IsDigit(s.Ch)) {
        value = std::min<uint32_t>(value * base + DigitValue(s.Ch), ReferenceOverflow);
        advance();
    }
    return value;
}

// A reference value as one UTF-16 unit: what the 16-bit token cannot hold (above
// U+FFFF) and lone surrogates become U+FFFD.
char16_t ReferenceUnit(uint32_t value)
{
    if (value > 0xFFFF || (value >= 0xD800 && value <= 0xDFFF))
        return ReplacementChar;
    return static_cast<char16_t>(value);
}

// In UTF-8 and double-byte code pages a byte 128..255 is not a character of its
// own, so a numeric reference to it is read as the Windows-1252 byte it names.
bool ReadsHighBytesAsAnsi(int codePage)
{
    return codePage == CodePage::Utf8 || CodePage::IsDoubleByte(codePage);
}

char16_t AnsiByteChar(uint32_t value)
{
    std::string byte(1, static_cast<char>(value));
    return CodePage::ToUtf16(CodePage::Ansi, byte)[0];
}

struct NameChars {
    std::string name;
    std::vector<int32_t> positions;
};

NameChars ReadReferenceName(Advance advance)
{
    TReaderState& s = ReadState;
    NameChars chars;
    while (IsAlnum(s.Ch) && chars.name.size() < MaxReferenceNameLength) {
        chars.name.push_back(static_cast<char>(s.Ch));
        chars.positions.push_back(s.SourcePos);
        advance();
    }
    return chars;
}

void FlushText(int codePage)
{
    TReaderState& s = ReadState;
    if (!s.Collection.Empty()) {
        s.LCToken.AddString(s.Collection, codePage);
        s.Collection.Clear();
    }
}

void EmitReferenceValue(uint32_t value, int32_t pos, int codePage)
{
    TReaderState& s = ReadState;
    if (value == '\t' || value == '\r' || value == '\n') {
        // White space written as a reference (generators put "&#13;" before
        // every line end) is white space like any other.
        s.Collection.Add(' ', pos);
    } else if (value < 32) {
        s.Collection.Add('?', pos);
    } else if (value >= 256 || (value >= 128 && ReadsHighBytesAsAnsi(codePage))) {
        FlushText(codePage);
        s.LCToken.AddUnicodeChar(value >= 256 ? ReferenceUnit(value) : AnsiByteChar(value), pos);
    } else {
        // Goes through the document's code page with the text around it.
        s.Collection.Add(static_cast<char>(value), pos);
    }
}

void EmitNamedValue(char16_t value, int32_t pos, int codePage)
{
    FlushText(codePage);
    ReadState.LCToken.AddUnicodeChar(value, pos);
}

// One character reference in text (the current character is "&").
void ReadTextReference(int codePage)
{
    TReaderState& s = ReadState;
    TCharCollection& text = s.Collection;
    int32_t ampPos = s.SourcePos;
    Next();
    if (s.Ch == '#') {
        int32_t hashPos = s.SourcePos;
        Next();
        int base = 10;
        if (s.Ch == 'x' || s.Ch == 'X') {
            uint8_t x = s.Ch;
            int32_t xPos = s.SourcePos;
            Next();
            if (!IsHexDigit(s.Ch)) {
                text.Add('&', ampPos);
                text.Add('#', hashPos);
                text.Add(static_cast<char>(x), xPos);
                return;
            }
            base = 16;
        } else if (!IsDigit(s.Ch)) {
            text.Add('&', ampPos);
            text.Add('#', hashPos);
            return;
        }
        EmitReferenceValue(ReadNumber(base, NextChar), ampPos, codePage);
        if (s.Ch == ';')
            Next();
        return;
    }
    NameChars chars = ReadReferenceName(NextChar);
    if (auto value = LookupEntity(chars.name)) {
        EmitNamedValue(*value, ampPos, codePage);
        if (s.Ch == ';')
            Next();
        return;
    }
    text.Add('&', ampPos);
    for (size_t i = 0; i < chars.name.size(); ++i)
        text.Add(chars.name[i], chars.positions[i]);
}

std::string CharToCodePage(char16_t ch, int codePage)
{
    return CodePage::FromUtf16(codePage, std::u16string(1, ch));
}

std::string NumericReferenceBytes(uint32_t value, int codePage)
{
    if (value == '\t')
        return " ";
    if (value < 32)
        return "?";
    if (value >= 128 && value < 256 && ReadsHighBytesAsAnsi(codePage))
        return CharToCodePage(AnsiByteChar(value), codePage);
    if (value < 256)
        return std::string(1, static_cast<char>(value));
    return CharToCodePage(ReferenceUnit(value), codePage);
}

std::string DecodeReferenceWith(Advance advance)
{
    TReaderState& s = ReadState;
    int codePage = CurrentCodePage();
    std::string literal = "&";
    advance();
    if (s.Ch == '#') {
        literal.push_back('#');
        advance();
        int base = 10;
        if (s.Ch == 'x' || s.Ch == 'X') {
            literal.push_back(static_cast<char>(s.Ch));
            advance();
            if (!IsHexDigit(s.Ch))
                return literal;
            base = 16;
        } else if (!IsDigit(s.Ch)) {
            return literal;
        }
        uint32_t value = ReadNumber(base, advance);
        if (s.Ch == ';')
            advance();
        return NumericReferenceBytes(value, codePage);
    }
    NameChars chars = ReadReferenceName(advance);
    auto value = LookupEntity(chars.name);
    // Without its ";" only a Latin-1 name counts: "&euro" in a URL is literal text.
    if (value && (s.Ch == ';' || *value <= 255)) {
        if (s.Ch == ';')
            advance();
        return CharToCodePage(*value, codePage);
    }
    return literal + chars.name;
}

// ---------------------------------------------------------------- attribute values

// The value as a real number rounded to the nearest integer, halves to even;
// false when it is not entirely a number or does not fit.
bool ToRoundedInteger(std::string_view text, int32_t& result)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-')
        digits.remove_prefix(1);
    if (digits.empty() || !(IsDigit(static_cast<uint8_t>(digits.front())) || digits.front() == '.'))
        return false;
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        return false;
    result = static_cast<int32_t>(rounded);
    return true;
}

int32_t RoundedOrZero(std::string_view text)
{
    int32_t value = 0;
    return ToRoundedInteger(text, value) ? value : 0;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<uint8_t>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<uint8_t>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

void ReadQuotedValue(TAttribute& attribute)
{
    TReaderState& s = ReadState;
    uint8_t quote = s.Ch;
    Next();
    while (s.Ch != quote && s.Ch != 0) {
        if (s.Ch == '&') {
            attribute.Text += DecodeReference();
            continue;
        }
        if (s.Ch != CR)
            attribute.Text.push_back(static_cast<char>(s.Ch));
        Next();
    }
    if (s.Ch == quote)
        Next();
    std::string_view number = Trimmed(attribute.Text);
    if (!number.empty() && number.find('%') == number.size() - 1)
        number.remove_suffix(1);
    if (!number.empty() && (number[0] == '+' || number[0] == '-' || number[0] == '.' || IsDigit(static_cast<uint8_t>(number[0]))))
        attribute.Value = RoundedOrZero(number);
}

// Collects value characters, references decoded, up to NUL, a space, CR, ">" or
// the extra stop character.
void CollectUnquoted(std::string& text, uint8_t extraStop)
{
    TReaderState& s = ReadState;
    while (s.Ch != 0 && !IsSpaceOrCR(s.Ch) && s.Ch != '>' && s.Ch != extraStop) {
        if (s.Ch == '&') {
            text += DecodeReference();
            continue;
        }
        text.push_back(static_cast<char>(s.Ch));
        Next();
    }
}

void ReadNumericValue(TAttribute& attribute)
{
    TReaderState& s = ReadState;
    CollectUnquoted(attribute.Text, '%');
    SkipSpaces();
    attribute.Value = RoundedOrZero(attribute.Text);
    if (s.Ch == '%') {
        attribute.Text.push_back('%');
        Next();
    }
}

void RegisterID(const TAttribute& attribute)
{
    TReaderState& s = ReadState;
    if (attribute.Which == IDSy && !attribute.Text.empty() && s.OnIDAttribute && !s.PreScan)
        s.OnIDAttribute(attribute.Text, s.SourcePos);
}

// ---------------------------------------------------------------- tags

// Sectioning and grouping elements of newer HTML, read as DIV blocks.
bool IsSectioningName(std::string_view upperName)
{
    for (std::string_view known : {"ARTICLE", "ASIDE", "DETAILS", "FIGCAPTION", "FIGURE", "FOOTER", "HEADER",
                                   "HGROUP", "MAIN", "NAV", "SECTION", "SUMMARY"})
        if (upperName == known)
            return true;
    return false;
}

std::string ReadTagName();

// Drops an element's content up to its end tag, leaving the reader at that
// tag's ">" (inline drawings: their text is labels, not document text). The
// element reads as an unknown tag.
void SkipToEndTag(std::string_view upperName)
{
    TReaderState& s = ReadState;
    s.Sy = UnknownTagSym;
    while (s.Ch != 0) {
        if (s.Ch != '<') {
            Next();
            continue;
        }
        Next();
        if (s.Ch != '/')
            continue;
        Next();
        if (ReadTagName() == upperName) {
            while (s.Ch != '>' && s.Ch != 0)
                Next();
            return;
        }
    }
}

// An inline drawing (SVG) from its start tag at tagStart to its end tag:
// read as a picture (IMG named "svg") whose data is the element's text;
// as an unknown tag when that text is not at hand or too large.
void ReadInlineDrawing(size_t tagStart)
{
    TReaderState& s = ReadState;
    s.InlineDrawing.clear();
    SkipToEndTag("SVG");
    if (tagStart == std::string_view::npos || s.ReadingInserted || s.Ch != '>' || s.DocPos <= tagStart)
        return;
    std::string_view text = s.Doc.substr(tagStart, s.DocPos - tagStart);
    if (text.size() > MaxInlineDrawingBytes || !text.starts_with('<') || !text.ends_with('>'))
        return;
    s.InlineDrawing = std::string(text);
    s.Sy = ImageSy;
    s.BlockTagName = "svg";
}

std::string ReadTagName()
{
    TReaderState& s = ReadState;
    std::string name;
    while (IsUpperLetter(s.UpCh) || IsDigit(s.UpCh)) {
        if (name == "H" && s.Ch >= '1' && s.Ch <= '6')
            break;
        if (name.size() < MaxNameLength)
            name.push_back(static_cast<char>(s.UpCh));
        Next();
    }
    return name;
}

void ReadHeadingLevel()
{
    TReaderState& s = ReadState;
    s.HeadingLevel = 0;
    if ((s.Sy == HSy || s.Sy == HEndSy) && s.Ch >= '1' && s.Ch <= '6') {
        s.HeadingLevel = s.Ch - '0';
        Next();
    }
}

void ReadAttributes()
{
    TReaderState& s = ReadState;
    if (!s.Attributes)
        s.Attributes = std::make_unique<TAttributeList>();
    s.Attributes->Clear();
    TAttribute attribute;
    while (ReadAttribute(attribute))
        s.Attributes->Add(std::move(attribute));
}

// ---------------------------------------------------------------- raw content

void ReadScriptTagPiece(std::string& script)
{
    TReaderState& s = ReadState;
    std::string piece = "<";
    Next();
    while (s.UpCh == '/' || IsUpperLetter(s.UpCh)) {
        piece.push_back(static_cast<char>(s.Ch));
        Next();
    }
    bool isEnd = EqualsNoCase(piece, "</script");
    s.Sy = isEnd ? ScriptEndSy : TextSym;
    // The few characters taken after the collection never include a "<":
    // in "if (x<y) {}</script>" it starts the end tag, which must still be seen.
    for (int i = 0; i < MaxScriptEndExtra && s.Ch != 0 && s.Ch != '>' && s.Ch != '<'; ++i) {
        piece.push_back(static_cast<char>(s.Ch == CR ? ' ' : s.Ch));
        Next();
    }
    if (s.Ch == '>') {
        piece.push_back('>');
        if (isEnd)
            s.InScript = false;
        Next();
    }
    if (!isEnd)
        script += piece;
}

std::string ReadScriptText()
{
    TReaderState& s = ReadState;
    std::string script;
    s.Sy = TextSym;
    while (s.Sy != ScriptEndSy && s.Ch != 0) {
        if (s.Ch == CR) {
            s.Sy = EolSym;
            script += "\r\n";
            Next();
        } else if (s.Ch != '<') {
            s.Sy = TextSym;
            do {
                script.push_back(static_cast<char>(s.Ch));
                Next();
            } while (s.Ch != 0 && s.Ch != CR && s.Ch != '<');
        } else {
            ReadScriptTagPiece(script);
        }
    }
    return script;
}

std::string AttributeText(THtmlSymbol which)
{
    const TReaderState& s = ReadState;
    const TAttribute* found = s.Attributes ? s.Attributes->Find(which) : nullptr;
    return found != nullptr ? found->Text : std::string();
}

} // namespace

// ---------------------------------------------------------------- document set-up

std::string Iso2022JpToShiftJis(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool doubleByte = false;
    int pending = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t byte = static_cast<uint8_t>(text[i]) & 0x7F;
        if (byte == Esc && i + 2 < text.size()) {
            uint8_t b1 = static_cast<uint8_t>(text[i + 1]) & 0x7F;
            uint8_t b2 = static_cast<uint8_t>(text[i + 2]) & 0x7F;
            bool toSingle = b1 == '(' && (b2 == 'B' || b2 == 'J');
            bool toDouble = b1 == '$' && (b2 == '@' || b2 == 'B');
            if (toSingle || toDouble) {
                if (pending >= 0)
                    out.push_back(static_cast<char>(pending));
                pending = -1;
                doubleByte = toDouble;
                i += 2;
                continue;
            }
        }
        if (!doubleByte) {
            out.push_back(static_cast<char>(byte));
        } else if (pending < 0) {
            pending = byte;
        } else {
            AppendShiftJis(out, static_cast<uint8_t>(pending), byte);
            pending = -1;
        }
    }
    if (pending >= 0)
        out.push_back(static_cast<char>(pending));
    return out;
}

std::string EucJpToShiftJis(std::string_view text)
{
    // Byte for byte the same length, so a read position stays valid.
    std::string out;
    out.reserve(text.size());
    int pending = -1;
    for (char c : text) {
        uint8_t byte = static_cast<uint8_t>(c);
        if (byte <= 0xA0) {
            if (pending >= 0)
                out.push_back(static_cast<char>(pending));
            pending = -1;
            out.push_back(c);
        } else if (pending < 0) {
            pending = byte;
        } else {
            AppendShiftJis(out, static_cast<uint8_t>(pending & 0x7F), byte & 0x7F);
            pending = -1;
        }
    }
    if (pending >= 0)
        out.push_back(static_cast<char>(pending));
    return out;
}

void InstallDocument(std::string document, BomHandling bom)
{
    TReaderState& s = ReadState;
    s.DocText = std::move(document);
    InstallDocumentView(s.DocText, bom);
}

void InstallDocumentView(std::string_view document, BomHandling bom)
{
    TReaderState& s = ReadState;
    if (document.data() != s.DocText.data())
        std::string().swap(s.DocText);
    s.Doc = document.substr(0, document.find('\0'));
    s.BaseCharSet = -1;
    s.BaseCodePage = 0;
    s.ConvertedJapanese = false;
    s.DefaultCodePage = CodePage::Ansi;
    static constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
    if (bom == BomHandling::Recognise && s.Doc.size() > 3 && std::string_view(s.Doc).starts_with(Utf8Bom)) {
        s.Doc.remove_prefix(Utf8Bom.size());
        s.BaseCharSet = 0;
        s.BaseCodePage = CodePage::Utf8;
    } else if (HasIso2022JpEscape(s.Doc)) {
        s.DocText = Iso2022JpToShiftJis(s.Doc);
        s.Doc = s.DocText;
        s.ConvertedJapanese = true;
        s.BaseCharSet = 128;
        s.BaseCodePage = CodePage::ShiftJis;
    } else if (CodePage::LooksLikeUtf8(s.Doc)) {
        s.DefaultCodePage = CodePage::Utf8;
    }
    if (!s.Attributes)
        s.Attributes = std::make_unique<TAttributeList>();
    RestartReading();
}

void RestartReading()
{
    TReaderState& s = ReadState;
    s.DocPos = 0;
    s.SourcePos = -1;
    LeaveInsertedText();
    s.IncludedBytes = 0;
    s.InComment = false;
    s.InScript = false;
    s.KeepWhite = false;
    s.LineEndState = 0;
    s.Ch = 0;
    s.UpCh = 0;
    s.Sy = EofSym;
    s.HeadingLevel = 0;
    s.TagPos = 0;
    s.LCToken.Clear();
    s.Collection.Clear();
    Next();
}

void ReleaseDocument()
{
    TReaderState& s = ReadState;
    s.Doc = {};
    std::string().swap(s.DocText);
    s.DocPos = 0;
    LeaveInsertedText();
    std::string().swap(s.Inserted);
}

void ConvertDocumentFromEucJp()
{
    TReaderState& s = ReadState;
    if (s.ConvertedJapanese)
        return;
    s.DocText = EucJpToShiftJis(s.Doc);
    s.Doc = s.DocText;
    s.ConvertedJapanese = true;
}

int CurrentCodePage()
{
    const TReaderState& s = ReadState;
    int codePage = s.TopCodePage ? s.TopCodePage() : s.BaseCodePage;
    return codePage == CodePage::SystemDefault ? s.DefaultCodePage : codePage;
}

// ---------------------------------------------------------------- characters

uint8_t ReadChar()
{
    return ReadByte();
}

uint8_t PeekChar()
{
    const TReaderState& s = ReadState;
    uint8_t byte = PeekByte();
    if ((byte == LF && s.LineEndState == 1) || (byte == CR && s.LineEndState == 2))
        byte = PeekSecondByte();
    if (byte == LF)
        return CR;
    return byte == '\t' ? ' ' : byte;
}

void NextChar()
{
    Next();
}

void SkipSpaces()
{
    while (IsSpaceOrCR(ReadState.Ch))
        Next();
}

// ---------------------------------------------------------------- symbols

void NextSymbol()
{
    TReaderState& s = ReadState;
    s.LCToken.Clear();
    if (s.Ch == 0) {
        s.Sy = EofSym;
        return;
    }
    if (s.Ch == '<') {
        ReadTag();
        return;
    }
    if (!ReadText())
        throw EParseError(NotHtmlMessage);
}

void ReadTag()
{
    TReaderState& s = ReadState;
    s.TagPos = s.SourcePos;
    // Where the tag starts in the document's text (an inline drawing is
    // handed on whole); not known in inserted text.
    const size_t tagStart = s.ReadingInserted || s.DocPos == 0 ? std::string_view::npos : s.DocPos - 1;
    Next();
    TagForm form = TagForm::Start;
    if (s.Ch == '/') {
        form = TagForm::End;
        Next();
    } else if (!IsUpperLetter(s.UpCh)) {
        // A "<" that starts no tag is text.
        s.Sy = TextSym;
        s.LCToken.AddUnicodeChar(u'<', s.TagPos);
        return;
    }
    const std::string name = ReadTagName();
    s.Sy = LookupTag(name, form);
    s.BlockTagName.clear();
    if (s.Sy == UnknownTagSym && IsSectioningName(name)) {
        s.Sy = form == TagForm::Start ? DivSy : DivEndSy;
        s.BlockTagName = AsciiLower(name);
    }
    // A push button holds its content: read as an inline element of its own
    // name (its default style draws the button around the content).
    if ((s.Sy == ButtonSy || s.Sy == UnknownTagSym) && name == "BUTTON") {
        s.Sy = form == TagForm::Start ? SpanSy : SpanEndSy;
        s.BlockTagName = "button";
    }
    SkipSpaces();
    ReadHeadingLevel();
    ReadAttributes();
    while (s.Ch != '>' && s.Ch != 0)
        Next();
    if (form == TagForm::Start && name == "SVG")
        ReadInlineDrawing(tagStart);
    if (s.Ch == '>' && s.Sy != ScriptSy && s.Sy != StyleSy)
        Next();
}

bool ReadAttribute(TAttribute& attribute)
{
    TReaderState& s = ReadState;
    attribute = TAttribute();
    SkipSpaces();
    if (!IsUpperLetter(s.UpCh))
        return false;
    while (IsUpperLetter(s.UpCh) || IsDigit(s.UpCh) || s.UpCh == '-') {
        if (attribute.Name.size() < MaxNameLength)
            attribute.Name.push_back(static_cast<char>(s.UpCh));
        Next();
    }
    attribute.Which = LookupAttribute(attribute.Name);
    SkipSpaces();
    attribute.Value = attribute.Which == BorderSy ? 1 : 0;
    if (s.Ch == '=') {
        Next();
        SkipSpaces();
        if (s.Ch == '"' || s.Ch == '\'')
            ReadQuotedValue(attribute);
        else if (s.Ch == '+' || s.Ch == '-' || IsDigit(s.Ch))
            ReadNumericValue(attribute);
        else
            CollectUnquoted(attribute.Text, 0);
    }
    RegisterID(attribute);
    return true;
}

bool ReadText()
{
    TReaderState& s = ReadState;
    s.Sy = TextSym;
    int codePage = CurrentCodePage();
    s.Collection.Clear();
    bool textRead = s.Ch > 8 && s.Ch != '<';
    while (s.Ch > 8 && s.Ch != '<') {
        if (s.Ch == '&') {
            FlushText(codePage);
            while (s.Ch == '&')
                ReadTextReference(codePage);
        } else if (s.KeepWhite && IsWhite(s.Ch)) {
            s.Collection.Add(s.Ch == CR ? char(LF) : ' ', s.SourcePos);
            Next();
        } else if (IsWhite(s.Ch)) {
            s.Collection.Add(' ', s.SourcePos);
            do
                Next();
            while (IsWhite(s.Ch));
        } else {
            do {
                s.Collection.Add(static_cast<char>(s.Ch), s.SourcePos);
                Next();
            } while (s.Ch > 10 && s.Ch != CR && s.Ch != ' ' && s.Ch != '&' && s.Ch != '<');
        }
        if (s.Ch <= 8 || s.Ch == '&' || s.Ch == '<')
            FlushText(codePage);
    }
    FlushText(codePage);
    return textRead;
}

void ReadReferenceInText() { ReadTextReference(CurrentCodePage()); }

std::string DecodeReference()
{
    return DecodeReferenceWith(NextChar);
}

// ---------------------------------------------------------------- raw content readers

void ReadScript()
{
    TReaderState& s = ReadState;
    struct ScriptFlag {
        ScriptFlag() { ReadState.InScript = true; }
        ~ScriptFlag() { ReadState.InScript = false; }
    } flag;
    if (s.Ch == '>')
        Next();
    std::string name = AttributeText(NameSy);
    std::string language = AttributeText(LanguageSy);
    std::string script = ReadScriptText();
    if (s.OnScript)
        s.OnScript(name, language, script);
}

THtmlSymbol ReadTextAreaPiece(std::string& piece)
{
    TReaderState& s = ReadState;
    piece.clear();
    if (s.Ch == 0) {
        s.Sy = EofSym;
    } else if (s.Ch == CR) {
        Next();
        s.Sy = EolSym;
    } else if (s.Ch == '<') {
        do {
            piece.push_back(static_cast<char>(s.Ch));
            Next();
        } while (s.Ch != 0 && !IsSpaceOrCR(s.Ch) && s.Ch != '>');
        s.Sy = EqualsNoCase(piece, "</textarea") ? TextAreaEndSy : UnknownTagSym;
    } else if (s.Ch == '&') {
        piece = DecodeReference();
        s.Sy = TextSym;
    } else {
        do {
            piece.push_back(static_cast<char>(s.Ch));
            Next();
        } while (piece.size() < MaxTextAreaRun && s.Ch != 0 && s.Ch != CR && s.Ch != '&' && s.Ch != '<');
        s.Sy = TextSym;
    }
    return s.Sy;
}

void ReadTextAreaContent(const std::function<void(const std::string& line)>& addLine)
{
    TReaderState& s = ReadState;
    std::string line;
    std::string piece;
    for (;;) {
        THtmlSymbol sy = ReadTextAreaPiece(piece);
        if (sy == TextAreaEndSy || sy == EofSym)
            break;
        if (sy == EolSym) {
            addLine(line + "\r\n");
            line.clear();
        } else {
            line += piece;
        }
    }
    while (s.Ch != '>' && s.Ch != 0)
        Next();
    if (s.Ch == '>')
        Next();
    if (!line.empty())
        addLine(line);
}
