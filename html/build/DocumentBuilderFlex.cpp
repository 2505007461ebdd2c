// The builder's flex and grid containers and their items.
#include "html/build/DocumentBuilderInternal.h"
#include "html/layout/TFlexBlock.h"
#include "html/layout/TGridBlock.h"
#include "html/layout/TSectionList.h"

bool InItemsContainer()
{
    TCellBasic* cell = Build.cell ? &Build.cell->BlockTarget() : nullptr;
    return cell && dynamic_cast<TItemsBlock*>(cell->OwnerBlock);
}

std::unique_ptr<TBlock> NewBlockFor(TBlockStyle style)
{
    TCollapse collapse = TCollapse::Margins;
    if (InItemsContainer()) {
        // An item sits where its container puts it: it does not float, and
        // its margins stay its own.
        style.floatKind = TFloatKind::None;
        collapse = TCollapse::None;
    }
    TBoxDisplay display = style.Flex().display;
    if (display == TBoxDisplay::Flex)
        return std::make_unique<TFlexBlock>(*Build.doc, *Build.cell, std::move(style), collapse);
    if (display == TBoxDisplay::Grid)
        return std::make_unique<TGridBlock>(*Build.doc, *Build.cell, std::move(style), collapse);
    return std::make_unique<TBlock>(*Build.doc, *Build.cell, std::move(style), collapse);
}

void EnterBodyItems(const TBlockStyle& bodyStyle)
{
    if (!bodyStyle.Flex().IsContainer() || !Build.cell)
        return;
    // The body keeps its margins, background and the document's own rules;
    // a box of the body's size inside it arranges the body's content.
    TMargArray box;
    box[BoxWidth] = box[BoxTop] = box[BoxLeft] = BoxAuto;
    box.autoCount = 1;
    TBlockStyle items;
    items.boxValues = FixedBoxValues(box);
    items.flex = bodyStyle.flex;
    items.tag = "div";
    items.font = bodyStyle.font;
    std::unique_ptr<TBlock> block = NewBlockFor(std::move(items));
    TBlock* raw = block.get();
    Build.cell->AddSection(std::move(block));
    Build.cell = &raw->Content();
}
