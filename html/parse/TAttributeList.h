#pragma once
// The attributes of the current tag, with the derived values the builder asks
// for (class, ID, title, the STYLE attribute's property set).
#include "html/parse/Forward.h"
#include "html/parse/TAttribute.h"

#include <memory>
#include <string>
#include <vector>

// A property set made by the style module. The deleter travels with the pointer,
// so the reader never needs the complete TProperties type.
using TPropertiesDeleter = void (*)(TProperties*);
using TOwnedProperties = std::unique_ptr<TProperties, TPropertiesDeleter>;
// Parses inline declarations ("color: red; margin: 0") into a new property set.
using TInlineStyleParser = TOwnedProperties (*)(const std::string& declarations);

class TAttributeList {
public:
    TAttributeList();
    // Copies the attributes only; the parsed STYLE property set is not shared.
    TAttributeList(const TAttributeList& other);
    TAttributeList& operator=(const TAttributeList& other);
    ~TAttributeList();

    void Clear();
    void Add(TAttribute attribute);

    // The first attribute with that symbol, or null.
    const TAttribute* Find(THtmlSymbol which) const;
    // One "NAME=value" line per attribute, in order.
    std::vector<std::string> CreateStringList() const;
    // Lower-case value of CLASS, or empty.
    std::string TheClass() const;
    // Lower-case value of ID, or empty; cached until the list is cleared.
    const std::string& TheID();
    // Value of TITLE, case kept, or empty.
    std::string TheTitle() const;
    // The STYLE attribute's text, or null when there is none.
    const std::string* StyleText() const;
    // The STYLE attribute's declarations as a property set owned by this list
    // (replaced on each call); null without a STYLE attribute or while no
    // parser is installed.
    TProperties* TheStyle();

    // Installed once by the style module so that TheStyle can parse.
    static void SetInlineStyleParser(TInlineStyleParser parser);

    size_t Count() const { return FItems.size(); }
    const TAttribute& operator[](size_t index) const { return FItems[index]; }
    std::vector<TAttribute>::const_iterator begin() const { return FItems.begin(); }
    std::vector<TAttribute>::const_iterator end() const { return FItems.end(); }

private:
    std::vector<TAttribute> FItems;
    TOwnedProperties FStyleProps;
    std::string FCachedID;
    bool FIDCached = false;
};
