// The builder's images, panels, horizontal rules, page breaks and image maps.
#include <cctype>
#include <memory>
#include <optional>
#include <vector>

#include "html/build/ObjectStyleAdapter.h"
#include "html/layout/TCellBasic.h"
#include "html/layout/THRBlock.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TMapItem.h"
#include "html/layout/TPage.h"
#include "html/layout/TPanelObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilderInternal.h"

namespace {

std::optional<TRuleAlign> RuleAlignOf(std::optional<TAlignment> align)
{
    if (!align)
        return std::nullopt;
    switch (*align) {
    case TAlignment::Left: return TRuleAlign::Left;
    case TAlignment::Middle: return TRuleAlign::Center;
    case TAlignment::Right: return TRuleAlign::Right;
    default: return std::nullopt;
    }
}

std::string UpperCased(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

void ImageElement()
{
    const bool isImage = R().Sy == ImageSy;
    const bool drawing = isImage && R().BlockTagName == "svg";
    const std::string tag = drawing ? "svg" : isImage ? "img" : "panel";
    if (Build.stack.InsideHiddenInline()) {
        Build.stack.NoteContent();
        R().InlineDrawing.clear();
        return;
    }
    EnsureSection();
    if (drawing) {
        // An inline drawing shows as a picture of its own text.
        Attrs().Add(TAttribute(SrcSy, 0, "SRC", Build.doc->Objects.AddInlineDrawing(std::move(R().InlineDrawing))));
        R().InlineDrawing.clear();
    }
    const bool ownSet = PushTag(tag) != nullptr;
    std::unique_ptr<TFloatingObj> object;
    if (isImage)
        object = std::make_unique<TImageObj>(*Build.doc, Attrs());
    else
        object = std::make_unique<TPanelObj>(*Build.doc, Attrs());
    object->ApplyStyle(ObjectStyleOf(Build.stack.Top()));
    // A floating picture stands outside the lines and draws its border
    // itself; an inline box would frame the character before it instead.
    if (ownSet && !(isImage && object->Floats()))
        StartInlineBoxIfNeeded();
    Build.section->AddImage(std::move(object), R().TagPos);
    PopTag(tag);
}

void RuleElement()
{
    CloseSection();
    // Only an alignment the rule's own style gives wins over its ALIGN; the
    // one it inherits from the text around it does not.
    std::optional<TAlignment> aroundAlign = Build.stack.Top().textAlign();
    TProperties* props = PushTag("hr");
    if (!Build.cell) {
        if (props)
            PopTag("hr");
        return;
    }
    const TProperties& p = Build.stack.Top();
    std::optional<TAlignment> ownAlign = p.textAlign();
    std::optional<TRuleAlign> styleAlign = ownAlign != aroundAlign ? RuleAlignOf(ownAlign) : std::nullopt;
    Build.cell->AddSection(
        std::make_unique<THRBlock>(*Build.doc, *Build.cell, BlockStyleOf(p), Attrs(), p.ownColor(), styleAlign));
    if (props)
        PopTag("hr");
}

void PageBreak()
{
    CloseSection();
    if (Build.cell)
        Build.cell->AddSection(std::make_unique<TPage>(*Build.doc));
}

void ImageMap()
{
    std::string name = UpperCased(AttrText(NameSy));
    std::vector<TAttributeList> areas;
    int others = 0;
    NextSymbol();
    while (R().Sy != MapEndSy && R().Sy != EofSym) {
        if (R().Sy == AreaSy)
            areas.push_back(Attrs());
        else if (R().Sy != TextSym && ++others >= 3)
            return; // no /MAP: the map is dropped, the symbol stays current
        NextSymbol();
    }
    if (R().Sy != MapEndSy)
        return;
    TMapItem& map = Build.doc->Objects.AddMap(name);
    for (const TAttributeList& area : areas)
        map.AddArea(area);
    if (Build.result)
        Build.result->mapNames.push_back(name);
    NextSymbol();
}
