// The builder's boxed inline elements: inline elements that float or are
// positioned out of the flow, which become blocks of their own, and
// elements shown as display: inline-block, whose block stands in the line
// as one unit.
#include <algorithm>

#include "html/layout/TBlock.h"
#include "html/layout/TInlineBlockObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilderInternal.h"

namespace {

// Floated and absolutely positioned inline elements leave the line as
// blocks of their own; inline blocks stay in it.
enum class TBoxedInline : uint8_t { None, OutOfFlow, InlineBlock };

TBoxedInline BoxedInlineOf(const TProperties& props)
{
    if (auto f = props.floatValue(); f && (*f == TAlignment::Left || *f == TAlignment::Right))
        return TBoxedInline::OutOfFlow;
    if (IsPositionedOut(props))
        return TBoxedInline::OutOfFlow;
    return IsInlineBlock(props) ? TBoxedInline::InlineBlock : TBoxedInline::None;
}

// Reads an inline element's content through its end symbol (nested
// elements of the same kind included) into the current cell.
void ReadInlineContent(THtmlSymbol start, THtmlSymbol end)
{
    int nested = 0;
    while (R().Sy != EofSym && InlineSet.Has(R().Sy)) {
        if (R().Sy == start)
            ++nested;
        else if (R().Sy == end && nested-- == 0)
            break;
        if (R().Sy == UnknownTagSym)
            NextSymbol();
        else
            ElementHandler({});
    }
}

// Ends the element: a link's end closes the link it opened.
void EndBoxedElement(const std::string& tag)
{
    if (tag == "a") {
        AnchorEnd();
        return;
    }
    if (tag == "button")
        ButtonEnd();
    PopTag(tag);
}

// The element's block in the current cell, filled by readContent from the
// symbol after its start tag; end closes the element.
void FillBlock(const std::function<void()>& readContent, const std::function<void()>& end)
{
    TCellBasic* parent = Build.cell;
    TBlock* block = EnterBlock(NewBlock());
    StartSection();
    ChangeFont();
    NextSymbol();
    readContent();
    CloseSection();
    end();
    LeaveBlock(block, parent);
}

void FillBoxedBlock(const std::string& tag, THtmlSymbol start, THtmlSymbol end)
{
    FillBlock([&] { ReadInlineContent(start, end); }, [&] { EndBoxedElement(tag); });
}

} // namespace

std::unique_ptr<TBlock> NewBlock() { return NewBlockFor(BlockStyleOf(Build.stack.Top())); }

bool IsInlineBlock(const TProperties& props)
{
    // Inline children of a SPAN take its display along with its box values:
    // only the element that asks for it is the inline block.
    if (!props.isSetHere(piDisplay))
        return false;
    const std::string* display = AsText(props[piDisplay]);
    return display && LowerCase(Trim(*display)) == "inline-block";
}

bool IsPositionedOut(const TProperties& props)
{
    if (!props.isSetHere(piPosition))
        return false;
    const std::string* position = AsText(props[piPosition]);
    if (!position)
        return false;
    const std::string value = LowerCase(Trim(*position));
    return value == "absolute" || value == "fixed";
}

void OutOfLineBlock(const std::function<void()>& fill)
{
    // The block goes in the cell ahead of the line, which goes on after it.
    std::unique_ptr<TSection> line = std::move(Build.section);
    fill();
    CloseSection();
    Build.section = std::move(line);
    ChangeFont();
}

bool LineHasText()
{
    if (!Build.section)
        return false;
    const std::u16string_view text = Build.section->Text();
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c != u' '; });
}

void InlineBlockBox(const std::function<void()>& fill)
{
    EnsureSection();
    std::unique_ptr<TSection> line = std::move(Build.section);
    TCellBasic* parent = Build.cell;
    const int at = R().TagPos;
    auto box = std::make_unique<TInlineBlockObj>(*Build.doc, parent->BlockTarget().Depth() + 1);
    Build.cell = &box->Holder();
    fill();
    CloseSection();
    Build.cell = parent;
    Build.section = std::move(line);
    Build.section->AddImage(std::move(box), at);
    ChangeFont();
}

bool FloatedInline(const std::string& tag, THtmlSymbol start, THtmlSymbol end)
{
    const TBoxedInline kind = BoxedInlineOf(Build.stack.Top());
    if (kind == TBoxedInline::None)
        return false;
    TDepthGuard guard;
    if (!guard.Entered())
        return false; // too deep: stays inline
    if (kind == TBoxedInline::InlineBlock) {
        InlineBlockBox([&] { FillBoxedBlock(tag, start, end); });
    } else {
        CloseSection();
        FillBoxedBlock(tag, start, end);
        ChangeFont();
        StartSection();
    }
    if (R().Sy == end)
        NextSymbol();
    return true;
}

void InlineBlockElement(const std::string& tag, const std::function<void()>& readContent)
{
    InlineBlockBox([&] { FillBlock(readContent, [&] { PopTag(tag); }); });
}
