#pragma once
// The style of one element: the 55 property values with their set-here
// flags, the element's identity for the cascade, and what is derived from
// the values (character set, code page, em and ex sizes, the font, the four
// link fonts).
#include <array>
#include <bitset>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "html/style/StyleValues.h"
#include "html/style/TAncestorFilter.h"
#include "html/style/TFontInfoArray.h"
#include "html/style/TMyFont.h"
#include "html/style/ValueFunctions.h"

class TStyleList;
class TProperties;
struct TStyleRule;
struct TElementFacts;
struct TChildRecord;
using TPropertiesRef = std::shared_ptr<TProperties>;
// The property sets of the open elements below a set, the document's base set
// first and the parent last.
using TPropertySpan = std::span<const TProperties* const>;

// Alignment codes, shared by the ALIGN attribute and the vertical-align,
// float and text-align readers.
enum class TAlignment : uint8_t { None = 0, Top = 1, Middle = 2, Baseline = 3, Bottom = 4, Left = 5, Right = 6, Justify = 7, Sub = 8, Super = 9 };
// The ALIGN attribute of images and objects.
TAlignment AlignmentFromText(std::string_view text);
enum class TClear : uint8_t { None, Left, Right, Both };
enum class TPositionType : uint8_t { Static, Absolute, Relative };
enum class TBackgroundRepeat : uint8_t { None, Horizontal, Vertical, Both };

// Properties 9..34 resolved to pixels (index 0 is background-color).
struct TBoxValues {
    std::array<int, BoxValueCount> values{};
    int autoCount = 0;
    bool defaultTopMargin = false;    // the paragraph default, not an explicit margin
    bool defaultBottomMargin = false;
    int operator[](int property) const { return values[property - FirstBoxValue]; }
};

// A length that may be a percentage of something the caller knows.
struct TLengthOrPercent {
    int value = 0;
    bool percent = false;
    friend bool operator==(const TLengthOrPercent&, const TLengthOrPercent&) = default;
};
struct TBackgroundPosition {
    TLengthOrPercent x;
    TLengthOrPercent y;
};

// What an inline declaration does with a colour it cannot read.
enum class TBadColor : uint8_t { Keep, Black };
// A declaration marked "!important" wins over normal ones for its property.
enum class TPriority : uint8_t { Normal, Important };

class TProperties {
public:
    TProperties();
    TProperties(const TProperties&) = delete;
    TProperties& operator=(const TProperties&) = delete;
    ~TProperties();

    // Values. Reading is cheap; every change drops the cached font.
    const TPropValue& value(int index) const { return FValues[index]; }
    const TPropValue& operator[](int index) const { return FValues[index]; }
    bool isSetHere(int index) const { return FSetHere[index]; }
    void setValue(int index, TPropValue value);
    // A declaration by property name, as a STYLE attribute gives it.
    void setPropertyByName(std::string_view name, std::string_view value, TPriority priority = TPriority::Normal);
    // Maps and stores a declaration's text (colours parsed, sides filled in).
    void storeDeclaration(int index, std::string_view value, TBadColor badColor);
    // Whether a declaration of that priority may replace what the set holds:
    // a normal one never replaces an important one.
    bool acceptsDeclaration(int index, TPriority priority) const
    {
        return priority == TPriority::Important || !FImportant[index];
    }
    // Marks the property (and the sides a border shorthand property fills) important.
    void markImportant(int index);
    bool isImportant(int index) const { return FImportant[index]; }

    void copyValuesFrom(const TProperties& source);
    void copyDefaultsFrom(const TProperties& defaults);
    void inherit(const TProperties& parent);
    // After an inner element was closed: takes the parent's values again for
    // everything not set at this level.
    void reinherit(const TProperties& parent, const TStyleList& styles, TPropertySpan below);
    // An HTML attribute's value: never overrides what this level set already.
    void assign(int index, TPropValue value);
    void setCharacterSet(int charset);
    // The cascade when the builder pushes a set. below holds the sets under it;
    // styleAttribute (may be null) is copied and kept for rebuilding link fonts.
    // complexMatches: the rules of the newer selector kinds that match the
    // element, when the caller has found them already.
    void combine(const TStyleList& styles, std::string_view tag, std::string_view cls, std::string_view id,
                 const TProperties* styleAttribute, std::u16string_view title, std::string_view pseudo,
                 TPropertySpan below, const std::vector<const TStyleRule*>* complexMatches = nullptr);

