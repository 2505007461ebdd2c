#include "html/style/TMyFont.h"

void TMyFont::selectInto(TCanvas& canvas) const
{
    if (font)
        canvas.setFont(font);
    canvas.setTextColor(color);
    canvas.setCharacterExtra(charExtra);
}
