#include "html/layout/TTextAreaFormControlObj.h"

#include <algorithm>

#include "html/layout/ObjectAttributes.h"
#include "util/CodePage.h"

namespace {
constexpr int Extra = 5;
constexpr int ParkedWidth = 50;
constexpr int MaxRowsOrCols = 1000;
} // namespace

TTextAreaFormControlObj::TTextAreaFormControlObj(TSectionList& document, ThtmlForm& form, const TAttributeList& attrs,
                                                 const TObjectStyle& style)
    : TFormControlObj(document, form, attrs, style)
{
    if (auto rows = AttrInt(attrs, RowsSy); rows && *rows > 0)
        Rows = std::min(*rows, MaxRowsOrCols);
    if (auto cols = AttrInt(attrs, ColsSy); cols && *cols > 0)
        Cols = std::min(*cols, MaxRowsOrCols);
    std::string wrap = LowerText(AttrText(attrs, WrapSy));
    Wrap = wrap == "off" ? TWrapMode::Off : wrap == "hard" ? TWrapMode::Hard : TWrapMode::Soft;
    auto memo = Factory().createMemo();
    memo->setWrapMode(Wrap);
    SetControl(std::move(memo));
}

void TTextAreaFormControlObj::ResetToInitial()
{
    Memo().setText(FInitialText);
    Memo().moveCaretToStart();
}

void TTextAreaFormControlObj::RememberContents() { FSavedText = Memo().text(); }

void TTextAreaFormControlObj::CheckChange()
{
    if (Memo().text() != FSavedText) {
        FSavedText = Memo().text();
        FireScript(TControlEvent::Change, OnChange);
    }
}

bool TTextAreaFormControlObj::SubmissionItem(int index, std::string& text)
{
    if (index > 0)
        return false;
    std::u16string value;
    if (Wrap == TWrapMode::Hard) {
        std::vector<std::u16string> lines = Memo().displayedLines();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                value += u"\r\n";
            value += lines[i];
        }
    } else {
        value = Memo().text();
    }
    text = FName + "=" + CodePage::FromUtf16(CodePageNumber, value);
    return true;
}

void TTextAreaFormControlObj::SetValue(int, const std::string& text)
{
    Memo().setText(CodePage::ToUtf16(CodePageNumber, text));
}

void TTextAreaFormControlObj::SizeControl(TCanvas& canvas)
{
    TFontRef font = ControlFont(canvas);
    TPoint frame = FControl->frameSize();
    int height = StyleHeight > 0 ? StyleHeight : font->metrics().height * Rows + Extra + frame.y;
    if (PercentWidth >= 0) {
        FControl->setBounds({-4000, 0, -4000 + ParkedWidth, height});
        return;
    }
    int width = StyleWidth > 0 ? StyleWidth : font->textWidth(u"s") * Cols + Extra + frame.x;
    FControl->setSize(width, height);
}

void TTextAreaFormControlObj::PaintImage(TCanvas& canvas, int x, int y)
{
    TRect r{x, y, x + Width(), y + Height()};
    canvas.drawEdge(r, TEdgeKind::Sunken);
    std::vector<std::u16string> lines = Memo().displayedLines();
    lines.resize(std::min(lines.size(), size_t(std::max(0, Rows))));
    PaintBoxText(canvas, r, r.right - 2, lines, y + TextInset);
}
