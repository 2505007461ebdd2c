#include "html/viewer/TPageGeometry.h"

#include <algorithm>
#include <cmath>

#include "html/viewer/TvwPrinter.h"
#include "html/viewer/ViewerPrint.h"

namespace {

int MulDiv(long long a, long long b, long long c)
{
    if (c == 0)
        return 0;
    long long p = a * b;
    return int(p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c));
}

int CmToDevice(double cm, int dpi) { return int(cm / 2.54 * dpi); }

} // namespace

TPageGeometry::TPageGeometry(const TvwPrinter& p, const TPrintSettings& s)
{
    dpiX = p.DpiX();
    dpiY = p.DpiY();
    // PrintScale magnifies: at 2.0 a document pixel is twice as large on paper.
    S = std::max(1, int(std::lround(s.screenPixelsPerInch / std::max(0.01, s.scale))));
    int offX = p.OffsetX(), offY = p.OffsetY();
    paperWidth = p.PhysicalWidth();
    paperHeight = p.PhysicalHeight();
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

void TPageGeometry::MakeRoomForBands(int headerSpace, int footerSpace)
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

void TPageGeometry::Map(TCanvas& canvas, TPoint origin) const
{
    canvas.setMapping(origin, {S, S}, {0, 0}, {dpiX, dpiY});
}
