#pragma once
// THTMLViewer: the scrolling control that shows one document (an HTML file,
// a plain-text file, a lone image, or text held in memory).
//
// The widget is thin: it owns the document (TSectionList), asks the reader to
// fill it, lays it out for its width, and maps scroll offsets, keys and mouse
// actions onto the document's own layout, paint, hit-test, search and
// selection operations. History, visited links and link names are kept here.
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "html/viewer/PositionObj.h"
#include "html/viewer/TCaretBrowser.h"
#include "images/DecodeResult.h"
#include "html/viewer/TVisitedList.h"
#include "util/Colors.h"
#include "util/TPackedText.h"

class QImage;
class QPainter;
class TCanvas;
class TFloatingObj;
class TPaintPanel;
class TQtCanvas;
class TQtControlFactory;
class TSectionList;
class TStringBitmapList;
struct TDocumentDefaults;
struct TLinkHit;
struct TLinkInfo;
struct TReaderResult;
class THTMLViewer;
enum class TPrintStage;
enum class TLoadStage;
class TLoadWatch;

enum class THTMLBorderStyle { htFocused, htNone, htSingle };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TFocusStep { Next, Previous };
// What a find that may go round the document found: nothing, a match on
// the way, or a match after passing the end (the top, going up).
enum class TFindOutcome { NotFound, Found, Wrapped };

enum ThtmlViewerOption : unsigned {
    htOverLinksActive = 1,
    htNoLinkUnderline = 2,
    htPrintTableBackground = 4,
    htPrintBackground = 8,
    htPrintMonochromeBlack = 16,
    htShowDummyCaret = 32,
    htShowVScroll = 64,
    // "Always use my colours": the default colours replace the document's.
    htReaderColors = 128,
};
using ThtmlViewerOptions = unsigned;

// What a right click hit.
struct TRightClickParameters {
    std::string URL;
    std::string Target;
    TFloatingObj* Image = nullptr;
    int ImageX = 0;
    int ImageY = 0;
    std::string ClickWord;
};

// The vertical bar: positions are 32-bit, so documents far taller than 32767
// pixels scroll; the small step is 16 pixels.
class T32ScrollBar : public QScrollBar {
public:
    explicit T32ScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
    {
        setSingleStep(16);
        setFocusPolicy(Qt::NoFocus);
    }
};

class THTMLViewer : public QWidget {
public:
    explicit THTMLViewer(QWidget* parent = nullptr);
    ~THTMLViewer() override;

    // ---- Published properties -------------------------------------------
    TColor DefBackground;
    TColor DefFontColor;
    std::string DefFontName = "Times New Roman";
    std::string DefPreFontName = "Courier New";
    int DefFontSize = 12;
    TColor DefHotSpotColor = 0xFF0000;     // blue (0x00BBGGRR)
    TColor DefOverLinkColor = 0xFF0000;
    TColor DefVisitedLinkColor = 0x800080; // purple
    int ImageCacheCount = 5;
    bool NoSelect = false;
    int MarginWidth = 10;
    int MarginHeight = 5;
    int CharSet = 1;
    double PrintMarginLeft = 2.0, PrintMarginRight = 2.0, PrintMarginTop = 2.0, PrintMarginBottom = 2.0;
    double PrintScale = 1.0;
    // Document units the header and footer callbacks need inside the top and
    // bottom margins; a smaller margin makes the body shorter instead.
    int PrintHeaderSpace = 0, PrintFooterSpace = 0;
    // Percent the fonts and pictures of documents are shown at; Rebuild
    // applies a change to the shown document.
    int Zoom = 100;
    ThtmlViewerOptions htOptions = htPrintTableBackground | htPrintMonochromeBlack;

