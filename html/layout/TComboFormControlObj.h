#pragma once
// SELECT without MULTIPLE and without a SIZE above 1: a drop-down list.
#include "html/layout/TListBoxFormControlObj.h"

class TComboFormControlObj : public TListBoxFormControlObj {
public:
    TComboFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                         const TObjectStyle& style);

    void ResetToInitial() override;
    void SizeControl(TCanvas& canvas) override;
    void PaintImage(TCanvas& canvas, int x, int y) override;

private:
    static int PaintDropButton(TCanvas& canvas, const TRect& box);
};
