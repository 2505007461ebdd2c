#pragma once
// INPUT TYPE=image: a picture (TImageObj) standing in the text and an
// off-screen 1 x 1 button that takes the keyboard focus. Clicking the
// picture submits NAME.x=X and NAME.y=Y, the point relative to the picture.
#include "html/layout/TFormControlObj.h"

class TImageObj;

class TImageFormControlObj : public TFormControlObj {
public:
    TImageFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                         const TObjectStyle& style);

    // The picture that stands in the text; the builder hands it to the section.
    std::unique_ptr<TImageObj> TakeImage() { return std::move(FNewImage); }
    TImageObj* Image() const { return FImage; }

    void ApplyStyle(const TObjectStyle& style) override;
    bool SubmissionItem(int index, std::string& text) override;
    // Set by the picture's hit test.
    void SetClickPosition(int x, int y);
    int XPos = -1;
    int YPos = -1;

protected:
    void DoClick() override;

private:
    std::unique_ptr<TImageObj> FNewImage;
    TImageObj* FImage = nullptr;
    int FPendingX = -1, FPendingY = -1;
};
