// The searched words marked in the shown document: a hit opened from the
// results page shows the words of the search, the find dialog's
// "Highlight all" the text it finds; F3 and Shift+F3 step through them and
// Escape takes them away.
#include <QAction>
#include <QFileInfo>

#include "app/TFM_Find.h"
#include "app/TFM_PlatForm.h"
#include "app/TSearchHighlight.h"
#include "app/TSearchPage.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/TFrameSet.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/TfvFrame.h"
#include "search/TFileScan.h"
#include "search/TOneResult.h"

void TFM_PlatForm::connectHighlight()
{
    FHighlight = std::make_unique<TSearchHighlight>();
    auto* previous = new QAction(QStringLiteral("Find Previous"), this);
    previous->setObjectName("ACT_FindPrevious");
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    QWidget::addAction(previous);
    connect(previous, &QAction::triggered, this, [this] { FindAgainClick(THighlightStep::Previous); });
    // Escape is the window's only while words are marked, so a viewer's own
    // use of the key is untouched otherwise.
    auto* clear = new QAction(QStringLiteral("Clear Highlight"), this);
    clear->setObjectName("ACT_ClearHighlight");
    clear->setShortcut(QKeySequence(Qt::Key_Escape));
    clear->setEnabled(false);
    QWidget::addAction(clear);
    connect(clear, &QAction::triggered, this, &TFM_PlatForm::ClearHighlight);
    connect(FFindDialog, &TFM_Find::HighlightAllChanged, this, &TFM_PlatForm::findHighlightChanged);
}

bool TFM_PlatForm::FindAgainClick(THighlightStep step)
{
    if (FHighlight->Active())
        return FHighlight->Step(step);
    if (step == THighlightStep::Next)
        return FindNextClick();
    // The other way than the dialog says, once.
    const bool up = FFindDialog->SearchUp();
    FFindDialog->SetSearchUp(!up);
    const bool found = FindNextClick();
    FFindDialog->SetSearchUp(up);
    return found;
}

void TFM_PlatForm::ClearHighlight()
{
    FHighlight->Clear();
    FFindDialog->SetHighlightAll(false);
    enableClearHighlight();
}

void TFM_PlatForm::highlightShownDocument()
{
    const QString previous = FShownFile;
    FShownFile = CurrentFile();
    FHighlight->Clear();
    // A hit opened from the results page (by its link, or by Back or
    // Forward from the page) shows the searched words; another document
    // shows what the find dialog's "Highlight all" asks for.
    const QString results = FSearchPage->ResultFile();
    const bool fromResults = !previous.isEmpty() && !results.isEmpty() && QFileInfo(previous) == QFileInfo(results);
    if (fromResults && isHitOfLastSearch(FShownFile))
        FHighlight->Apply(RequestOfSearch(FSearchPage->FileScan()), shownViewers());
    else if (FFindDialog->HighlightAll() && !FFindDialog->FindText().isEmpty())
        FHighlight->Apply(RequestOfFind(ToUtf8(FFindDialog->FindText()), FFindDialog->MatchCase()), shownViewers(),
                          THighlightScroll::Stay);
    enableClearHighlight();
}

void TFM_PlatForm::findHighlightChanged()
{
    if (FFindDialog->HighlightAll() && !FFindDialog->FindText().isEmpty())
        FHighlight->Apply(RequestOfFind(ToUtf8(FFindDialog->FindText()), FFindDialog->MatchCase()), shownViewers());
    else
        FHighlight->Clear();
    enableClearHighlight();
}

bool TFM_PlatForm::isHitOfLastSearch(const QString& file) const
{
    if (file.isEmpty())
        return false;
    const std::string url = FileUrlFromPath(ToUtf8(QFileInfo(file.section('#', 0, 0)).absoluteFilePath()));
    for (const TFoundLine& line : FSearchPage->FileScan().FoundList())
        if (line.Result && line.Result->URL() == url)
            return true;
    return false;
}

std::vector<THTMLViewer*> TFM_PlatForm::shownViewers() const
{
    std::vector<THTMLViewer*> viewers;
    for (TfvFrame* frame : HTMLViewer1->CurrentFrameSet().Frames())
        if (frame->Viewer())
            viewers.push_back(frame->Viewer());
    return viewers;
}

void TFM_PlatForm::enableClearHighlight()
{
    findChild<QAction*>("ACT_ClearHighlight")->setEnabled(FHighlight->Active());
}
