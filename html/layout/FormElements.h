#pragma once
// Making the form controls of an INPUT, SELECT or TEXTAREA element.
//
// The builder, for each such element:
//   TFormElement e = CreateFormControls(document, InputSy, attrs, ObjectStyleOf(properties));
//   for (TFormControlObj* c : e.placed) section.AddFormControl(c, sourceIndex);
//   if (e.image) section.AddImage(std::move(e.image), sourceIndex);
// then, for SELECT, e.select->AddOption(text, selected, optionAttrs) per
// OPTION; for TEXTAREA, e.textArea->AddText(text) and at /TEXTAREA
// e.textArea->ResetToInitial().
// Every control joins the document's current form (one is made on the spot
// when none is open), is owned by the document and is entered in its
// FormControlList for sizing.
#include <memory>
#include <vector>

#include "html/layout/TObjectStyle.h"
#include "html/parse/THtmlSymbol.h"

class TSectionList;
class TAttributeList;
class TFormControlObj;
class TImageObj;
class TListBoxFormControlObj;
class TTextAreaFormControlObj;

struct TFormElement {
    TFormControlObj* control = nullptr;          // the element's control
    std::vector<TFormControlObj*> placed;        // to stand in the text, in order (none for hidden)
    std::unique_ptr<TImageObj> image;            // image inputs: the picture for the text
    TListBoxFormControlObj* select = nullptr;    // SELECT: where options go
    TTextAreaFormControlObj* textArea = nullptr; // TEXTAREA: where the text goes
};

// element is InputSy, SelectSy or TextAreaSy; anything else makes nothing.
TFormElement CreateFormControls(TSectionList& document, THtmlSymbol element, const TAttributeList& attrs,
                                const TObjectStyle& style);

// The control of a BUTTON element inside a form (none outside one): it
// stands in no text; the builder marks the button's content with it.
TFormControlObj* CreateButtonElement(TSectionList& document, const TAttributeList& attrs, const TObjectStyle& style);
