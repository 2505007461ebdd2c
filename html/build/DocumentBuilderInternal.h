#pragma once
// The builder's module state and the routines its source files share. Only
// the HTMLUn2*.cpp files include this.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "html/layout/LayoutTypes.h"
#include "html/layout/TBlockStyle.h"
#include "html/layout/TTextStyle.h"
#include "html/build/DocumentBuilder.h"
#include "html/style/TPropStack.h"
#include "html/parse/TUrlTarget.h"

class TCellBasic;
class TSection;
class TBlock;
class TBodyBlock;
class TFormControlObj;

// A set of symbols (terminators and element groups).
class TSymbolSet {
public:
    TSymbolSet() = default;
    TSymbolSet(std::initializer_list<THtmlSymbol> symbols)
    {
        for (THtmlSymbol s : symbols)
            FBits[s] = true;
    }
    bool Has(THtmlSymbol s) const { return FBits[s]; }
    TSymbolSet operator+(const TSymbolSet& other) const
    {
        TSymbolSet r = *this;
        for (size_t i = 0; i < FBits.size(); ++i)
            r.FBits[i] = r.FBits[i] || other.FBits[i];
        return r;
    }

private:
    std::array<bool, 256> FBits{};
};

extern const TSymbolSet InlineSet;
extern const TSymbolSet CellTerminators;
extern const TSymbolSet ListItemTerminators;
extern const TSymbolSet BodyStartSet;

// Containers nest at most this deep in the builder; deeper ones are read as
// if their tags were unknown, so their content still shows.
constexpr int MaxBuildDepth = 150;
constexpr int MaxTableNesting = 10;

struct TBuildContext {
    TSectionList* doc = nullptr;
    TStyleList* styles = nullptr;
    const THtmlParseEvents* events = nullptr;
    THtmlParseSettings settings;
    THtmlParseResult* result = nullptr;

    TCellBasic* cell = nullptr;
    std::unique_ptr<TSection> section;
    TBodyBlock* body = nullptr;
    TPropStack stack;
    // What each element has after it, learned while reading (see
    // HtmlParseString).
    TLaterSiblings laterSiblings;
    // Only a reading that may be followed by a second one learns.
    bool learnLaterSiblings = false;
    TUrlTarget link;
    bool linkOpen = false;
    int listLevel = 0;
    int tableLevel = 0;
    int depth = 0;
    bool noBreak = false;
    bool inPre = false;
    // The BUTTON being read, when it belongs to a form: its text clicks it.
    TFormControlObj* button = nullptr;
    int baseFontSize = 3;
    std::string title, base, baseTarget;
    // IDs the reader met, with their source positions, entered in the
    // document's ID list when the build ends (see RegisterReaderIDs).
    std::vector<std::pair<std::string, int32_t>> readerIDs;
};
extern TBuildContext Build;

