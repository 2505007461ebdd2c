#pragma once
// The HTML reader: turns the bytes of one document into symbols for the builder.
//
// The reader is a pull machine with module-level state (ReadState): a parse entry
// installs the document, then calls NextSymbol (or one of the raw-content
// readers) and inspects Sy, HeadingLevel, TagPos, LCToken and Attributes. One
// document is read at a time; a callback must not start another parse.
//
// Typical use by the builder:
//     InstallDocumentView(text);                 // prepares input, loads the first character
//     ReadState.PreScan = true;  ... NextSymbol() loop ...  ReadState.PreScan = false;
//     RestartReading();                          // back to the start
//     NextSymbol();
//     while (ReadState.Sy != EofSym) { ... NextSymbol(); }
//     ReleaseDocument();
#include "html/parse/EParseError.h"
#include "html/parse/Forward.h"
#include "html/parse/TAttributeList.h"
#include "html/parse/TCharCollection.h"
#include "html/parse/THtmlSymbol.h"
#include "html/parse/TokenObj.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// An include directive in a comment (<!--#command name="value" ...-->). Params
// holds one "name=value" line per parameter; text put into IString is read at
// the place of the comment.
using TIncludeType = std::function<void(const std::string& Command, const std::vector<std::string>& Params, std::string& IString)>;
// A SCRIPT element: its NAME and LANGUAGE attributes and its content (line ends as CR LF).
using TScriptEvent = std::function<void(const std::string& Name, const std::string& Language, const std::string& Script)>;
// Progress through the main document, raised every 4096 bytes outside the pre-scan.
using TProgressEvent = std::function<void(int64_t Consumed, int64_t Total)>;
// An ID attribute read outside the pre-scan: its name and the source position
// of the character it stands at.
using TIDAttributeEvent = std::function<void(const std::string& Name, int32_t SourcePos)>;
// The code page of the property set on top of the builder's stack.
using TCodePageSource = std::function<int()>;

// Whether input preparation looks for a UTF-8 byte order mark (the frame-set head
// scan does not).
enum class BomHandling { Recognise, Ignore };

inline constexpr uint8_t CR = 13;
inline constexpr uint8_t LF = 10;
// How deep include directives may insert text that itself includes more text,
// and how much text all includes of one document may insert.
inline constexpr size_t MaxIncludeDepth = 16;
inline constexpr size_t MaxIncludedBytes = 16 * 1024 * 1024;
// Inline drawings larger than this are skipped, not drawn.
inline constexpr size_t MaxInlineDrawingBytes = 4 * 1024 * 1024;

struct TReaderState {
    // The main document, after input preparation, and the next byte to read.
    // It views the caller's text, or DocText when the reader owns or
    // converted the document.
    std::string_view Doc;
    std::string DocText;
    size_t DocPos = 0;
    // Text inserted by include directives that is still being read. InsertEnds
    // holds, outermost first, where each nested insertion ends in Inserted.
    std::string Inserted;
    size_t InsertedPos = 0;
    bool ReadingInserted = false;
    std::vector<size_t> InsertEnds;
    size_t IncludedBytes = 0;

    // The current character as read (after line-end folding), its ASCII
    // upper-case copy (tag, attribute and keyword tests look at it), the current
    // symbol, the heading level of an H symbol (0 otherwise), the source
    // position of the last tag's "<", and the source position of the current
    // character (-1 before the first; bytes of inserted text do not count).
    uint8_t Ch = 0;
    uint8_t UpCh = 0;
    THtmlSymbol Sy = EofSym;
    int HeadingLevel = 0;
    int32_t TagPos = 0;
    int32_t SourcePos = -1;

    bool InComment = false;         // a comment or <! declaration is being skipped
    bool InScript = false;          // "<!" opens no comment (SCRIPT content, plain text)
    int LineEndState = 0;           // 0 normal, 1 after CR, 2 after LF
    bool TabRead = false;           // the current space was a tab in the source
    // Text keeps every space and line end as read (white-space: pre and its
    // kin outside PRE); line ends come as LF.
    bool KeepWhite = false;
    // A newer sectioning element (SECTION, NAV...) read as DIV, or BUTTON
    // read as SPAN: its lower-case name, so that it keeps its own style
    // rules; empty for other tags.
    std::string BlockTagName;
    // The text of an inline drawing read as IMG named "svg", whole from its
    // start tag to its end tag; empty for other tags.
    std::string InlineDrawing;
    bool PreScan = false;           // counting pass: no progress, no IDs
    bool ConvertedJapanese = false; // the text was converted to Shift-JIS

