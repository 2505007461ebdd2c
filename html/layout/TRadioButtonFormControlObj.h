#pragma once
// A radio button (INPUT TYPE=radio). Checking one unchecks the others of
// its group: the radio buttons of the same form whose NAME is equal ignoring
// letter case. The arrow keys move the focus along the group.
#include "html/layout/TCheckBoxFormControlObj.h"

class TCellBasic;

class TRadioButtonFormControlObj : public TCheckBoxFormControlObj {
public:
    TRadioButtonFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                               const TObjectStyle& style);

    void PaintImage(TCanvas& canvas, int x, int y) override;
    void SizeControl(TCanvas& canvas) override;
    // Checks this button and unchecks the rest of its group.
    void CheckInGroup();

    TCellBasic* MyCell = nullptr;

protected:
    void DoClick() override;
    bool KeyPressed(int key, TShiftState shift) override;
};
