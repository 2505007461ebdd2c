#pragma once
// A push button: submit, reset, a plain button, or the "Browse..." button
// that follows the edit box of a file input.
#include "html/layout/TFormControlObj.h"

class TEditFormControlObj;

enum class TButtonKind : uint8_t { Submit = 0, Reset = 1, Plain = 2, Browse = 3 };

class TButtonFormControlObj : public TFormControlObj {
public:
    TButtonFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                          const TObjectStyle& style, TButtonKind kind);
    // The browse button of a file input: no name, value or ID of its own.
    TButtonFormControlObj(TSectionList& document, ThtmlForm& form, const TObjectStyle& style,
                          TEditFormControlObj& fileEdit);

    void PaintImage(TCanvas& canvas, int x, int y) override;
    void SizeControl(TCanvas& canvas) override;

    TButtonKind Kind() const { return FKind; }
    std::u16string Caption() const;

protected:
    void DoClick() override;

private:
    void MakeButton(const std::string& caption);
    void Browse();

    TButtonKind FKind;
    TEditFormControlObj* FFileEdit = nullptr;
};
