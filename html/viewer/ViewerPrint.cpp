#include "html/viewer/ViewerPrint.h"

#include <QCoreApplication>
#include <QPrinter>
#include <cmath>
#include <memory>

#include "html/layout/Backgrounds.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/QtCanvas.h"
#include "html/viewer/TvwPrinter.h"

namespace {

int MulDiv(long long a, long long b, long long c)
{
    if (c == 0)
        return 0;
    long long p = a * b;
    return int(p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c));
}

int CmToDevice(double cm, int dpi) { return int(cm / 2.54 * dpi); }

// The page geometry in device pixels and in document units.
struct TPageGeometry {
    int S = 96;         // document units per inch
    int dpiX = 96, dpiY = 96;
    int L = 0, T = 0;   // printable area's left and top, device pixels
    int PW = 0, PH = 0; // printable width and height, device pixels
    int XL0 = 0, W = 0, TB = 0, H = 0; // document units
    int PHd = 0, PWd = 0;

    TPageGeometry(TvwPrinter& p, const TPrintSettings& s)
    {
        dpiX = p.DpiX();
        dpiY = p.DpiY();
        // PrintScale magnifies: at 2.0 a document pixel is twice as large on paper.
        S = std::max(1, int(std::lround(s.screenPixelsPerInch / std::max(0.01, s.scale))));
        int offX = p.OffsetX(), offY = p.OffsetY();
        int right = std::max(0, p.PhysicalWidth() - p.PageWidth() - offX);
        int bottom = std::max(0, p.PhysicalHeight() - p.PageHeight() - offY);
        L = CmToDevice(s.marginLeft, dpiX) - offX;
        PW = p.PageWidth() + right - CmToDevice(s.marginRight, dpiX) - L;
        T = CmToDevice(s.marginTop, dpiY) - offY;
        PH = p.PageHeight() + offY - CmToDevice(s.marginTop, dpiY) - (CmToDevice(s.marginBottom, dpiY) - bottom);
        XL0 = MulDiv(L, S, dpiX);
        W = MulDiv(PW, S, dpiX);
        TB = MulDiv(T, S, dpiY);
        H = MulDiv(PH, S, dpiY);
        PHd = MulDiv(p.PageHeight(), S, dpiY);
        PWd = MulDiv(p.PageWidth(), S, dpiX);
        MakeRoomForBands(s.headerSpace, s.footerSpace);
    }

    // Moves the body's top down and its bottom up until the header and
    // footer bands hold what they need.
    void MakeRoomForBands(int headerSpace, int footerSpace)
    {
        int top = std::max(0, headerSpace - TB);
        int bottom = std::max(0, footerSpace - (PHd - TB - H));
        if (top == 0 && bottom == 0)
            return;
        TB += top;
        H = std::max(1, H - top - bottom);
        T = MulDiv(TB, dpiY, S);
        PH = MulDiv(H, dpiY, S);
    }

    void Map(TCanvas& canvas, TPoint origin) const { canvas.setMapping(origin, {S, S}, {0, 0}, {dpiX, dpiY}); }
};

class TPageLoop {
public:
    TPageLoop(const TSectionList& document, TvwPrinter& printer, const TPrintSettings& settings,
              const TPrintCallbacks& callbacks)
        : FPrinter(printer), FSettings(settings), FCallbacks(callbacks), FGeo(printer, settings)
    {
        if (callbacks.printDocument)
            FCopy = callbacks.printDocument(FGeo.W);
        if (!FCopy)
            FCopy = TSectionList::CreateCopy(document);
        FCopy->Printing = true;
        FCopy->YOff = 0;
        FCopy->Background = 0xFFFFFF;
        FCopy->PrintBackground = settings.printBackground;
        FCopy->PrintMonochrome = settings.printMonochromeBlack;
    }

    // Answers the page counter after the loop (one past the last page).
    int Run(int fromPage, int toPage, bool& stop)
    {
        TCanvas& canvas = FPrinter.Canvas();
        FGeo.Map(canvas, {0, 0});
        int maxWidth = 0;
        int D = FCopy->LayOut(canvas, 0, FGeo.W, FGeo.H, maxWidth);
        TRect deviceClip{FGeo.L, FGeo.T - 1, FGeo.L + FGeo.PW + 2, FGeo.T + FGeo.PH + 2};
        QCoreApplication::processEvents();
        if (FCallbacks.progress)
            FCallbacks.progress(1, stop);
        int counter = 1;
        int P = 0;
        while (counter <= toPage && !stop) {
            FCopy->ScrollTo(P - FGeo.TB);
            FGeo.Map(canvas, {0, 0});
            canvas.selectDeviceClip(deviceClip);
            int bottom = counter < fromPage ? PaintHidden(canvas, P) : PaintPage(canvas, P, D, counter, stop);
            P = bottom;
            QCoreApplication::processEvents();
            if (FCallbacks.progress)
                FCallbacks.progress(counter, stop);
            if (D <= P || P <= FLastP) // the document ended (or the page end did not move)
                stop = true;
            FLastP = P;
            if (!stop && fromPage <= counter && counter < toPage)
                FPrinter.NewPage();
            ++counter;
        }
        return counter;
    }

private:
    TPaintContext Context(TCanvas& canvas, int P) const
    {
        TPaintContext pc{canvas, TRect{FGeo.XL0, FGeo.TB, FGeo.XL0 + FGeo.W, FGeo.TB + FGeo.H}};
        pc.yOffset = P - FGeo.TB;
        pc.printing = true;
        pc.printBackground = FSettings.printBackground;
        pc.printMonochrome = FSettings.printMonochromeBlack;
        return pc;
    }

