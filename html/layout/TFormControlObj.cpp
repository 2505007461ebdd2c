#include "html/layout/TFormControlObj.h"

void TFormControlObj::SetWidth(int w)
{
    FWidth = w;
    if (FControl)
        FControl->setSize(w, FControl->bounds().height());
}