    // Fonts.
    TMyFont font() const;
    ThtFontInfo fontInfo() const;
    const TFontInfoArray* linkFonts() const { return FLinkFonts.get(); }
    bool isLink() const { return FIsLink; }

    TBoxValues boxValues(int widthBase, int heightBase, int emSize, int exSize) const;

    // Keyword readers.
    std::optional<TAlignment> verticalAlign() const;
    std::optional<TAlignment> floatValue() const;
    std::optional<TClear> clear() const;
    std::optional<TAlignment> textAlign() const;
    std::optional<TListStyle> listStyleType() const;
    std::optional<std::string> listStyleImage() const;
    std::optional<std::string> backgroundImage() const;
    TBackgroundPosition backgroundPosition() const;
    TBackgroundRepeat backgroundRepeat() const;
    bool backgroundFixed() const;
    bool isBold() const;
    TPositionType position() const;
    bool displayNone() const;
    int visibility() const;
    bool isHidden() const { return visibility() == VisibilityHidden; }
    int zIndex() const;
    // Pixels; -1 for normal.
    int lineHeight(int fontHeight) const;
    std::optional<TLengthOrPercent> textIndent() const;
    bool pageBreakBefore() const;
    bool pageBreakAfter() const;
    bool pageBreakInside() const;
    std::string fontVariant() const;
    bool hasVisibleBorder() const;
    // color and background-color when set at this level, else ClNone.
    TColor ownColor() const;
    TColor ownBackgroundColor() const;

    // Identity and derived state.
    int sequence() const { return FSequence; }
    const std::string& tag() const { return FTag; }
    const std::string& cls() const { return FClass; }
    const std::string& id() const { return FID; }
    const std::string& pseudo() const { return FPseudo; }
    const std::u16string& title() const { return FTitle; }
    const std::shared_ptr<const TProperties>& styleAttribute() const { return FStyleAttribute; }
    void setTag(std::string tag)
    {
        FTag = std::move(tag);
        touch();
    }
    int charset() const { return FCharset; }
    int codePage() const { return FCodePage; }
    void setCodePage(int codePage)
    {
        FCodePage = codePage;
        touch();
    }
    int emSize() const { return FEmSize; }
    int exSize() const { return FExSize; }
    // The text background of inline elements.
    TColor background() const { return FBackground; }
    void setBackground(TColor color);
    // The font size in points (the reference size when not yet a number).
    double fontSizePoints() const;

    // The tags, classes and IDs of the sets this one was combined under.
    const TAncestorFilter& ancestry() const { return FAncestry; }

    // The element's attributes and place among its siblings, when the
    // sheets have selectors that read them (else null).
    const TElementFacts* facts() const { return FFacts.get(); }
    void setFacts(std::shared_ptr<const TElementFacts> facts) { FFacts = std::move(facts); }
    // The children of the element so far, while it is open (else null).
    const TChildRecord* children() const { return FChildren; }
    void setChildren(const TChildRecord* children) { FChildren = children; }

    // Of a rule or STYLE set: the custom property declarations ("--x") and the
    // shorthands whose value reads a var(), in the order written; the cascade
    // resolves them for each element.
    void addDeferred(std::string_view name, std::string_view value);
    // Of an element's set: its custom properties (null when it has none).
    const TCustomProperties* customProperties() const { return FCustom.get(); }

