// THTMLViewer: layout for the window width, scroll bars, positions, painting.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include "html/layout/TSectionBase.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/QtCanvas.h"
#include "html/viewer/THTMLViewer.h"

#include "html/layout/Backgrounds.h"
#include "html/viewer/TPaintPanel.h"
#include "html/viewer/ViewerAccessibility.h"
#include "html/viewer/ViewerErrors.h"

namespace {
// Horizontal scrolling never reaches beyond this document width.
constexpr int MaxDocumentWidth = 6000;
// Source texts longer than this are laid out once, beside the scroll bar.
constexpr size_t LongSourceLength = 9999;
constexpr int VSmallStep = 16;
} // namespace

TCanvas& THTMLViewer::MeasuringCanvas()
{
    if (!FMeasureCanvas) {
        FMeasureImage = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
        FMeasurePainter = std::make_unique<QPainter>(FMeasureImage.get());
        FMeasureCanvas = std::make_unique<TQtCanvas>(*FMeasurePainter);
    }
    return *FMeasureCanvas;
}

int THTMLViewer::BorderWidth() const { return FBorderStyle == THTMLBorderStyle::htNone ? 0 : 1; }

int THTMLViewer::SurfaceWidth() const { return FPaintPanel->width(); }
int THTMLViewer::SurfaceHeight() const { return FPaintPanel->height(); }
bool THTMLViewer::VScrollBarVisible() const { return !FVScroll->isHidden(); }
bool THTMLViewer::HScrollBarVisible() const { return !FHScroll->isHidden(); }

int THTMLViewer::LayoutAt(int width)
{
    int maxWidth = 0;
    int height = std::max(0, this->height() - 2 * BorderWidth());
    FDocHeight = FSectionList->LayOut(MeasuringCanvas(), 0, std::max(width, 1), height, maxWidth);
    FDocWidth = std::min(maxWidth, MaxDocumentWidth);
    FLayoutWidth = width;
    ++FLayoutVersion;
    return 1;
}

int THTMLViewer::Relayout()
{
    int border = BorderWidth();
    int full = std::max(0, width() - 2 * border);
    int height = std::max(0, this->height() - 2 * border);
    int barWidth = FVScroll->sizeHint().width();
    bool verticalAllowed = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    int passes = 0;
    if (!verticalAllowed)
        passes += LayoutAt(full);
    else if ((htOptions & htShowVScroll) || FSource.size() > LongSourceLength)
        passes += LayoutAt(full - barWidth);
    else {
        passes += LayoutAt(full);
        if (FDocHeight > height) {
            passes += LayoutAt(full - barWidth);
            if (FDocHeight <= height)
                passes += LayoutAt(full);
        }
    }
    PlaceScrollBars();
    return passes;
}

void THTMLViewer::RelayoutKeepPosition()
{
    int position = ViewPosition();
    Relayout();
    SetViewPosition(position);
    FPaintPanel->update();
}

void THTMLViewer::PlaceScrollBars()
{
    int border = BorderWidth();
    int full = std::max(0, width() - 2 * border);
    int height = std::max(0, this->height() - 2 * border);
    int barWidth = FVScroll->sizeHint().width();
    int barHeight = FHScroll->sizeHint().height();
    bool verticalAllowed = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    bool horizontalAllowed = FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth;
    bool alwaysV = (htOptions & htShowVScroll) != 0;
    bool showV = verticalAllowed && (alwaysV || FDocHeight > height);
    int surfaceW = std::max(0, full - (showV ? barWidth : 0));
    bool showH = horizontalAllowed && FDocWidth > surfaceW;
    int surfaceH = std::max(0, height - (showH ? barHeight : 0));
    if (!showV && verticalAllowed && FDocHeight > surfaceH) {
        showV = true;
        surfaceW = std::max(0, full - barWidth);
        showH = horizontalAllowed && FDocWidth > surfaceW;
    }
    FPaintPanel->setGeometry(border, border, surfaceW, surfaceH);
    FVScroll->setGeometry(border + surfaceW, border, barWidth, surfaceH);
    FHScroll->setGeometry(border, border + surfaceH, surfaceW, barHeight);
    {
        QSignalBlocker block(FVScroll);
        int top = FVScroll->value();
        FVScroll->setRange(0, std::max(0, FDocHeight - surfaceH));
        FVScroll->setPageStep(std::max(1, surfaceH - VSmallStep));
        FVScroll->setEnabled(FDocHeight > surfaceH);
        if (top != FVScroll->value())
            FSectionList->ScrollTo(FVScroll->value());
    }
    FVScroll->setVisible(showV);
    {
        QSignalBlocker block(FHScroll);
        FHScroll->setRange(0, std::max(0, FDocWidth - surfaceW));
        FHScroll->setPageStep(std::max(1, surfaceW - 20));
    }
    FHScroll->setVisible(showH);
}

