#pragma once
// One FORM element: its controls (owned by the document), reset, submission
// through the host's form-submit callback, and saving and restoring the
// entered data when a document is reloaded.
//
// Construction API (the builder): at FORM,
//   document.Objects.AddForm(std::make_unique<ThtmlForm>(document, attrs));
// at /FORM, document.Objects.EndForm(). Controls join the current form when
// created (CreateFormControls); without one a form is made on the spot.
#include <string>
#include <vector>

class TAttributeList;
class TSectionList;
class TFormControlObj;
class TRadioButtonFormControlObj;

class ThtmlForm {
public:
    // Reads METHOD (at most 4 characters, default "Get"), ACTION, TARGET and ENCTYPE.
    ThtmlForm(TSectionList& document, const TAttributeList& attrs);

    void AddControl(TFormControlObj* control);
    const std::vector<TFormControlObj*>& ControlList() const { return FControls; }
    // Controls with a window (hidden inputs have none).
    int NonHiddenCount() const;

    // Every control back to its initial state.
    void DoReset();
    // The name=value items of the enabled controls, in document order.
    std::vector<std::string> GetFormSubmission() const;
    // Hands the items (plus the extra item when not empty) with the action,
    // method, encoding type and target to the host; nothing without a host callback.
    void SubmitTheForm(const std::string& extraItem);
    // The texts of every control that are not empty.
    std::vector<std::string> SaveFormData() const;
    void RestoreFormData(const std::vector<std::string>& data);

    // The radio buttons of this form whose NAME equals name ignoring case.
    std::vector<TRadioButtonFormControlObj*> RadioGroup(const std::string& name) const;

    std::string Method = "Get";
    std::string Action;
    std::string Target;
    std::string EncType;

private:
    std::vector<std::string> ControlItems(bool withDisabled) const;
    TSectionList* FDocument;
    std::vector<TFormControlObj*> FControls;
};
