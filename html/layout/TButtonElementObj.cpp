#include "html/layout/TButtonElementObj.h"

#include "html/layout/ObjectAttributes.h"
#include "html/layout/ThtmlForm.h"
#include "html/parse/TAttributeList.h"

namespace {

TButtonKind KindOfType(const std::string& type)
{
    if (type == "reset")
        return TButtonKind::Reset;
    if (type == "button")
        return TButtonKind::Plain;
    return TButtonKind::Submit;
}

} // namespace

TButtonElementObj::TButtonElementObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                     const TObjectStyle& style)
    : TFormControlObj(document, form, attrs, style), FKind(KindOfType(LowerText(AttrText(attrs, TypeSy))))
{
}

void TButtonElementObj::DoClick()
{
    if (Disabled())
        return;
    TFormControlObj::DoClick();
    if (FKind == TButtonKind::Submit)
        FForm->SubmitTheForm(FName.empty() ? std::string() : FName + "=" + FValue);
    else if (FKind == TButtonKind::Reset)
        FForm->DoReset();
}
