#include "html/viewer/TPrintPreviewView.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "html/layout/TSectionList.h"
#include "html/viewer/QtCanvas.h"
#include "html/viewer/TPrintPager.h"
#include "html/viewer/TvwPrinter.h"

namespace {

// The break pass runs in slices this long, the window's events between them.
constexpr qint64 CountSliceMs = 40;
// What the painted pages may take: about a dozen A4 pages at 100%.
constexpr size_t PageCacheBytes = size_t(48) << 20;
constexpr double MinZoom = 0.1, MaxZoom = 3.0, ZoomStep = 1.25;

int DotsPerMeter(int dpi) { return int(std::lround(dpi / 0.0254)); }

// An image that reports the printer's resolution, so that what layout asks
// of the device is answered as the printer answers it.
QImage DeviceImage(QSize size, int dpiX, int dpiY)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeter(dpiX));
    image.setDotsPerMeterY(DotsPerMeter(dpiY));
    return image;
}

} // namespace

TPrintPreviewView::TPrintPreviewView(QWidget* parent) : QAbstractScrollArea(parent), FCache(PageCacheBytes)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    FScreenDpi = screen && screen->logicalDotsPerInchY() > 0 ? int(screen->logicalDotsPerInchY()) : 96;
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
    connect(&FCountTimer, &QTimer::timeout, this, [this] { CountSlice(); });
    FPrefetchTimer.setSingleShot(true);
    connect(&FPrefetchTimer, &QTimer::timeout, this, [this] { PrefetchAround(); });
}

TPrintPreviewView::~TPrintPreviewView()
{
    // The pager's copy paints through the measuring canvas: it goes first.
    FPager.reset();
    FMeasureCanvas.reset();
    if (FMeasurePainter.isActive())
        FMeasurePainter.end();
}

void TPrintPreviewView::Start(const TSectionList& document, QPrinter& printer, const TPrintSettings& settings,
                              const TPrintCallbacks& callbacks)
{
    FSettings = &settings;
    FCallbacks = &callbacks;
    TvwPrinter facts(printer);
    TPageGeometry geometry(facts, settings);
    FOffsetX = facts.OffsetX();
    FOffsetY = facts.OffsetY();
    FMeasureImage = DeviceImage({1, 1}, geometry.dpiX, geometry.dpiY);
    FMeasurePainter.begin(&FMeasureImage);
    FMeasureCanvas = std::make_unique<TQtCanvas>(FMeasurePainter);
    FPager = std::make_unique<TPrintPager>(document, geometry, settings, callbacks);
    FPager->LayOut(*FMeasureCanvas);
    FCountTimer.start(0);
    UpdateScrollRange();
}

void TPrintPreviewView::CountSlice()
{
    QElapsedTimer slice;
    slice.start();
    bool more = true;
    while (more && slice.elapsed() < CountSliceMs)
        more = FPager->FindNextBreak(*FMeasureCanvas);
    if (!more)
        FCountTimer.stop();
    UpdateScrollRange();
    viewport()->update();
    if (OnPagesCounted)
        OnPagesCounted(PageCount(), !more);
}

void TPrintPreviewView::StopCounting() { FCountTimer.stop(); }

int TPrintPreviewView::PageCount() const { return FPager ? FPager->PageCount() : 0; }

QSize TPrintPreviewView::PageSize() const
{
    if (!FPager)
        return {};
    const TPageGeometry& g = FPager->Geometry();
    return {std::max(1, int(std::lround(double(g.paperWidth) * FScreenDpi * FZoom / g.dpiX))),
            std::max(1, int(std::lround(double(g.paperHeight) * FScreenDpi * FZoom / g.dpiY)))};
}

void TPrintPreviewView::UpdateScrollRange()
{
    const QSize page = PageSize();
    const int height = PageCount() * PageStride() + Gap;
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(std::max(1, viewport()->height() - Gap));
    horizontalScrollBar()->setRange(0, std::max(0, page.width() + 2 * Gap - viewport()->width()));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
}

int TPrintPreviewView::CurrentPage() const
{
    if (PageCount() == 0)
        return 0;
    const int middle = verticalScrollBar()->value() + viewport()->height() / 3;
    return std::clamp(middle / PageStride() + 1, 1, PageCount());
}

void TPrintPreviewView::ShowPage(int page)
{
    if (PageCount() == 0)
        return;
    page = std::clamp(page, 1, PageCount());
    verticalScrollBar()->setValue((page - 1) * PageStride());
}