    int VisitedMaxCount() const { return FVisited.MaxCount(); }
    void SetVisitedMaxCount(int count);
    int HistoryMaxCount() const { return FHistoryMaxCount; }
    void SetHistoryMaxCount(int count);
    bool ViewImages() const { return FViewImages; }
    void SetViewImages(bool view);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);
    THTMLBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(THTMLBorderStyle style);
    const std::string& ServerRoot() const { return FServerRoot; }
    void SetServerRoot(const std::string& root);
    // The image cache (frames of one frame-set viewer share one).
    void SetImageCache(std::shared_ptr<class TStringBitmapList> cache);
    TStringBitmapList& ImageCache();

    // ---- Published events (the first argument is the sender) -----------
    std::function<void(THTMLViewer*, const std::string& url)> OnHotSpotCovered;
    std::function<void(THTMLViewer*, const std::string& url, bool& handled)> OnHotSpotClick;
    std::function<void(THTMLViewer*, const std::string& action, const std::string& target,
                       const std::string& encType, const std::string& method, const std::vector<std::string>& results)>
        OnFormSubmit;
    std::function<void(THTMLViewer*)> OnHistoryChange;
    std::function<void(THTMLViewer*, int stage, int percentDone)> OnProgress;
    std::function<void(THTMLViewer*, bool processing)> OnProcessing;
    // A load that has taken half a second: (stage, done, total), bytes while
    // reading and building, percent while laying out. Escape cancels such a
    // load while it reads and builds, and the document shown stays.
    std::function<void(THTMLViewer*, TLoadStage stage, std::int64_t done, std::int64_t total)> OnLoadProgress;
    std::function<void(THTMLViewer*, TCanvas& canvas, int numPage, int w, int h, bool& stopPrinting)> OnPrintHeader;
    std::function<void(THTMLViewer*, TCanvas& canvas, int numPage, int w, int h, bool& stopPrinting)> OnPrintFooter;
    std::function<void(THTMLViewer*, THTMLViewer* hfViewer, int numPage, bool lastPage, int& xl, int& xr,
                       bool& stopPrinting)>
        OnPrintHTMLHeader;
    std::function<void(THTMLViewer*, THTMLViewer* hfViewer, int numPage, bool lastPage, int& xl, int& xr,
                       bool& stopPrinting)>
        OnPrintHTMLFooter;
    std::function<void(THTMLViewer*, int page, bool& stop)> OnPrintProgress;
    // A long print job: (stage, pages done, pages in all, 0 while counting);
    // answering true cancels the job without a trace (see ViewerPrint).
    std::function<bool(THTMLViewer*, TPrintStage stage, int done, int total)> OnPrintWatch;
    std::function<void(THTMLViewer*, const std::string& src, int loop, bool terminate)> OnSoundRequest;
    std::function<void(THTMLViewer*, const std::string& name, const std::string& language, const std::string& script)>
        OnScript;
    std::function<void(THTMLViewer*, const std::string& httpEq, const std::string& name, const std::string& content)>
        OnMeta;
    std::function<void(THTMLViewer*, const std::string& rel, const std::string& rev, const std::string& href)> OnLink;
    std::function<void(THTMLViewer*, int delay, const std::string& url)> OnMetaRefresh;
    std::function<void(THTMLViewer*, TFloatingObj* image, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                       int y)>
        OnImageClick;
    std::function<void(THTMLViewer*, TFloatingObj* image, Qt::KeyboardModifiers shift, int x, int y)> OnImageOver;
    std::function<void(THTMLViewer*, const TRightClickParameters& parameters)> OnRightClick;
    std::function<void(THTMLViewer*, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseDouble;
    std::function<void(THTMLViewer*, std::string& source)> OnParseBegin;
    std::function<void(THTMLViewer*)> OnParseEnd;
    // The viewer took the keyboard focus, and why (the frame viewer tracks
    // the frame the user chose).
    std::function<void(THTMLViewer*, Qt::FocusReason)> OnFocusReceived;
    // A file input's "Browse..." button: fileName holds the edit's text and
    // takes the choice; false when cancelled. Without a handler the viewer
    // asks with a file dialog of its own.
    std::function<bool(THTMLViewer*, std::u16string& fileName)> OnFileBrowse;

    // ---- Loading ----------------------------------------------------------
    // The name may end in "#" and an anchor name. A missing file raises
    // EInOutError "Can't locate file: " + name.
    void ShowFile(const std::string& name);
    void ShowTextFile(const std::string& name);
    void ShowImageFile(const std::string& name);
    void ShowHtmlText(const std::string& text, const std::string& referenceName = "");
    void ShowPlainText(const std::string& text, const std::string& referenceName = "");
    void Clear();
    void Reload();
    // Builds the shown document again from its text with the current fonts,
    // colours and zoom, keeping the form contents and the place in it.
    void Rebuild();

    bool GotoAnchor(const std::string& name);
    // The Y an ID or anchor name scrolls to.
    int AnchorYOf(class TIDObject& target);
    // Searches on from the selection: forward from its end, backwards from
    // its start, so that the match shown is never found again.
    bool FindInText(const std::string& text, bool matchCase, bool backwards = false);
    // FindInText, and when nothing is found before the end (the top, going
    // up), once more from the other end of the document.
    TFindOutcome FindWrapping(const std::string& text, bool matchCase, bool backwards);
    // The searched words marked in the document (sorted, apart; see
    // THighlightRanges): they go with the document and are never printed.
    void SetHighlights(std::vector<std::pair<int, int>> ranges);
    const std::vector<std::pair<int, int>>& Highlights() const;
    // Marks highlight `index` as the current one and scrolls it into view as
    // a find does; the caret moves to its end. An index past the last leaves
    // none current.
    void ShowHighlight(size_t index);
    std::string ExpandLinkName(const std::string& link) const;
    // The default action for a clicked link (when OnHotSpotClick left it).
    void FollowLink(const std::string& url);

    // ---- Keyboard focus (THTMLViewerFocus.cpp) ---------------------------------
    // Moves the focus to the next or previous link or form control in reading
    // order, round the document; false when it has none.
    bool MoveFocus(TFocusStep step);
    // The URL of the link that has the keyboard focus; empty when none has.
    std::string FocusedLink() const;
    // Follows a link as a click on it does (OnHotSpotClick, else FollowLink).
    void ActivateLink(const TLinkInfo& link);

    // ---- Pictures (THTMLViewerObjects.cpp) ---------------------------------
    // The data of an image the stream callback answered "wait" for arrived
    // (empty data: it failed); the document is laid out again around it.
    void InsertImage(const std::string& source, TByteSpan data);

    // ---- Document state ---------------------------------------------------
    const std::string& CurrentFile() const { return FCurrentFile; }
    TDocKind DocKind() const { return FDocKind; }
    const std::string& DocumentTitle() const { return FTitle; }
    const std::string& Base() const { return FBase; }
    void SetBase(const std::string& base) { FBase = base; }
    const std::string& BaseTarget() const { return FBaseTarget; }
    // The source text as read (or as OnParseBegin replaced it).
    std::string DocumentSource() const { return FSource.Unpack(); }
    bool Processing() const { return FProcessing; }
    TSectionList& SectionList() { return *FSectionList; }
    // Counts layouts: what was read from the laid-out document before a
    // change of this number may point at boxes that are gone.
    int LayoutVersion() const { return FLayoutVersion; }
    // Reading with a text caret (F7).
    TCaretBrowser& CaretBrowser() { return FCaretBrowser; }
    const std::string& LinkAttemptedURL() const { return FURL; }
    const std::string& LinkTarget() const { return FTarget; }
    // Inside a frame set the frame viewer keeps the visited list.
    void SetInFrameSet(bool inFrameSet) { FInFrameSet = inFrameSet; }

    // ---- History ----------------------------------------------------------
    void ClearHistory();
    int HistoryIndex() const { return FHistoryIndex; }
    void SetHistoryIndex(int index);
    // What the user typed and chose in the document's forms (none without
    // forms), and putting it back into the same page loaded again.
    std::unique_ptr<TFormData> SaveFormData() const;
    void RestoreFormData(const TFormData* data);
    int HistoryCount() const { return int(FHistory.size()); }
    const std::string& HistoryFile(int i) const { return FHistory[size_t(i)].file; }
    const std::string& HistoryTitle(int i) const { return FHistory[size_t(i)].title; }
    const PositionObj& HistoryPosition(int i) const { return *FHistory[size_t(i)].pos; }

    // ---- Visited links ----------------------------------------------------
    void MarkVisited(const std::string& url);
    // Marks every link of the document whose expanded URL the predicate accepts.
    void MarkLinks(const std::function<bool(const std::string& expandedUrl)>& isVisited);
    const TVisitedList& Visited() const { return FVisited; }

    // ---- Position and scrolling --------------------------------------------
    int ViewPosition() const;
    void SetViewPosition(int position);
    int VScrollBarPosition() const;
    void SetVScrollBarPosition(int y);
    int HScrollBarPosition() const;
    void SetHScrollBarPosition(int x);
    int DocumentHeight() const { return FDocHeight; }
    int DocumentWidth() const { return FDocWidth; }
    int SurfaceWidth() const;
    int SurfaceHeight() const;
    bool VScrollBarVisible() const;
    bool HScrollBarVisible() const;
    // Lays the document out again for the current width (keeps ViewPosition
    // when asked); answers how many layout passes it took.
    int Relayout();
    void RelayoutKeepPosition();

    // ---- Selection ----------------------------------------------------------
    void SelectAll();
    void CopyToClipboard();
    std::u16string SelText() const;
    int SelStart() const;
    int SelLength() const;

    // ---- Printing -----------------------------------------------------------
    // Prints pages FromPage..ToPage (from 1) on the printer; see ViewerPrint.
    void Print(int fromPage, int toPage, class QPrinter& printer);
    int PrintedPages() const { return FPrintedPages; }
    // The shown document read again for the printed page (@media print,
    // width queries against the page's printable width in pixels); null
    // when its sheets give the same rules there, and a copy of the shown
    // document prints.
    std::shared_ptr<TSectionList> PrintMediaDocument(int pageWidth);

    // Paints the window band clip (surface pixels) at the current offsets.
    void PaintBand(QPainter& painter, const QRect& clip);
    // For the frame viewer and printing.
    void PaintBackground(TCanvas& canvas, int left, int top, int width, int height) const;
    TCanvas& MeasuringCanvas();
    void SetPrintedPages(int pages) { FPrintedPages = pages; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TPaintPanel;
    struct HistoryEntry {
        std::string file;
        std::string title;
        std::unique_ptr<PositionObj> pos;
    };

    // Loading (THTMLViewer.cpp).
    void LoadFile(const std::string& name, TDocKind kind);
    void ShowWithHistory(const std::string& name, TDocKind kind);
    // memoryText: the document's text when it is not read from the file.
    void LoadDocument(const std::string& name, TDocKind kind, std::optional<std::string> memoryText);
    void ParseSource(const std::string& source, TReaderResult& result, TLoadWatch& watch);
    // An empty document set up as the viewer's own (controls, host, image cache).
    std::unique_ptr<TSectionList> NewDocument() const;
    void ApplyDefaults();
    void ApplyDefaultsTo(TSectionList& doc) const;
    void HandleMeta(const std::string& httpEq, const std::string& name, const std::string& content);
    void AddHistoryEntry(const std::string& oldFile, const std::string& oldTitle, TDocKind oldKind,
                         std::unique_ptr<TFormData> formData, int oldPosition);
    void ApplyVisited();
    void SetProcessing(bool on);

    // Layout and painting (THTMLViewerPaint.cpp).
    int LayoutAt(int width);
    void PlaceScrollBars();
    int BorderWidth() const;
    void PaintPanel(QPainter& painter, const QRect& clip);
    void ScrollToY(int y, bool smallStep = false);
    void ScrollIntoView(int y, int margin);
    // Scrolls a document position into view as a find does.
    void ScrollToPosition(int position);

    // Mouse (THTMLViewerInput.cpp).
    void PanelMousePress(QMouseEvent* event);
    void PanelMouseMove(QMouseEvent* event);
    void PanelMouseRelease(QMouseEvent* event);
    void PanelMouseDoubleClick(QMouseEvent* event);
    void HoverTimerTick();
    void AutoScrollTick();
    int PositionAtPanel(int x, int y);
    void ExtendSelection(int x, int y);
    std::string WordAt(int position) const;
    int LinkAtPanel(int x, int y, TLinkHit& hit);
    // Focus marks of links that have no tab-stop window of their own.
    void MarkFocusedLink(int linkId);
    bool ActivateFocusedLink();
    // Image files, panels and form submission for the document's objects.
    void ConnectObjectHost();
    bool BrowseForFile(std::u16string& fileName);
    void ReportError(const std::exception& error);

    std::unique_ptr<TSectionList> FSectionList;
    // The document still shown while the next one is built; null otherwise.
    TSectionList* FShownWhileLoading = nullptr;
    TLoadWatch* FLoadWatch = nullptr; // the load under way
    std::shared_ptr<void> FDocumentKeep; // what the reader made for the document
    std::function<bool(int width)> FMediaChangesAt; // the document's sheets read the width
    bool FPrintChangesRules = false; // they give other rules on the printed page
    int MediaWidth() const;
    // What the viewer gives a document that does not set it itself, for a
    // layout the given number of pixels wide.
    TDocumentDefaults ReaderDefaults(int viewportWidth) const;
    std::unique_ptr<QImage> FMeasureImage;
    std::unique_ptr<QPainter> FMeasurePainter;
    std::unique_ptr<TQtCanvas> FMeasureCanvas;
    std::unique_ptr<TQtControlFactory> FControls;
    TPaintPanel* FPaintPanel = nullptr;
    T32ScrollBar* FVScroll = nullptr;
    QScrollBar* FHScroll = nullptr;
    QTimer FHoverTimer;
    QTimer FAutoScrollTimer;

    std::string FCurrentFile;
    TDocKind FDocKind = TDocKind::Html;
    std::string FTitle, FBase, FBaseTarget;
    // Packed once the document is built: only a rebuild reads it again.
    TPackedText FSource;
    std::string FServerRoot;
    int FRefreshDelay = 0;
    std::string FRefreshURL;
    std::string FURL, FTarget;
    bool FProcessing = false;
    bool FPainting = false;
    bool FInFrameSet = false;
    bool FViewImages = true;
    bool FFromMemory = false; // the document's text was handed over, not read from a file
    TScrollStyle FScrollBars = TScrollStyle::ssBoth;
    THTMLBorderStyle FBorderStyle = THTMLBorderStyle::htFocused;
    int FDocHeight = 0;
    int FDocWidth = 0;
    int FLayoutWidth = 0;

    std::vector<HistoryEntry> FHistory;
    int FHistoryIndex = 0;
    int FHistoryMaxCount = 0;
    TVisitedList FVisited;

    // Mouse state.
    bool FLeftButtonDown = false;
    bool FPressWasLeft = false;
    int FSelAnchor = -1;
    bool FPanning = false;
    QPoint FPanStart;
    QPoint FLastMouse;
    int FFocusedLinkId = 0; // link the viewer marked focused by Tab
    int FLayoutVersion = 0;
    TCaretBrowser FCaretBrowser{*this};
    int FPrintedPages = 0;
};
