#pragma once
// The style sheet parser: a small, forgiving CSS subset read into the
// document's style list, or (for a STYLE attribute) into one property set.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TProperties;
class TStyleList;

// Byte 26 ends a sheet; a source may also end it with 0 (the HTML reader at
// the end of its input).
constexpr char EndOfSheet = 26;

// Where a sheet's bytes come from: the HTML reader for a STYLE element, a
// string for a loaded sheet.
class TStyleSource {
public:
    virtual ~TStyleSource() = default;
    // Takes the next byte; EndOfSheet or 0 at the end.
    virtual char next() = 0;
    // The byte next() would give, left in place.
    virtual char peek() = 0;
};

// A loaded sheet's text: LF and CR end lines, tabs are spaces, EndOfSheet at the end.
class TStringStyleSource : public TStyleSource {
public:
    explicit TStringStyleSource(std::string_view text) : FText(text) {}
    char next() override;
    char peek() override;

private:
    char translate(char c) const;
    std::string_view FText;
    size_t FPos = 0;
};

// The HTML reader (ReadChar) as the source of a STYLE element's content.
class TReaderStyleSource : public TStyleSource {
public:
    char next() override;
    char peek() override;
};

// Reads the sheet an @import names: the name is resolved against the
// importing sheet's folder or URL (as given for a STYLE element); fills the
// text and the sheet's own base path, false when it cannot be read.
using TSheetLoader = std::function<bool(const std::string& name, std::string& text, std::string& basePath)>;

// Reads rules into the list until the end or the "<" of the next tag.
// current is the reader's current character (for a STYLE element its ">").
// Returns the character where reading stopped ("<", EndOfSheet or 0).
char ParseStyleSheet(TStyleList& styles, char current, TStyleSource& source, std::string_view basePath = {},
                     const TSheetLoader& loader = {});
// A STYLE element's content, read from the HTML reader whose current
// character is the element's ">". The reader is left at the "<" of the next
// tag (or at the end of input).
void ParseStyleElement(TStyleList& styles);
// A loaded style sheet; relative url() values are resolved against basePath
// (a folder or a URL). name is the sheet's own, so that it is not imported
// again from inside itself.
void ParseStyleSheetText(TStyleList& styles, std::string_view text, std::string_view basePath = {},
                         const TSheetLoader& loader = {}, std::string_view name = {});

// A STYLE attribute's declarations, set on target by property name.
void ParsePropertyDeclarations(std::string_view text, TProperties& target);
std::unique_ptr<TProperties> ParsePropertyDeclarations(std::string_view text);
// The same, in the form the attribute list installs as its inline style parser
// (TAttributeList::SetInlineStyleParser): the deleter travels with the pointer.
std::unique_ptr<TProperties, void (*)(TProperties*)> NewInlineStyleProperties(const std::string& declarations);

// Shorthand properties ("margin", "font", "border"...) and their expansion
// into the properties they set.
bool IsShorthandName(std::string_view name);
std::vector<std::pair<std::string, std::string>> ExpandShorthand(const std::string& name, const std::string& value);

// A url() value resolved against a folder or URL base path.
std::string ResolveStyleUrl(std::string_view basePath, std::string_view value);
