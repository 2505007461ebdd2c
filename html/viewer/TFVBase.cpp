#include "html/viewer/TFVBase.h"

#include <QApplication>
#include <QPalette>

#include "html/viewer/LinkNames.h"

TFVBase::TFVBase(QWidget* parent) : QWidget(parent)
{
    QPalette palette = QApplication::palette();
    auto toColor = [](const QColor& c) { return TColor(c.red() | (c.green() << 8) | (c.blue() << 16)); };
    DefBackground = toColor(palette.color(QPalette::Button));
    DefFontColor = toColor(palette.color(QPalette::ButtonText));
}

void TFVBase::SetServerRoot(const std::string& root) { FServerRoot = NormalizeServerRoot(root); }

void TFVBase::ApplySettings(THTMLViewer& v) const
{
    v.DefBackground = DefBackground;
    v.CharSet = CharSet;
    v.SetViewImages(FViewImages);
    v.ImageCacheCount = ImageCacheCount;
    v.NoSelect = NoSelect;
    v.DefFontColor = DefFontColor;
    v.DefHotSpotColor = DefHotSpotColor;
    v.DefOverLinkColor = DefOverLinkColor;
    v.DefVisitedLinkColor = DefVisitedLinkColor;
    v.DefFontName = DefFontName;
    v.DefPreFontName = DefPreFontName;
    v.DefFontSize = DefFontSize;
    v.Zoom = Zoom;
    v.SetHistoryMaxCount(FHistoryMaxCount);
    v.PrintMarginLeft = PrintMarginLeft;
    v.PrintMarginRight = PrintMarginRight;
    v.PrintMarginTop = PrintMarginTop;
    v.PrintMarginBottom = PrintMarginBottom;
    v.PrintScale = PrintScale;
    v.PrintHeaderSpace = PrintHeaderSpace;
    v.PrintFooterSpace = PrintFooterSpace;
    v.SetServerRoot(FServerRoot);
    ThtmlViewerOptions o = htPrintTableBackground | htPrintMonochromeBlack;
    if (fvOptions & fvOverLinksActive)
        o |= htOverLinksActive;
    if (fvOptions & fvNoLinkUnderline)
        o |= htNoLinkUnderline;
    if (fvOptions & fvPrintBackground)
        o |= htPrintBackground;
    if (fvOptions & fvShowVScroll)
        o |= htShowVScroll;
    if (fvOptions & fvReaderColors)
        o |= htReaderColors;
    if (!(fvOptions & fvPrintTableBackground))
        o &= ~unsigned(htPrintTableBackground);
    if (!(fvOptions & fvPrintMonochromeBlack))
        o &= ~unsigned(htPrintMonochromeBlack);
    v.htOptions = o;
    v.OnFormSubmit = OnFormSubmit;
    v.OnProgress = OnProgress;
    v.OnImageClick = OnImageClick;
    v.OnImageOver = OnImageOver;
    v.OnRightClick = OnRightClick;
    v.OnMouseDouble = OnMouseDouble;
    v.OnScript = OnScript;
    v.OnSoundRequest = OnSoundRequest;
    v.OnMeta = OnMeta;
    v.OnLink = OnLink;
    v.OnParseBegin = OnParseBegin;
    v.OnParseEnd = OnParseEnd;
    v.OnPrintHeader = OnPrintHeader;
    v.OnPrintFooter = OnPrintFooter;
    v.OnPrintHTMLHeader = OnPrintHTMLHeader;
    v.OnPrintHTMLFooter = OnPrintHTMLFooter;
    v.OnPrintProgress = OnPrintProgress;
    v.OnPrintWatch = OnPrintWatch;
    v.OnLoadProgress = OnLoadProgress;
}