int THTMLViewer::MediaWidth() const { return std::max(0, width() - 2 * BorderWidth()); }

void THTMLViewer::resizeEvent(QResizeEvent*)
{
    if (FProcessing) {
        PlaceScrollBars();
        return;
    }
    // Style sheets with @media width rules give other rules at this width:
    // the document is built again (only then; laying out is enough else).
    if (FMediaChangesAt && FMediaChangesAt(MediaWidth())) {
        Rebuild();
        return;
    }
    RelayoutKeepPosition();
}

// ---- Positions ---------------------------------------------------------------

int THTMLViewer::VScrollBarPosition() const { return FVScroll->value(); }
int THTMLViewer::HScrollBarPosition() const { return FHScroll->value(); }

void THTMLViewer::SetVScrollBarPosition(int y) { ScrollToY(y); }

void THTMLViewer::SetHScrollBarPosition(int x)
{
    FHScroll->setValue(std::clamp(x, 0, FHScroll->maximum()));
    FPaintPanel->update();
}

void THTMLViewer::ScrollToY(int y, bool smallStep)
{
    y = std::clamp(y, 0, std::max(0, FDocHeight - SurfaceHeight()));
    int old = FSectionList->YOff;
    {
        QSignalBlocker block(FVScroll);
        FVScroll->setValue(y);
    }
    FSectionList->ScrollTo(y);
    if (y != old)
        AnnounceScrolled(*this);
    if (smallStep && std::abs(y - old) == VSmallStep && FSectionList->BackgroundImage.empty())
        FPaintPanel->scroll(0, old - y);
    else
        FPaintPanel->update();
}

int THTMLViewer::ViewPosition() const
{
    int top = VScrollBarPosition();
    int sectionY = 0, index = 0;
    if (FSectionList->SectionAtY(top, sectionY, index) && top - sectionY <= 0xFFFF)
        return (index + 1) * 0x10000 + (top - sectionY);
    return top;
}

void THTMLViewer::SetViewPosition(int position)
{
    if (position < 0x10000) {
        SetVScrollBarPosition(position);
        return;
    }
    size_t index = size_t(position / 0x10000 - 1);
    if (index < FSectionList->PositionList.size())
        SetVScrollBarPosition(FSectionList->PositionList[index]->YPosition() + position % 0x10000);
}

void THTMLViewer::ScrollIntoView(int y, int margin)
{
    int top = VScrollBarPosition();
    if (y < top)
        SetVScrollBarPosition(y);
    else if (y > top + SurfaceHeight() - margin)
        SetVScrollBarPosition(y - SurfaceHeight() / 2);
}

// ---- Keys and wheel -------------------------------------------------------------

