#include "html/parse/TAttributeList.h"

#include <cctype>

namespace {

TInlineStyleParser& InlineStyleParser()
{
    static TInlineStyleParser parser = nullptr;
    return parser;
}

void NoProperties(TProperties*) {}

std::string LowerCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

TAttributeList::TAttributeList() : FStyleProps(nullptr, NoProperties) {}

TAttributeList::TAttributeList(const TAttributeList& other) : FItems(other.FItems), FStyleProps(nullptr, NoProperties) {}

TAttributeList& TAttributeList::operator=(const TAttributeList& other)
{
    if (this != &other) {
        Clear();
        FItems = other.FItems;
    }
    return *this;
}

TAttributeList::~TAttributeList() = default;

void TAttributeList::Clear()
{
    FItems.clear();
    FCachedID.clear();
    FIDCached = false;
}

void TAttributeList::Add(TAttribute attribute)
{
    FItems.push_back(std::move(attribute));
}

const TAttribute* TAttributeList::Find(THtmlSymbol which) const
{
    for (const auto& item : FItems)
        if (item.Which == which)
            return &item;
    return nullptr;
}

std::vector<std::string> TAttributeList::CreateStringList() const
{
    std::vector<std::string> lines;
    lines.reserve(FItems.size());
    for (const auto& item : FItems)
        lines.push_back(item.Name + "=" + item.Text);
    return lines;
}

std::string TAttributeList::TheClass() const
{
    const TAttribute* found = Find(ClassSy);
    return found != nullptr ? LowerCase(found->Text) : std::string();
}

const std::string& TAttributeList::TheID()
{
    if (!FIDCached) {
        const TAttribute* found = Find(IDSy);
        FCachedID = found != nullptr ? LowerCase(found->Text) : std::string();
        FIDCached = true;
    }
    return FCachedID;
}

std::string TAttributeList::TheTitle() const
{
    const TAttribute* found = Find(TitleSy);
    return found != nullptr ? found->Text : std::string();
}

const std::string* TAttributeList::StyleText() const
{
    const TAttribute* found = Find(StyleSy);
    return found != nullptr ? &found->Text : nullptr;
}

TProperties* TAttributeList::TheStyle()
{
    const std::string* text = StyleText();
    TInlineStyleParser parser = InlineStyleParser();
    if (text == nullptr || parser == nullptr)
        return nullptr;
    FStyleProps = parser(*text);
    return FStyleProps.get();
}

void TAttributeList::SetInlineStyleParser(TInlineStyleParser parser)
{
    InlineStyleParser() = parser;
}