    // What input preparation found out for the base property set: -1 / 0 when
    // nothing (UTF-8 byte order mark: character set 0, code page 65001;
    // ISO-2022-JP: character set 128).
    int BaseCharSet = -1;
    int BaseCodePage = 0;
    // What code page 0 (the system default) means for this document: UTF-8 when
    // its bytes are valid UTF-8 with some non-ASCII, else Windows-1252.
    int DefaultCodePage = 1252;

    TokenObj LCToken;                           // the current text run
    TCharCollection Collection;                 // bytes of the text run before conversion
    std::unique_ptr<TAttributeList> Attributes; // the current tag's attributes

    // Set by the builder: where an ID attribute's name and source position go
    // (empty: IDs are not registered) and the code page of its top property set
    // (empty: the base code page found by input preparation).
    TIDAttributeEvent OnIDAttribute;
    TCodePageSource TopCodePage;

    TIncludeType OnInclude;
    TScriptEvent OnScript;
    TProgressEvent OnProgress;

    int LinkCounter = 0; // numbers the links started with TUrlTarget::Start
};

extern TReaderState ReadState;

// Input preparation: cuts the document at its first NUL, recognises a UTF-8 byte
// order mark, converts ISO-2022-JP to Shift-JIS, decides the default code page,
// then reads the first character (which may raise EParseError).
void InstallDocument(std::string document, BomHandling bom = BomHandling::Recognise);
// The same over text the caller keeps unchanged until ReleaseDocument: a
// large document is then not held twice while it is read.
void InstallDocumentView(std::string_view document, BomHandling bom = BomHandling::Recognise);
// Back to the start of the installed document: position -1, no inserted text,
// flags cleared (not PreScan), first character read.
void RestartReading();
// Frees the document text and the inserted text.
void ReleaseDocument();
// Converts the whole document from EUC-JP to Shift-JIS in place, keeping the read
// position (a META character set asked for it); nothing if already converted.
void ConvertDocumentFromEucJp();

// The code page text is converted with now (0 resolved to the document default).
int CurrentCodePage();

// Takes the next byte, folds CR LF / LF CR / LF to CR and tab to space, sets Ch
// and UpCh; 0 at the end of input. The STYLE element parser reads through this.
uint8_t ReadChar();
// The character ReadChar would return next, without reading it.
uint8_t PeekChar();
// ReadChar, then drops comments, <! declarations and include directives that
// start at the new character.
void NextChar();
// NextChar while the current character is a space, tab or CR.
void SkipSpaces();
// Clears the token and reads the next tag, text run or end of input into Sy.
// Raises EParseError "Not an HTML or Text document" at control bytes 1..8.
void NextSymbol();
// Reads one tag with its attributes (the current character is "<").
void ReadTag();
// Reads one text run into LCToken; false when none starts here.
bool ReadText();
// Reads one attribute of a tag; false when no attribute starts here.
bool ReadAttribute(TAttribute& attribute);
// Reads one character reference (the current character is "&") into the
// text run, as text runs read them: a character the current code page holds
// joins the bytes in Collection, any other goes to LCToken as it is (after
// the bytes before it). Preformatted text reads its references so.
void ReadReferenceInText();
// Reads one character reference (the current character is "&") into bytes of
// the current code page; the characters read stay literal when it is none.
std::string DecodeReference();

// SCRIPT content, called with the ">" of the SCRIPT tag current: reads up to and
// including the end tag and hands the text to OnScript (dropped without one).
void ReadScript();
// One piece of TEXTAREA content: EofSym, EolSym (a line end), TextAreaEndSy (the
// end tag's "</textarea", its ">" still unread), UnknownTagSym (a "<..." piece that
// is text) or TextSym. `piece` receives the bytes.
THtmlSymbol ReadTextAreaPiece(std::string& piece);
// The whole TEXTAREA content: each line (with CR LF when it ended with a line
// end) goes to addLine; the end tag is consumed.
void ReadTextAreaContent(const std::function<void(const std::string& line)>& addLine);

// The Japanese conversions the reader applies to whole documents.
std::string Iso2022JpToShiftJis(std::string_view text);
std::string EucJpToShiftJis(std::string_view text);
