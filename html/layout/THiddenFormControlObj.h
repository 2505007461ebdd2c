#pragma once
// INPUT TYPE=hidden: no window and no placeholder; submits NAME=VALUE.
#include "html/layout/TFormControlObj.h"

class THiddenFormControlObj : public TFormControlObj {
public:
    THiddenFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                          const TObjectStyle& style)
        : TFormControlObj(document, form, attrs, style)
    {
    }
    bool SubmissionItem(int index, std::string& text) override
    {
        if (index > 0)
            return false;
        text = FName + "=" + FValue;
        return true;
    }
    void SetValue(int, const std::string& text) override { FValue = text; }
};
