#pragma once
// TEXTAREA: a multi-line edit. ROWS (default 5), COLS (default 30) and WRAP:
// "off" (no wrapping), "hard" (wrapping, submitted with the displayed line
// breaks) or soft (wrapping; anything else).
//
// The builder hands the element's text to AddText, then ResetToInitial.
#include "html/layout/TFormControlObj.h"

class TTextAreaFormControlObj : public TFormControlObj {
public:
    TTextAreaFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                            const TObjectStyle& style);

    void AddText(std::u16string_view text) { FInitialText += text; }
    const std::u16string& InitialText() const { return FInitialText; }

    void CheckChange() override;
    void RememberContents() override;
    void PaintImage(TCanvas& canvas, int x, int y) override;
    void ResetToInitial() override;
    bool SubmissionItem(int index, std::string& text) override;
    void SetValue(int index, const std::string& text) override;
    void SizeControl(TCanvas& canvas) override;

    TMemoControl& Memo() const { return static_cast<TMemoControl&>(*FControl); }
    int Rows = 5;
    int Cols = 30;
    TWrapMode Wrap = TWrapMode::Soft;

private:
    std::u16string FInitialText;
    std::u16string FSavedText;
};