void THTMLViewer::keyPressEvent(QKeyEvent* event)
{
    if (FCaretBrowser.HandleKey(*event)) {
        event->accept();
        return;
    }
    int top = VScrollBarPosition();
    int page = FVScroll->pageStep();
    switch (event->key()) {
    case Qt::Key_PageUp: ScrollToY(top - page); break;
    case Qt::Key_PageDown: ScrollToY(top + page); break;
    case Qt::Key_Space: ScrollToY(event->modifiers() & Qt::ShiftModifier ? top - page : top + page); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!ActivateFocusedLink()) {
            QWidget::keyPressEvent(event);
            return;
        }
        break;
    case Qt::Key_Home: ScrollToY(0); break;
    case Qt::Key_End: ScrollToY(FDocHeight); break;
    case Qt::Key_Up: ScrollToY(top - VSmallStep, true); break;
    case Qt::Key_Down: ScrollToY(top + VSmallStep, true); break;
    case Qt::Key_Left: SetHScrollBarPosition(HScrollBarPosition() - FHScroll->singleStep()); break;
    case Qt::Key_Right: SetHScrollBarPosition(HScrollBarPosition() + FHScroll->singleStep()); break;
    default:
        if (event->matches(QKeySequence::Copy))
            CopyToClipboard();
        else if (event->matches(QKeySequence::SelectAll))
            SelectAll();
        else
            QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void THTMLViewer::wheelEvent(QWheelEvent* event)
{
    // Ctrl+wheel zooms; that is the owner's business.
    if (event->modifiers() & Qt::ControlModifier) {
        event->ignore();
        return;
    }
    int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    int lines = QApplication::wheelScrollLines();
    int step = lines > 0 ? VSmallStep * lines * (delta > 0 ? 1 : -1) : delta / 2;
    ScrollToY(VScrollBarPosition() - step);
    event->accept();
}

void THTMLViewer::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (OnFocusReceived)
        OnFocusReceived(this, event->reason());
    update();
}

// ---- Painting ------------------------------------------------------------------------

void THTMLViewer::paintEvent(QPaintEvent* event)
{
    // The viewer is opaque: whatever its surface and scroll bars leave free
    // (the corner between the bars) is painted here, or it would keep the
    // pixels of whatever was shown there before.
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    if (BorderWidth() == 0)
        return;
    QColor dark = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
    if (FBorderStyle == THTMLBorderStyle::htFocused && hasFocus())
        dark = light = palette().color(QPalette::Highlight);
    DrawSunkenOutline(painter, rect(), dark, light);
}

void THTMLViewer::PaintBackground(TCanvas& canvas, int left, int top, int width, int height) const
{
    const TSectionList& shown = FShownWhileLoading ? *FShownWhileLoading : *FSectionList;
    TColor color = (htOptions & htReaderColors) ? ClNone : shown.Background;
    canvas.fillRect({left, top, left + width, top + height}, color == ClNone ? DefBackground : color);
}

void THTMLViewer::PaintPanel(QPainter& painter, const QRect& clip)
{
    if ((FProcessing && !FShownWhileLoading) || FPainting)
        return;
    FPainting = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FPainting};
    try {
        // Straight onto the panel: Qt paints a widget into its window's
        // off-screen backing store and shows it when the paint is done, so
        // nothing flickers, and a second window-sized bitmap of our own
        // would only double the memory.
        PaintBand(painter, clip);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

void THTMLViewer::PaintBand(QPainter& painter, const QRect& clip)
{
    TQtCanvas canvas(painter);
    PaintBackground(canvas, clip.x(), clip.y(), clip.width(), clip.height());
    TPaintContext pc{canvas, TRect{clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1}};
    pc.yOffset = VScrollBarPosition();
    pc.shiftX = -HScrollBarPosition();
    TReaderColors readerColors{DefFontColor, DefHotSpotColor, DefVisitedLinkColor};
    if (htOptions & htReaderColors)
        pc.readerColors = &readerColors;
    TRect documentArea{pc.shiftX, 0, pc.shiftX + std::max(FDocWidth, SurfaceWidth()),
                       std::max(FDocHeight, pc.yOffset + SurfaceHeight())};
    // While the next document is built, the one it replaces is still shown.
    TSectionList& document = FShownWhileLoading ? *FShownWhileLoading : *FSectionList;
    PaintDocumentBackground(pc, document, documentArea, SurfaceHeight());
    document.PaintDocument(pc, pc.shiftX);
}
