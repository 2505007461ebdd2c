#include "html/layout/ThtmlForm.h"

#include "html/layout/ObjectAttributes.h"
#include "html/layout/TRadioButtonFormControlObj.h"
#include "html/layout/TSectionList.h"

ThtmlForm::ThtmlForm(TSectionList& document, const TAttributeList& attrs) : FDocument(&document)
{
    if (std::string method = AttrText(attrs, MethodSy); !method.empty())
        Method = method.substr(0, 4);
    Action = AttrText(attrs, ActionSy);
    Target = AttrText(attrs, TargetSy);
    EncType = AttrText(attrs, EncTypeSy);
}

void ThtmlForm::AddControl(TFormControlObj* control)
{
    FControls.push_back(control);
}

int ThtmlForm::NonHiddenCount() const
{
    int n = 0;
    for (TFormControlObj* c : FControls)
        n += c->HasWindow() ? 1 : 0;
    return n;
}

void ThtmlForm::DoReset()
{
    for (TFormControlObj* c : FControls)
        c->ResetToInitial();
}

// Every control's name=value items in form order (empty ones left out).
std::vector<std::string> ThtmlForm::ControlItems(bool withDisabled) const
{
    std::vector<std::string> items;
    for (TFormControlObj* c : FControls) {
        if (c->Disabled() && !withDisabled)
            continue;
        std::string text;
        for (int i = 0; c->SubmissionItem(i, text); ++i) {
            if (!text.empty())
                items.push_back(text);
            text.clear();
        }
    }
    return items;
}

std::vector<std::string> ThtmlForm::GetFormSubmission() const { return ControlItems(false); }

void ThtmlForm::SubmitTheForm(const std::string& extraItem)
{
    auto& submit = FDocument->Objects.Host.formSubmit;
    if (!submit)
        return;
    TFormSubmission s;
    s.items = GetFormSubmission();
    if (!extraItem.empty())
        s.items.push_back(extraItem);
    s.action = Action;
    s.method = Method;
    s.encType = EncType;
    s.target = Target;
    submit(std::move(s));
}

std::vector<std::string> ThtmlForm::SaveFormData() const { return ControlItems(true); }

void ThtmlForm::RestoreFormData(const std::vector<std::string>& data)
{
    for (TFormControlObj* c : FControls) {
        c->ClearValue();
        int index = 0;
        for (const std::string& entry : data) {
            size_t eq = entry.find('=');
            if (eq == std::string::npos || !SameTextNoCase(std::string_view(entry).substr(0, eq), c->Name()))
                continue;
            c->SetValue(index++, entry.substr(eq + 1));
        }
    }
}

std::vector<TRadioButtonFormControlObj*> ThtmlForm::RadioGroup(const std::string& name) const
{
    std::vector<TRadioButtonFormControlObj*> group;
    for (TFormControlObj* c : FControls)
        if (auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(c); radio && SameTextNoCase(radio->Name(), name))
            group.push_back(radio);
    return group;
}
