#pragma once
// SELECT with MULTIPLE or a SIZE above 1: a list box. Each option keeps
// its display text, its submit value (VALUE, else the text; an empty text
// becomes one space) and whether it was marked SELECTED.
//
// The builder adds the options between SELECT and /SELECT with AddOption.
#include <vector>

#include "html/layout/TFormControlObj.h"

struct TSelectOption {
    std::u16string text;
    std::string value;
    bool selected = false; // marked SELECTED
};

class TListBoxFormControlObj : public TFormControlObj {
public:
    static constexpr int SavedSelectionLimit = 51;

    TListBoxFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                           const TObjectStyle& style);

    void AddOption(std::u16string text, bool selected, const TAttributeList& optionAttrs);
    const std::vector<TSelectOption>& Options() const { return FOptions; }

    void CheckChange() override;
    void RememberContents() override;
    void PaintImage(TCanvas& canvas, int x, int y) override;
    void ResetToInitial() override;
    bool SubmissionItem(int index, std::string& text) override;
    void SetValue(int index, const std::string& text) override;
    void SizeControl(TCanvas& canvas) override;

    TListControl& List() const { return static_cast<TListControl&>(*FControl); }
    bool Multiple() const { return FMultiple; }
    int Rows = -1; // SIZE, -1 when absent

protected:
    enum class TKind : uint8_t { ListBox, Combo };
    TListBoxFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                           const TObjectStyle& style, TKind kind);
    // The width both kinds need: a percentage parks the window (10), then the
    // style width, else scroll bar + widest option + 10.
    int ListWidth(TCanvas& canvas);
    bool Chosen(int index) const;
    void Rebuild();

    std::vector<TSelectOption> FOptions;
    bool FMultiple = false;

private:
    std::vector<bool> SelectionState() const;
    int WidestOption(TCanvas& canvas);

    std::vector<bool> FSaved;
    int FSavedCount = 0;
    int FWidest = -1;            // measured once per font
    TFontSpec FWidestFont;
};
