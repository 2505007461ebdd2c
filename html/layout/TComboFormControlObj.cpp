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

void TComboFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect r{x, y, x + Width(), y + Height()};
    canvas.drawEdge(r, TEdgeKind::Sunken);
    int index = List().itemIndex();
    if (index < 0 || index >= int(FOptions.size()))
        return;
    canvas.save();
    canvas.intersectClip({r.left + 2, r.top + 2, r.right - 2, r.bottom - 2});
    canvas.setFont(ControlFont(canvas));
    canvas.setTextColor(FStyle.color);
    canvas.setBackgroundMode(TBackgroundMode::Transparent);
    canvas.setTextAlign(TTextAlign::Top);
    canvas.textOut(x + 4, y + 2, FOptions[size_t(index)].text);
    canvas.restore();
}
