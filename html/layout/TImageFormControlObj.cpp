#include "html/layout/TImageFormControlObj.h"

#include "html/layout/TImageObj.h"
#include "html/layout/ThtmlForm.h"

TImageFormControlObj::TImageFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                           const TObjectStyle& style)
    : TFormControlObj(document, form, attrs, style)
{
    FNewImage = std::make_unique<TImageObj>(document, attrs);
    FImage = FNewImage.get();
    FImage->MyFormControl = this;
    FWidth = FHeight = 1;
    SetControl(Factory().createButton());
}

void TImageFormControlObj::ApplyStyle(const TObjectStyle& style)
{
    TFormControlObj::ApplyStyle(style);
    TObjectStyle forImage;
    forImage.width = style.width;
    forImage.height = style.height;
    forImage.verticalAlign = style.verticalAlign;
    FImage->ApplyStyle(forImage);
}

void TImageFormControlObj::SetClickPosition(int x, int y)
{
    FPendingX = x;
    FPendingY = y;
}

void TImageFormControlObj::DoClick()
{
    FControl->setFocus();
    TFormControlObj::DoClick();
    XPos = FPendingX;
    YPos = FPendingY;
    if (!FDisabled)
        FForm->SubmitTheForm(std::string());
}

bool TImageFormControlObj::SubmissionItem(int index, std::string& text)
{
    if (XPos < 0 || index > 1)
        return false;
    std::string prefix = FName.empty() ? std::string() : FName + ".";
    if (index == 0) {
        text = prefix + "x=" + std::to_string(XPos);
    } else {
        text = prefix + "y=" + std::to_string(YPos);
        XPos = YPos = -1;
    }
    return true;
}