// Raises the build depth for one container; false when too deep.
class TDepthGuard {
public:
    TDepthGuard() : FEntered(Build.depth < MaxBuildDepth) { if (FEntered) ++Build.depth; }
    ~TDepthGuard() { if (FEntered) --Build.depth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;
    bool Entered() const { return FEntered; }

private:
    bool FEntered;
};

// Styles of the layout objects from property sets (HTMLUn2Styles.cpp).
TBlockStyle BlockStyleOf(const TProperties& props);
TTextStyle TextStyleOf(const TProperties& props);
TTextFont TextFontOf(const ThtFontInfo& info);
std::string Utf8Of(const std::u16string& text);

// One reading of an HTML document into document (DocumentBuilder.cpp).
THtmlParseResult ReadHtmlDocument(std::string_view text, TSectionList& document, TStyleList& styles,
                                  const THtmlParseSettings& settings, const THtmlParseEvents& events);

// Common steps (HTMLUn2.cpp).
inline TReaderState& R() { return ReadState; }
TAttributeList& Attrs();
const TAttribute* Attr(THtmlSymbol which);
std::string AttrText(THtmlSymbol which);
// The current tag's MEDIA attribute, or empty.
std::string MediaAttribute();
// A style sheet's text (line ends as CR LF) and its folder or URL, by the
// name a LINK or @import gives; false when it cannot be read.
bool ReadStyleSheet(const std::string& href, std::string& text, std::string& basePath);
int AttrValue(THtmlSymbol which, int fallback);
TProperties* PushTag(const std::string& tag, const std::string& pseudo = {});
void PopTag(const std::string& tag);
// An inline element the styles hide: its text and pictures are left out.
void HideIfDisplayNone(const TProperties* props);
// The reader keeps the spaces and line ends of text whose white-space
// says so (the style on top of the stack).
void FollowWhiteSpace();
void StartInlineBoxIfNeeded();
void ChangeFont();
void StartSection();
void EnsureSection();
void CloseSection();
// Frees the current section without adding it anywhere.
void DropSection();
TBlock* EnterBlock(std::unique_ptr<TBlock> block);
void LeaveBlock(TBlock* block, TCellBasic* parent);
void HideIfEmpty(TBlock* block);
void CloseLink();
// /A: closes the open link, or ends an anchor that named a place without one.
void AnchorEnd();
void ApplyAlign(TProperties* props);
void AddToken();
void BodyLoop(const TSymbolSet& terminators);
void ElementHandler(const TSymbolSet& terminators);
void SkipToNext();
// False when the link was boxed (floated or an inline block) and read
// through its end symbol.
bool AnchorStart();

// Flex and grid containers (DocumentBuilderFlex.cpp): the block of an
// element's style in the current cell, a flex or grid container when its
// display says so; inside such a container it takes part as an item.
std::unique_ptr<TBlock> NewBlockFor(TBlockStyle style);
bool InItemsContainer();
// Called with the body's style when the body opens: a flex or grid body
// arranges its content in a box of its own inside the body block.
void EnterBodyItems(const TBlockStyle& bodyStyle);

// Blocks (HTMLUn2Blocks.cpp).
void Paragraph(const TSymbolSet& terminators);
void Heading(const TSymbolSet& terminators);
void ListElement(const TSymbolSet& terminators);
void ListItem(TListKind kind, int number, char numbering, bool plain, const TSymbolSet& terminators);
void BlockContainer(const TSymbolSet& terminators);
void Preformatted();
void LineBreak(const TSymbolSet& terminators);
// Skips the white space after a start tag: true when there was some.
bool SkipSpacesAfterTag();
// The same for the element on top of the stack: the white space is its
// content (":empty" does not match it), though no text is made of it.
void SkipContentSpaces();
// An inline element whose style floats it (tag pushed, at its start symbol):
// false when it does not float; else its content becomes a floated block,
// read through the element's end symbol.
// An absolutely positioned inline element is read the same way, and one
// shown as display: inline-block too, its block standing in the line.
bool FloatedInline(const std::string& tag, THtmlSymbol start, THtmlSymbol end);
// The block of the style on top of the stack (DocumentBuilderInlineBlocks.cpp).
std::unique_ptr<TBlock> NewBlock();
bool IsInlineBlock(const TProperties& props);
// Whether the current section holds more than spaces: a line is open.
bool LineHasText();
// position: absolute or fixed given to the element itself.
bool IsPositionedOut(const TProperties& props);
// Reads a block (fill) that stands out of the line being built: the line
// goes on after it instead of breaking.
void OutOfLineBlock(const std::function<void()>& fill);
// Makes an inline block in the current line: fill reads the element into
// the cell that holds the box (Build.cell while it runs).
void InlineBlockBox(const std::function<void()>& fill);
// A block-level element (tag pushed, at its start symbol) shown as
// display: inline-block: its block stands in the current line, filled by
// readContent, and the tag is popped at its end.
void InlineBlockElement(const std::string& tag, const std::function<void()>& readContent);

// Tables, fonts, head elements (HTMLUn2Tables.cpp, HTMLUn2Head.cpp).
void Table();
void FontElement(TFontTable table);
void LinkElement();
void MetaElement();
void BodyElement();
// Character set number of a name by the 46-entry table (30: EUC-JP, 31:
// ISO 8859-2); -1 when none of the entries occurs in it.
int CharsetOfName(const std::string& lowerName);

// Images, panels, rules, page breaks and image maps (HTMLUn2Images.cpp).
// IMG or PANEL at the current symbol, added to the current section.
void ImageElement();
void RuleElement();
void PageBreak();
// MAP: read up to and past /MAP; without /MAP the map is dropped.
void ImageMap();

// Forms (HTMLUn2Forms.cpp).
void FormStart();
void FormEnd();
// INPUT, SELECT or TEXTAREA at the current symbol: its controls go to the
// current section, SELECT reads its options and TEXTAREA its text. True when
// the next symbol is already current (after SELECT's options).
bool FormControl();
// BUTTON start and end (DocumentBuilderForms.cpp): a button inside a form
// gets a control that its content's text clicks.
void ButtonStart();
void ButtonEnd();
