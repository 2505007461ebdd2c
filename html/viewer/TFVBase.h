#pragma once
// The properties and events a frame-set viewer shares with the viewer of
// every frame it shows.
#include <QWidget>
#include <functional>
#include <string>

#include "html/viewer/THTMLViewer.h"

enum TFrameViewerOption : unsigned {
    fvMetaRefresh = 1,
    fvNoBorder = 2,
    fvNoLinkUnderline = 4,
    fvOverLinksActive = 8,
    fvPrintMonochromeBlack = 16,
    fvPrintTableBackground = 32,
    fvPrintBackground = 64,
    fvShowVScroll = 128,
    fvNoFocusRect = 256,
    fvReaderColors = 512, // "Always use my colours"
};
using TFrameViewerOptions = unsigned;

class TFrameViewer;

class TFVBase : public QWidget {
public:
    explicit TFVBase(QWidget* parent);

    int ImageCacheCount = 5;
    TColor DefBackground;
    TColor DefFontColor;
    TColor DefHotSpotColor = 0xFF0000;
    TColor DefOverLinkColor = 0xFF0000;
    TColor DefVisitedLinkColor = 0x800080;
    int DefFontSize = 12;
    std::string DefFontName = "Times New Roman";
    std::string DefPreFontName = "Courier New";
    int MarginWidth = 10;
    int MarginHeight = 5;
    double PrintMarginLeft = 2.0, PrintMarginRight = 2.0, PrintMarginTop = 2.0, PrintMarginBottom = 2.0;
    double PrintScale = 1.0;
    // Room the header and footer callbacks need inside their margins.
    int PrintHeaderSpace = 0, PrintFooterSpace = 0;
    int CharSet = 1;
    // Percent the documents of every frame are shown at (fonts and pictures).
    int Zoom = 100;
    bool NoSelect = false;
    TFrameViewerOptions fvOptions = fvPrintMonochromeBlack | fvPrintTableBackground;

    bool ViewImages() const { return FViewImages; }
    // Lays every frame's document out again with or without its images.
    virtual void SetViewImages(bool view) { FViewImages = view; }
    int HistoryMaxCount() const { return FHistoryMaxCount; }
    virtual void SetHistoryMaxCount(int count) { FHistoryMaxCount = count < 0 ? FHistoryMaxCount : count; }
    const std::string& ServerRoot() const { return FServerRoot; }
    void SetServerRoot(const std::string& root);

    // Events of the frame-set viewer.
    std::function<void(TFrameViewer*, const std::string& target, const std::string& url)> OnHotSpotTargetCovered;
    std::function<void(TFrameViewer*, const std::string& target, const std::string& url, bool& handled)>
        OnHotSpotTargetClick;
    std::function<void(TFrameViewer*, const std::string& target, const std::string& url)> OnBlankWindowRequest;
    std::function<void(TFrameViewer*)> OnHistoryChange;
    std::function<void(TFrameViewer*, bool processing)> OnProcessing;
    // (sender, source, new name): a request handler that supplies documents.
    std::function<void(TFrameViewer*, const std::string& source, std::string& newName)> OnFileRequest;
    // (sender, source, buffer): a handler that supplies a document's HTML text
    // by name; a buffer left empty means the name is an ordinary file.
    std::function<void(TFrameViewer*, const std::string& source, std::string& buffer)> OnBufferRequest;

    // Events passed on to the viewer of every frame.
    decltype(THTMLViewer::OnFormSubmit) OnFormSubmit;
    decltype(THTMLViewer::OnProgress) OnProgress;
    decltype(THTMLViewer::OnImageClick) OnImageClick;
    decltype(THTMLViewer::OnImageOver) OnImageOver;
    decltype(THTMLViewer::OnRightClick) OnRightClick;
    decltype(THTMLViewer::OnMouseDouble) OnMouseDouble;
    decltype(THTMLViewer::OnScript) OnScript;
    decltype(THTMLViewer::OnSoundRequest) OnSoundRequest;
    decltype(THTMLViewer::OnMeta) OnMeta;
    decltype(THTMLViewer::OnLink) OnLink;
    decltype(THTMLViewer::OnParseBegin) OnParseBegin;
    decltype(THTMLViewer::OnParseEnd) OnParseEnd;
    decltype(THTMLViewer::OnPrintHeader) OnPrintHeader;
    decltype(THTMLViewer::OnPrintFooter) OnPrintFooter;
    decltype(THTMLViewer::OnPrintHTMLHeader) OnPrintHTMLHeader;
    decltype(THTMLViewer::OnPrintHTMLFooter) OnPrintHTMLFooter;
    decltype(THTMLViewer::OnPrintProgress) OnPrintProgress;
    decltype(THTMLViewer::OnPrintWatch) OnPrintWatch;
    decltype(THTMLViewer::OnLoadProgress) OnLoadProgress;

    // Gives a frame's viewer these settings and passed-on events.
    void ApplySettings(THTMLViewer& viewer) const;

protected:
    bool FViewImages = true;
    int FHistoryMaxCount = 0;
    std::string FServerRoot;
};