void TPrintPreviewView::SetZoom(double zoom)
{
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    if (!FPager || std::abs(zoom - FZoom) < 1e-6)
        return;
    // The same place of the same page stays at the top.
    const double at = double(verticalScrollBar()->value()) / PageStride();
    FZoom = zoom;
    FCache.Clear();
    UpdateScrollRange();
    verticalScrollBar()->setValue(int(std::lround(at * PageStride())));
    viewport()->update();
}

void TPrintPreviewView::FitWidth()
{
    if (!FPager)
        return;
    const double width = PageSize().width() / FZoom;
    SetZoom((viewport()->width() - 2 * Gap) / width);
}

QImage TPrintPreviewView::PaintPageImage(int page)
{
    const TPageGeometry& g = FPager->Geometry();
    QImage image = DeviceImage(PageSize(), g.dpiX, g.dpiY);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Printer pixels onto the picture, the printable area where it lies on the paper.
    painter.scale(double(image.width()) / g.paperWidth, double(image.height()) / g.paperHeight);
    painter.translate(FOffsetX, FOffsetY);
    TQtCanvas canvas(painter);
    bool stop = false;
    FPager->PaintPage(canvas, page, *FCallbacks, stop);
    painter.end();
    ++FPaintedPages;
    return image;
}

const QImage& TPrintPreviewView::PageImage(int page)
{
    if (const QImage* kept = FCache.Find(page))
        return *kept;
    FCache.Put(page, PaintPageImage(page));
    return *FCache.Find(page);
}

void TPrintPreviewView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Dark));
    if (!FPager || PageCount() == 0)
        return;
    const QSize size = PageSize();
    const int top = verticalScrollBar()->value();
    const int left = Gap - horizontalScrollBar()->value()
        + std::max(0, (viewport()->width() - size.width() - 2 * Gap) / 2);
    const int first = std::max(1, (top + area.top()) / PageStride() + 1);
    const int last = std::min(PageCount(), (top + area.bottom()) / PageStride() + 1);
    for (int page = first; page <= last; ++page) {
        const QRect where(left, Gap + (page - 1) * PageStride() - top, size.width(), size.height());
        if (!where.intersects(area))
            continue;
        painter.fillRect(where.translated(3, 3), palette().color(QPalette::Shadow));
        painter.drawImage(where.topLeft(), PageImage(page));
    }
    FPrefetchTimer.start(0);
}

void TPrintPreviewView::PrefetchAround()
{
    // The page just before and just after the view are painted while the
    // user reads, so that the next step shows at once.
    if (!FPager || PageCount() == 0)
        return;
    const int top = verticalScrollBar()->value();
    const int first = top / PageStride() + 1;
    const int last = (top + viewport()->height()) / PageStride() + 1;
    for (int page : {last + 1, first - 1})
        if (page >= 1 && page <= PageCount() && !FCache.Find(page))
            FCache.Put(page, PaintPageImage(page));
    // The pages in view become the newest again.
    for (int page = std::min(last, PageCount()); page >= std::max(1, first); --page)
        FCache.Find(page);
}

void TPrintPreviewView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void TPrintPreviewView::scrollContentsBy(int, int)
{
    viewport()->update();
    ReportCurrentPage();
}

void TPrintPreviewView::ReportCurrentPage()
{
    const int page = CurrentPage();
    if (page != FReportedPage) {
        FReportedPage = page;
        if (OnCurrentPage)
            OnCurrentPage(page);
    }
}

void TPrintPreviewView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        SetZoom(event->angleDelta().y() > 0 ? FZoom * ZoomStep : FZoom / ZoomStep);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void TPrintPreviewView::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageDown: bar->setValue(bar->value() + bar->pageStep()); break;
    case Qt::Key_PageUp: bar->setValue(bar->value() - bar->pageStep()); break;
    case Qt::Key_Down: bar->setValue(bar->value() + bar->singleStep()); break;
    case Qt::Key_Up: bar->setValue(bar->value() - bar->singleStep()); break;
    case Qt::Key_Home: bar->setValue(0); break;
    case Qt::Key_End: bar->setValue(bar->maximum()); break;
    case Qt::Key_Plus: SetZoom(FZoom * ZoomStep); break;
    case Qt::Key_Minus: SetZoom(FZoom / ZoomStep); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}