    // What this set holds as a child's cascade reads it: its values, what is
    // derived from them (measured em and ex sizes included) and, through the
    // stamps of the sets it was combined under, the elements above it. Any
    // change gives the set a new stamp; a copy made with copyCombinedFrom
    // keeps its source's until it changes itself.
    uint64_t stamp() const { return FStamp; }
    // Everything the cascade put into source, stamp included (not the sequence number).
    void copyCombinedFrom(const TProperties& source);
    // After copyCombinedFrom for an element in another place: its own ID
    // (one no rule names, so the cascade's values and the stamp stay) and
    // the filter of the parent it is pushed under.
    void placeCopy(const TProperties& parent, std::string_view id);

private:
    // statesAbove: how many sets at the top of below are this same link in
    // other states (its own set, the visited one), not its ancestors.
    void cascade(const TStyleList& styles, std::string_view tag, std::string_view cls, std::string_view id,
                 const std::shared_ptr<const TProperties>& styleAttribute, std::u16string_view title,
                 std::string_view pseudo, TPropertySpan below,
                 const std::vector<const TStyleRule*>* complexMatches = nullptr, size_t statesAbove = 0);
    void applyRule(const TProperties& rule);
    // The values this set holds (not empty, not an unset box value), as of
    // its stamp.
    const std::bitset<PropCount>& declared() const;
    // A value with var() in it: substituted, or unset when it cannot be.
    void applyVariableValue(int index, const std::string& text);
    void applyDeferredShorthands(const TProperties& rule);
    void computeCustomProperties(const TProperties* parent, const std::vector<const TStyleRule*>& rules,
                                 const TProperties* styleAttribute);
    void resolveInherit(const TProperties* parent, const TProperties* base);
    void writeIntoLinkFonts(int index, const TPropValue& value);
    // The link fonts to change: this set's own, copied first when shared.
    TFontInfoArray& ownLinkFonts();
    // complexMatches: the rules of the newer selector kinds that match the
    // link in every state, when known.
    void buildLinkFonts(const TStyleList& styles, TPropertySpan below,
                        const std::vector<const TStyleRule*>* complexMatches = nullptr);
    void inheritValue(int index, const TProperties& parent, bool spanParent);
    void inheritDerived(const TProperties& parent);
    // Background, character set, code page, em and ex sizes and link fonts.
    void copyDerived(const TProperties& source);
    void dropFont()
    {
        FFont.reset();
        touch();
    }
    void touch() const;
    void takeAncestry(const TProperties& parent);
    TMyFont makeFont() const;
    const std::string* text(int index) const { return AsText(FValues[index]); }

    std::array<TPropValue, PropCount> FValues;
    std::bitset<PropCount> FSetHere;
    // For a rule or STYLE set: the declarations marked important. For an
    // element's set: the values an important declaration put there.
    std::bitset<PropCount> FImportant;
    std::string FTag = "default";
    std::string FClass;
    std::string FID;
    std::string FPseudo;
    std::u16string FTitle;
    std::shared_ptr<const TProperties> FStyleAttribute;
    int FSequence = 0;
    TColor FBackground = ClNone;
    int FCharset = 1;
    int FCodePage = 0;
    mutable int FEmSize = 16;
    mutable int FExSize = 8;
    // Both shared between the sets copied from one another (most elements
    // are copies of a set combined once) until one of them changes.
    mutable std::shared_ptr<const TMyFont> FFont;
    bool FIsLink = false;
    std::shared_ptr<const TFontInfoArray> FLinkFonts;
    TAncestorFilter FAncestry;
    mutable uint64_t FStamp = 0;
    mutable std::bitset<PropCount> FDeclared;
    mutable uint64_t FDeclaredStamp = 0;
    std::shared_ptr<const TElementFacts> FFacts;
    const TChildRecord* FChildren = nullptr;
    std::unique_ptr<TDeclarationList> FDeferred;
    std::shared_ptr<const TCustomProperties> FCustom;
};

// Picks the first installed font of a font-family list (generic families
// replaced, quotes removed); the first entry when none is installed.
std::string ResolveFontFamily(std::string_view families);

// The filter of a child's ancestors: the parent's own and the parent's keys.
TAncestorFilter ChildAncestry(const TProperties& parent);
