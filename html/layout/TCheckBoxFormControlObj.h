#pragma once
// A check box (INPUT TYPE=checkbox). VALUE defaults to "on"; the control
// submits NAME=VALUE only while checked. Radio buttons share this state.
#include "html/layout/TFormControlObj.h"

class TCheckBoxFormControlObj : public TFormControlObj {
public:
    TCheckBoxFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                            const TObjectStyle& style);

    void CheckChange() override;
    void RememberContents() override;
    void PaintImage(TCanvas& canvas, int x, int y) override;
    void ResetToInitial() override;
    bool SubmissionItem(int index, std::string& text) override;
    void SetValue(int index, const std::string& text) override;
    void ClearValue() override;
    void SizeControl(TCanvas& canvas) override;

    bool Checked() const;
    void SetChecked(bool checked);
    bool IsChecked = false; // CHECKED: the initial state

protected:
    enum class TKind : uint8_t { CheckBox, Radio };
    TCheckBoxFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                            const TObjectStyle& style, TKind kind);
    TCheckControl& Check() const { return static_cast<TCheckControl&>(*FControl); }

private:
    bool FSaved = false;
};
