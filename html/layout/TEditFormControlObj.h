#pragma once
// A single-line edit box: INPUT without TYPE, "text", "password", "file" or
// an unknown TYPE. Enter submits the form.
#include "html/layout/TFormControlObj.h"

class TEditFormControlObj : public TFormControlObj {
public:
    static constexpr int DefaultSize = 15;

    TEditFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                        const TObjectStyle& style, TEchoMode echo);

    void CheckChange() override;
    void RememberContents() override;
    void PaintImage(TCanvas& canvas, int x, int y) override;
    void ResetToInitial() override;
    bool SubmissionItem(int index, std::string& text) override;
    void SetValue(int index, const std::string& text) override;
    void SizeControl(TCanvas& canvas) override;

    TEditControl& Edit() const { return static_cast<TEditControl&>(*FControl); }
    // A SIZE attribute's number of characters.
    static int SizeInCharacters(const std::string& sizeText);

    int Size = DefaultSize;

protected:
    bool KeyPressed(int key, TShiftState shift) override;

private:
    TEchoMode FEcho;
    std::u16string FSavedText;
};
