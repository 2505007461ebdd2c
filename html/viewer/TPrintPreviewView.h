#pragma once
// The pages of a print job shown on screen, one under the other. The page
// count comes first, from the page-break pass, which runs a slice at a time
// while the window stays live; a page is painted only when it scrolls into
// view (and the ones next to it just before), and only a few painted pages
// are kept.
#include <QAbstractScrollArea>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <functional>
#include <memory>

#include "html/viewer/TPageImageCache.h"
#include "html/viewer/ViewerPrint.h"

class QPrinter;
class TPrintPager;
class TQtCanvas;
class TSectionList;

class TPrintPreviewView : public QAbstractScrollArea {
public:
    explicit TPrintPreviewView(QWidget* parent = nullptr);
    ~TPrintPreviewView() override;

    // Lays out a print copy of the document for the printer's pages and
    // starts counting them. The settings and callbacks must outlive the view.
    void Start(const TSectionList& document, QPrinter& printer, const TPrintSettings& settings,
               const TPrintCallbacks& callbacks);
    // Stops counting (the pages found so far stay).
    void StopCounting();
    bool Counting() const { return FCountTimer.isActive(); }
    int PageCount() const;
    // The page at the top of the view (from 1; 0 without pages).
    int CurrentPage() const;
    void ShowPage(int page);

    // 1.0 shows a page at its size on this screen.
    double Zoom() const { return FZoom; }
    void SetZoom(double zoom);
    void FitWidth();
    // Pages painted so far (each one once while it stays kept).
    int PaintedPages() const { return FPaintedPages; }
    const TPageImageCache& Cache() const { return FCache; }

    // (pages found, whether all are known)
    std::function<void(int, bool)> OnPagesCounted;
    // The page at the top changed.
    std::function<void(int)> OnCurrentPage;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CountSlice();
    QSize PageSize() const;
    int PageStride() const { return PageSize().height() + Gap; }
    const QImage& PageImage(int page);
    QImage PaintPageImage(int page);
    void PrefetchAround();
    void UpdateScrollRange();
    void ReportCurrentPage();

    static constexpr int Gap = 12;
    const TPrintSettings* FSettings = nullptr;
    const TPrintCallbacks* FCallbacks = nullptr;
    QImage FMeasureImage;
    QPainter FMeasurePainter;
    std::unique_ptr<TQtCanvas> FMeasureCanvas;
    std::unique_ptr<TPrintPager> FPager;
    int FOffsetX = 0, FOffsetY = 0; // the printer's printable area on the paper, device pixels
    int FScreenDpi = 96;
    double FZoom = 1.0;
    TPageImageCache FCache;
    QTimer FCountTimer;
    QTimer FPrefetchTimer;
    int FPaintedPages = 0;
    int FReportedPage = 0;
};
