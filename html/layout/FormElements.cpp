#include "html/layout/FormElements.h"

#include "html/layout/ObjectAttributes.h"
#include "html/layout/TButtonElementObj.h"
#include "html/layout/TButtonFormControlObj.h"
#include "html/layout/TCheckBoxFormControlObj.h"
#include "html/layout/TComboFormControlObj.h"
#include "html/layout/TEditFormControlObj.h"
#include "html/layout/THiddenFormControlObj.h"
#include "html/layout/TImageFormControlObj.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TListBoxFormControlObj.h"
#include "html/layout/TRadioButtonFormControlObj.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TTextAreaFormControlObj.h"
#include "html/layout/ThtmlForm.h"

namespace {

ThtmlForm& OpenForm(TSectionList& document)
{
    if (ThtmlForm* form = document.Objects.CurrentForm())
        return *form;
    return document.Objects.AddForm(std::make_unique<ThtmlForm>(document, TAttributeList()));
}

template <class T, class... Args>
T* Make(TSectionList& document, TFormElement& e, const TObjectStyle& style, Args&&... args)
{
    auto owned = std::make_unique<T>(std::forward<Args>(args)...);
    T* control = owned.get();
    document.Objects.AdoptControl(std::move(owned));
    control->ApplyStyle(style);
    document.FormControlList.push_back(control);
    if (!e.control)
        e.control = control;
    if (control->HasWindow())
        e.placed.push_back(control);
    return control;
}

void MakeInput(TSectionList& doc, ThtmlForm& form, TFormElement& e, const TAttributeList& attrs,
               const TObjectStyle& style)
{
    std::string type = LowerText(AttrText(attrs, TypeSy));
    if (type == "submit" || type == "reset" || type == "button") {
        TButtonKind kind = type == "submit" ? TButtonKind::Submit
                           : type == "reset" ? TButtonKind::Reset
                                             : TButtonKind::Plain;
        Make<TButtonFormControlObj>(doc, e, style, doc, form, attrs, style, kind);
    } else if (type == "radio") {
        Make<TRadioButtonFormControlObj>(doc, e, style, doc, form, attrs, style);
    } else if (type == "checkbox") {
        Make<TCheckBoxFormControlObj>(doc, e, style, doc, form, attrs, style);
    } else if (type == "hidden") {
        Make<THiddenFormControlObj>(doc, e, style, doc, form, attrs, style);
    } else if (type == "image") {
        auto* image = Make<TImageFormControlObj>(doc, e, style, doc, form, attrs, style);
        e.placed.clear(); // the picture stands in the text, not the focus button
        e.image = image->TakeImage();
    } else {
        TEchoMode echo = type == "password" ? TEchoMode::Password : TEchoMode::Normal;
        auto* edit = Make<TEditFormControlObj>(doc, e, style, doc, form, attrs, style, echo);
        if (type == "file")
            Make<TButtonFormControlObj>(doc, e, style, doc, form, style, *edit);
    }
}

} // namespace

TFormElement CreateFormControls(TSectionList& document, THtmlSymbol element, const TAttributeList& attrs,
                                const TObjectStyle& style)
{
    TFormElement e;
    if (element != InputSy && element != SelectSy && element != TextAreaSy)
        return e;
    ThtmlForm& form = OpenForm(document);
    if (element == InputSy) {
        MakeInput(document, form, e, attrs, style);
    } else if (element == TextAreaSy) {
        e.textArea = Make<TTextAreaFormControlObj>(document, e, style, document, form, attrs, style);
    } else {
        bool list = HasAttr(attrs, MultipleSy) || AttrInt(attrs, SizeSy).value_or(0) > 1;
        if (list)
            e.select = Make<TListBoxFormControlObj>(document, e, style, document, form, attrs, style);
        else
            e.select = Make<TComboFormControlObj>(document, e, style, document, form, attrs, style);
    }
    return e;
}

TFormControlObj* CreateButtonElement(TSectionList& document, const TAttributeList& attrs, const TObjectStyle& style)
{
    ThtmlForm* form = document.Objects.CurrentForm();
    if (!form)
        return nullptr;
    TFormElement e;
    return Make<TButtonElementObj>(document, e, style, document, *form, attrs, style);
}
