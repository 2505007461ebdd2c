#pragma once
// The BUTTON element as a form control: its content is drawn as text in a
// button's frame (by the style), and this windowless control does what a
// click on that content does. TYPE submit (also when missing or unknown)
// submits the form with NAME=VALUE as the submitting control, as an INPUT
// TYPE=submit does; reset resets the form; button does nothing of itself.
#include "html/layout/TButtonFormControlObj.h"

class TButtonElementObj : public TFormControlObj {
public:
    TButtonElementObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                      const TObjectStyle& style);
    TButtonKind Kind() const { return FKind; }

protected:
    void DoClick() override;

private:
    TButtonKind FKind;
};