    // A page before the range: laid out far outside the clip so that only
    // its page end is found.
    int PaintHidden(TCanvas& canvas, int P)
    {
        TPaintContext pc = Context(canvas, P);
        pc.shiftX = 3 * FGeo.W + FGeo.XL0;
        FCopy->PaintDocument(pc, pc.shiftX);
        return pc.pageBottom;
    }

    void FillWhite(TCanvas& canvas, int top, int bottom)
    {
        if (bottom <= top)
            return;
        canvas.setPen(TPen{0xFFFFFF, 1, TPenStyle::Solid});
        canvas.setBrush(TBrush{0xFFFFFF, TBrushStyle::Solid});
        canvas.fillRect({FGeo.XL0, top, FGeo.XL0 + FGeo.W + 1, bottom}, 0xFFFFFF);
    }

    int PaintPage(TCanvas& canvas, int P, int D, int counter, bool& stop)
    {
        if (FSettings.printBackground)
            canvas.fillRect({FGeo.XL0, FGeo.TB, FGeo.XL0 + FGeo.W, FGeo.TB + FGeo.H}, FSettings.background);
        TPaintContext pc = Context(canvas, P);
        pc.shiftX = FGeo.XL0;
        if (FSettings.printBackground)
            PaintDocumentBackground(pc, *FCopy, TRect{FGeo.XL0, 0, FGeo.XL0 + FGeo.W, std::max(D, P + FGeo.H)});
        FCopy->PaintDocument(pc, pc.shiftX);
        int pageBottom = pc.pageBottom;
        canvas.save();
        canvas.removeClip();
        FillWhite(canvas, 0, FGeo.TB);
        int breakY = pageBottom + FGeo.TB - P;
        FillWhite(canvas, breakY + 2, FGeo.TB + FGeo.H + 1);
        if (FSettings.printBackground && breakY < FGeo.TB + FGeo.H)
            canvas.fillRect({FGeo.XL0, breakY, FGeo.XL0 + FGeo.W, FGeo.TB + FGeo.H}, FSettings.background);
        canvas.setTextAlign(TTextAlign::Top);
        if (FCallbacks.header) {
            FGeo.Map(canvas, {0, 0});
            FCallbacks.header(canvas, counter, FGeo.PWd, FGeo.TB, stop);
        }
        if (FCallbacks.footer) {
            FGeo.Map(canvas, {0, -(FGeo.TB + FGeo.H)});
            FCallbacks.footer(canvas, counter, FGeo.PWd, FGeo.PHd - FGeo.TB - FGeo.H, stop);
        }
        bool last = D <= pageBottom;
        HtmlBand(canvas, FCallbacks.htmlHeader, counter, last, stop, true);
        HtmlBand(canvas, FCallbacks.htmlFooter, counter, last, stop, false);
        canvas.restore();
        return pageBottom;
    }

    void HtmlBand(TCanvas& canvas, const std::function<THtmlBand(int, bool, int&, int&, bool&)>& callback, int page,
                  bool last, bool& stop, bool header)
    {
        if (!callback)
            return;
        try {
            int xl = FGeo.XL0, xr = FGeo.XL0 + FGeo.W;
            THtmlBand band = callback(page, last, xl, xr, stop);
            if (!band.document || xr <= xl)
                return;
            auto copy = TSectionList::CreateCopy(*band.document);
            copy->Printing = true;
            int maxWidth = 0;
            int E = copy->LayOut(canvas, 0, xr - xl, 300, maxWidth);
            int originY = header ? 0 : -FGeo.TB - FGeo.H;
            int bandHeight = header ? FGeo.TB : std::min(FGeo.PHd - FGeo.TB - FGeo.H, E);
            int shift = header ? E - FGeo.TB : 0;
            FGeo.Map(canvas, {0, originY});
            canvas.save();
            canvas.intersectClip({xl, 0, xr, bandHeight});
            canvas.fillRect({xl, -shift, xr, -shift + E}, band.background);
            copy->ScrollTo(shift);
            TPaintContext pc{canvas, TRect{xl, 0, xr, bandHeight}};
            pc.yOffset = shift;
            pc.printing = true;
            pc.pageBottom = shift + bandHeight + E; // a band never breaks
            pc.shiftX = xl;
            copy->PaintDocument(pc, xl);
            canvas.restore();
        } catch (const std::exception&) {
            // a failing band leaves the page as it is
        }
    }

    TvwPrinter& FPrinter;
    const TPrintSettings& FSettings;
    const TPrintCallbacks& FCallbacks;
    TPageGeometry FGeo;
    std::shared_ptr<TSectionList> FCopy;
    int FLastP = -1;
};

} // namespace

int PrintDocument(const TSectionList& document, QPrinter& printer, int fromPage, int toPage,
                  const TPrintSettings& settings, const TPrintCallbacks& callbacks)
{
    bool stop = false;
    if (callbacks.progress)
        callbacks.progress(0, stop);
    if (document.Sections.empty())
        return 0;
    TvwPrinter job(printer);
    job.Title = settings.title;
    int counter = 1;
    try {
        job.BeginDoc();
        TPageLoop loop(document, job, settings, callbacks);
        counter = loop.Run(fromPage, toPage, stop);
    } catch (...) {
        if (job.Printing())
            job.Abort();
        throw;
    }
    // No page of the range was reached: nothing is printed.
    if (counter <= fromPage)
        job.Abort();
    else
        job.EndDoc();
    return counter - 1;
}

int PrintDocumentToPdf(const TSectionList& document, const std::string& pdfFile, const TPrintSettings& settings,
                       int fromPage, int toPage)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdfFile));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    return PrintDocument(document, printer, fromPage, toPage, settings);
}
