#include "html/layout/TComboFormControlObj.h"

TComboFormControlObj::TComboFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                           const TObjectStyle& style)
    : TListBoxFormControlObj(document, form, attrs, style, TKind::Combo)
{
}

void TComboFormControlObj::ResetToInitial()
{
    Rebuild();
    int last = FOptions.empty() ? -1 : 0;
    for (size_t i = 0; i < FOptions.size(); ++i)
        if (FOptions[i].selected)
            last = int(i);
    List().setItemIndex(last);
}

void TComboFormControlObj::SizeControl(TCanvas& canvas)
{
    // The drop-down list's own height: one line of text in its frame.
    int height = TextHeightOfA(canvas) + 4 + FControl->frameSize().y;
    int width = ListWidth(canvas);
    if (PercentWidth >= 0)
        FControl->setBounds({-4000, 0, -4000 + width, height});
    else
        FControl->setSize(width, height);
}

// The raised button with a downward arrow at the right end of the box;
// answers its left edge.
int TComboFormControlObj::PaintDropButton(TCanvas& canvas, const TRect& box)
{
    int side = std::max(0, box.height() - 4);
    TRect button{box.right - 2 - side, box.top + 2, box.right - 2, box.bottom - 2};
    if (button.isEmpty() || button.left <= box.left + 2)
        return box.right - 2;
    canvas.fillRect(button, 0xC0C0C0);
    canvas.drawEdge(button, TEdgeKind::Raised);
    int half = std::max(1, side / 4);
    int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2 - half / 2;
    canvas.setPen({0, 1, TPenStyle::Solid});
    canvas.setBrush({0, TBrushStyle::Solid});
    canvas.polygon({{cx - half, cy}, {cx + half, cy}, {cx, cy + half}});
    return button.left;
}

void TComboFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect r{x, y, x + Width(), y + Height()};
    canvas.drawEdge(r, TEdgeKind::Sunken);
    int arrowLeft = PaintDropButton(canvas, r);
    int index = List().itemIndex();
    if (index < 0 || index >= int(FOptions.size()))
        return;
    PaintBoxText(canvas, r, arrowLeft, {&FOptions[size_t(index)].text, 1}, y + 2);
}
