// The builder's forms and their controls: FORM, INPUT, SELECT with its
// options, and TEXTAREA with its text.
#include <memory>
#include <optional>
#include <string>

#include "html/layout/FormElements.h"
#include "html/build/ObjectStyleAdapter.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TListBoxFormControlObj.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TTextAreaFormControlObj.h"
#include "html/layout/ThtmlForm.h"
#include "html/build/DocumentBuilderInternal.h"
#include "util/CodePage.h"

namespace {

std::u16string Trimmed(const std::u16string& text)
{
    auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0; };
    size_t first = 0, last = text.size();
    while (first < last && isSpace(text[first]))
        ++first;
    while (last > first && isSpace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// One OPTION while its text is read.
struct TPendingOption {
    std::u16string text;
    bool selected = false;
    TAttributeList attrs;
};

void AddPendingOption(TListBoxFormControlObj* select, std::optional<TPendingOption>& option)
{
    if (option && select)
        select->AddOption(Trimmed(option->text), option->selected, option->attrs);
    option.reset();
}

// The OPTIONs up to the symbol that ends them, which is passed over.
void ReadOptions(TListBoxFormControlObj* select)
{
    static const TSymbolSet Ends = {PSy, EofSym, TableEndSy, TDSy, TDEndSy, TRSy, TREndSy, THSy,
                                    THEndSy, CaptionSy, CaptionEndSy, InputSy, SelectEndSy, ColSy, ColGroupSy};
    bool savedNoBreak = Build.noBreak;
    Build.noBreak = false;
    std::optional<TPendingOption> option;
    NextSymbol();
    while (!Ends.Has(R().Sy)) {
        if (R().Sy == OptionSy || R().Sy == OptionEndSy)
            AddPendingOption(select, option);
        if (R().Sy == OptionSy)
            option = TPendingOption{{}, Attr(SelectedSy) != nullptr, Attrs()};
        else if (R().Sy == TextSym && option)
            option->text += R().LCToken.S();
        NextSymbol();
    }
    AddPendingOption(select, option);
    Build.noBreak = savedNoBreak;
    NextSymbol();
}

void ReadTextAreaText(TTextAreaFormControlObj* textArea)
{
    ReadTextAreaContent([textArea](const std::string& line) {
        if (textArea)
            textArea->AddText(CodePage::ToUtf16(CurrentCodePage(), line));
    });
    if (textArea)
        textArea->ResetToInitial();
}

} // namespace

void FormStart() { Build.doc->Objects.AddForm(std::make_unique<ThtmlForm>(*Build.doc, Attrs())); }

void FormEnd() { Build.doc->Objects.EndForm(); }

bool FormControl()
{
    const THtmlSymbol sy = R().Sy;
    const std::string tag = TagNameOf(sy);
    EnsureSection();
    PushTag(tag);
    TObjectStyle style = ObjectStyleOf(Build.stack.Top());
    style.codePage = CurrentCodePage();
    TFormElement e = CreateFormControls(*Build.doc, sy, Attrs(), style);
    const int position = R().TagPos;
    for (TFormControlObj* control : e.placed)
        Build.section->AddFormControl(control, position);
    if (e.image)
        Build.section->AddImage(std::move(e.image), position);
    bool nextRead = false;
    if (sy == SelectSy) {
        ReadOptions(e.select);
        nextRead = true;
    } else if (sy == TextAreaSy) {
        ReadTextAreaText(e.textArea);
    }
    PopTag(tag);
    return nextRead;
}

void ButtonStart()
{
    TObjectStyle style = ObjectStyleOf(Build.stack.Top());
    style.codePage = CurrentCodePage();
    Build.button = CreateButtonElement(*Build.doc, Attrs(), style);
}

void ButtonEnd() { Build.button = nullptr; }
