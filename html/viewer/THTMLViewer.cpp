// THTMLViewer: construction, properties, loading, history, links and visited
// marking. Layout and painting are in THTMLViewerPaint.cpp, mouse and keys in
// THTMLViewerInput.cpp, printing in ViewerPrint.cpp.
#include "html/viewer/THTMLViewer.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <unordered_map>
#include <utility>

#include "html/layout/TFontObj.h"
#include "html/layout/ThtmlForm.h"
#include "html/layout/TIDObject.h"
#include "html/layout/TSectionBase.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/LinkNames.h"
#include "html/viewer/MetaRefresh.h"
#include "html/viewer/QtCanvas.h"
#include "html/viewer/QtControls.h"
#include "html/viewer/TBuilderReader.h"
#include "html/viewer/TPaintPanel.h"
#include "html/viewer/DocumentFile.h"
#include "html/viewer/TLoadWatch.h"
#include "html/viewer/ViewerAccessibility.h"
#include "html/viewer/ViewerErrors.h"
#include "util/FileLookup.h"
#include "util/TFolderListings.h"
#include "util/PlainTextFiles.h"
#include "util/Utilities.h"

namespace {

TColor ToColor(const QColor& c) { return TColor(c.red() | (c.green() << 8) | (c.blue() << 16)); }

// An absolute, normalized, case-resolved file name.
std::string ExpandFileName(const std::string& name)
{
    std::string path = LinkToPath(name);
    if (path.empty() || path[0] != '/') {
        QByteArray cwd = QDir::currentPath().toUtf8();
        path = std::string(cwd.constData()) + "/" + path;
    }
    return ResolveFileName(NormalizePath(path));
}

bool IsRegularFile(const std::string& name)
{
    QFileInfo info(QString::fromStdString(name));
    return info.exists() && info.isFile();
}

} // namespace

THTMLViewer::THTMLViewer(QWidget* parent) : QWidget(parent), FSectionList(std::make_unique<TSectionList>())
{
    QPalette palette = QApplication::palette();
    DefBackground = ToColor(palette.color(QPalette::Button));
    DefFontColor = ToColor(palette.color(QPalette::ButtonText));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    FPaintPanel = new TPaintPanel(*this);
    FVScroll = new T32ScrollBar(this);
    FVScroll->hide();
    FHScroll = new QScrollBar(Qt::Horizontal, this);
    FHScroll->setSingleStep(15);
    FHScroll->setFocusPolicy(Qt::NoFocus);
    FHScroll->hide();
    connect(FVScroll, &QScrollBar::valueChanged, this, [this](int y) { ScrollToY(y); });
    connect(FHScroll, &QScrollBar::valueChanged, this, [this](int) { FPaintPanel->update(); });
    FHoverTimer.setInterval(200);
    connect(&FHoverTimer, &QTimer::timeout, this, [this] { HoverTimerTick(); });
    FAutoScrollTimer.setInterval(100);
    connect(&FAutoScrollTimer, &QTimer::timeout, this, [this] { AutoScrollTick(); });
    FControls = std::make_unique<TQtControlFactory>(FPaintPanel);
    FSectionList->Controls = FControls.get();
    ConnectObjectHost();
    TDocumentHost& host = FSectionList->Host;
    host.invalidate = [this] { FPaintPanel->update(); };
    host.backgroundChanged = [this](TColor) { FPaintPanel->update(); };
    host.focusedAt = [this](int y) { ScrollIntoView(y, 30); };
    host.linkAction = [this](const TLinkInfo& link) { ActivateLink(link); };
    host.progress = [this](int percent) {
        if (OnProgress)
            OnProgress(this, 0, percent);
        if (FLoadWatch)
            FLoadWatch->Step(TLoadStage::LayingOut, percent, 100);
    };
    host.copyToClipboard = [](const std::u16string& text) {
        QGuiApplication::clipboard()->setText(QString::fromStdU16String(text));
    };
    resize(300, 200);
    InstallViewerAccessibility(*this);
}

THTMLViewer::~THTMLViewer()
{
    // The document's controls live on the paint panel: free them first.
    FSectionList.reset();
    FDocumentKeep.reset();
}

// ---- Properties -----------------------------------------------------------

void THTMLViewer::SetVisitedMaxCount(int count)
{
    if (count < 0)
        return;
    FVisited.SetMaxCount(count);
    if (count == 0)
        MarkLinks([](const std::string&) { return false; });
}

void THTMLViewer::SetHistoryMaxCount(int count)
{
    if (count < 0 || count == FHistoryMaxCount)
        return;
    if (count < FHistoryMaxCount)
        ClearHistory();
    FHistoryMaxCount = count;
}

void THTMLViewer::SetViewImages(bool view)
{
    if (view == FViewImages || FProcessing)
        return;
    FViewImages = view;
    // Pictures are fetched while the document is built, so it is built again.
    Rebuild();
}

void THTMLViewer::SetScrollBars(TScrollStyle style)
{
    FScrollBars = style;
    Relayout();
}

void THTMLViewer::SetBorderStyle(THTMLBorderStyle style)
{
    FBorderStyle = style;
    Relayout();
    update();
}

void THTMLViewer::SetServerRoot(const std::string& root) { FServerRoot = NormalizeServerRoot(root); }

void THTMLViewer::SetImageCache(std::shared_ptr<TStringBitmapList> cache)
{
    if (cache)
        FSectionList->Objects.BitmapList = std::move(cache);
}

TStringBitmapList& THTMLViewer::ImageCache() { return *FSectionList->Objects.BitmapList; }

// ---- Loading ----------------------------------------------------------------

void THTMLViewer::SetProcessing(bool on)
{
    FProcessing = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    if (OnProcessing)
        OnProcessing(this, on);
}

void THTMLViewer::ApplyDefaults() { ApplyDefaultsTo(*FSectionList); }

void THTMLViewer::ApplyDefaultsTo(TSectionList& doc) const
{
    doc.ShowImages = FViewImages;
    doc.FontName = DefFontName.substr(0, 32);
    doc.FontSize = DefFontSize;
    doc.Zoom = std::clamp(Zoom, 10, 1000);
    doc.LinksActive = (htOptions & htOverLinksActive) != 0;
    doc.SetFonts(doc.FontName, DefFontSize, DefHotSpotColor, DefVisitedLinkColor, DefOverLinkColor, doc.LinksActive,
                 DefBackground);
}

void THTMLViewer::HandleMeta(const std::string& httpEq, const std::string& name, const std::string& content)
{
    if (OnMeta)
        OnMeta(this, httpEq, name, content);
    if (OnMetaRefresh && SameTextNoCase(httpEq, "refresh"))
        if (auto refresh = ParseMetaRefresh(content)) {
            FRefreshDelay = refresh->delay;
            FRefreshURL = refresh->url;
        }
}

TDocumentDefaults THTMLViewer::ReaderDefaults(int viewportWidth) const
{
    TDocumentDefaults defaults;
    defaults.preFontName = DefPreFontName;
    defaults.marginWidth = MarginWidth;
    defaults.marginHeight = MarginHeight;
    defaults.charSet = CharSet;
    defaults.fontColor = DefFontColor;
    defaults.linkUnderline = (htOptions & htNoLinkUnderline) == 0;
    defaults.viewportWidth = viewportWidth;
    return defaults;
}

void THTMLViewer::ParseSource(const std::string& source, TReaderResult& result, TLoadWatch& watch)
{
    TReaderEvents events;
    events.defaults = ReaderDefaults(MediaWidth());
    events.defaults.viewportHeight = std::max(0, height() - 2 * BorderWidth());
    events.onMeta = [this](const std::string& e, const std::string& n, const std::string& c) { HandleMeta(e, n, c); };
    events.onSound = [this](const std::string& src, int loop) {
        if (OnSoundRequest)
            OnSoundRequest(this, src, loop, false);
    };
    events.onScript = [this](const std::string& n, const std::string& l, const std::string& s) {
        if (OnScript)
            OnScript(this, n, l, s);
    };
    events.onLink = [this](const std::string& rel, const std::string& rev, const std::string& href) {
        if (OnLink)
            OnLink(this, rel, rev, href);
    };
    events.fileName = [this](const std::string& name) { return ExpandLinkName(name); };
    events.onProgress = [&watch](std::int64_t done, std::int64_t total) {
        watch.Step(TLoadStage::Building, done, total);
        // The reader ends its build quietly on its own errors; the load
        // then sees the cancel and throws the half-built document away.
        if (watch.Cancelled())
            throw ELoadCancelled("stopped");
    };
    SetReaderScreen(&MeasuringCanvas());
    if (FDocKind == TDocKind::Text)
        DocumentReader().ParseText(source, *FSectionList, events.defaults, result);
    else {
        if (OnSoundRequest)
            OnSoundRequest(this, "", 0, true);
        DocumentReader().ParseHtml(source, *FSectionList, events, result);
    }
}

std::unique_ptr<TSectionList> THTMLViewer::NewDocument() const
{
    auto document = std::make_unique<TSectionList>();
    document->Controls = FControls.get();
    document->Host = FSectionList->Host;
    document->Objects.Host = FSectionList->Objects.Host;
    document->Objects.BitmapList = FSectionList->Objects.BitmapList;
    return document;
}

namespace {

// What names the shown document, kept while the next one is built so that a
// cancelled load can give it back.
struct TDocumentNames {
    std::string currentFile, title, base, baseTarget, refreshURL, url, target;
    TDocKind kind;
    bool fromMemory;
    int refreshDelay, focusedLinkId;
};

} // namespace

void THTMLViewer::LoadDocument(const std::string& name, TDocKind kind, std::optional<std::string> memoryText)
{
    // The reader is in use when another viewer's long load let the event
    // that asks for this one through.
    if (FProcessing || DocumentReader().Reading())
        return;
    SetProcessing(true);
    TLoadWatch watch([this](TLoadStage stage, std::int64_t done, std::int64_t total) {
        if (OnLoadProgress)
            OnLoadProgress(this, stage, done, total);
    });
    struct Done {
        THTMLViewer& v;
        ~Done()
        {
            v.FShownWhileLoading = nullptr;
            v.FLoadWatch = nullptr;
            v.FPaintPanel->update();
            v.SetProcessing(false);
            v.FCaretBrowser.DocumentChanged();
            AnnounceDocumentLoaded(v);
        }
    } done{*this};
    std::string file, anchor;
    SplitAnchor(name, file, anchor);
    std::string expanded = file.empty() ? std::string() : memoryText ? file : ExpandFileName(file);
    if (!memoryText && !IsRegularFile(expanded))
        throw EInOutError("Can't locate file: " + name);
    // Read before the shown document is cleared: a file that cannot be shown
    // (too large, unreadable) leaves it as it was.
    std::optional<std::string> fileText;
    if (!memoryText && kind != TDocKind::Image) {
        fileText = ReadDocumentFile(expanded, name, [&watch](std::int64_t read, std::int64_t size) {
            watch.Step(TLoadStage::Reading, read, size);
        });
        if (watch.Cancelled())
            throw ELoadCancelled("Loading " + name + " was stopped");
    }
    // The shown document stays, and is painted, until the next one is built.
    std::unique_ptr<TSectionList> shown = std::exchange(FSectionList, NewDocument());
    FShownWhileLoading = shown.get();
    const TDocumentNames names{FCurrentFile, FTitle, FBase, FBaseTarget, FRefreshURL, FURL, FTarget,
                               FDocKind, FFromMemory, FRefreshDelay, FFocusedLinkId};
    FFocusedLinkId = 0;
    FURL.clear();
    FTarget.clear();
    FRefreshDelay = 0;
    FRefreshURL.clear();
    std::string previousFile = FCurrentFile;
    FCurrentFile = expanded;
    FFromMemory = memoryText.has_value();
    FDocKind = kind;
    FTitle.clear();
    FBase.clear();
    FBaseTarget.clear();
    ApplyDefaults();
    TStringBitmapList& cache = *FSectionList->Objects.BitmapList;
    cache.SetMaxAge(ImageCacheCount);
    cache.Age();
    std::string source = memoryText                 ? std::move(*memoryText)
                         : kind == TDocKind::Image ? "<img src=\"" + expanded + "\">"
                                                   : std::move(*fileText);
    // Style sheets, scripts, sources and notes linked from a page read as
    // text: as HTML their lines would run together.
    if (kind == TDocKind::Html && !memoryText && ShowsAsPlainText(expanded, std::string_view(source).substr(0, 1024)))
        FDocKind = TDocKind::Text;
    if (OnParseBegin)
        OnParseBegin(this, source);
    TReaderResult result;
    ParseSource(source, result, watch);
    FShownWhileLoading = nullptr;
    if (watch.Cancelled()) {
        // Escape: the half-built document goes, the shown one comes back.
        FSectionList = std::move(shown);
        FCurrentFile = names.currentFile;
        FTitle = names.title;
        FBase = names.base;
        FBaseTarget = names.baseTarget;
        FRefreshURL = names.refreshURL;
        FURL = names.url;
        FTarget = names.target;
        FDocKind = names.kind;
        FFromMemory = names.fromMemory;
        FRefreshDelay = names.refreshDelay;
        FFocusedLinkId = names.focusedLinkId;
        throw ELoadCancelled("Loading " + name + " was stopped");
    }
    // The old document's controls live on the paint panel: it goes before
    // the new one is laid out.
    shown.reset();
    FDocumentKeep.reset();
    // Layout needs the memory the text takes; the document keeps no
    // reference into it.
    FSource.Pack(source);
    std::string().swap(source);
    FDocumentKeep = result.keepAlive;
    FMediaChangesAt = result.mediaChangesAt;
    FPrintChangesRules = result.printChangesRules;
    FTitle = result.title;
    FBase = result.base;
    FBaseTarget = result.baseTarget;
    if (OnParseEnd)
        OnParseEnd(this);
    FProcessing = false; // layout and positioning below are not a build
    FLoadWatch = &watch;
    Relayout();
    FLoadWatch = nullptr;
    ApplyVisited();
    bool shownAnchor = !anchor.empty() && GotoAnchor(anchor);
    if (!shownAnchor && (FCurrentFile != previousFile || FCurrentFile.empty())) {
        SetVScrollBarPosition(0);
        SetHScrollBarPosition(0);
    }
    FProcessing = true;
    if (FRefreshDelay > 0 && OnMetaRefresh) {
        int delay = FRefreshDelay;
        std::string url = FRefreshURL;
        QTimer::singleShot(0, this, [this, delay, url] {
            if (OnMetaRefresh)
                OnMetaRefresh(this, delay, url);
        });
    }
}

void THTMLViewer::LoadFile(const std::string& name, TDocKind kind) { LoadDocument(name, kind, std::nullopt); }

void THTMLViewer::ShowHtmlText(const std::string& text, const std::string& referenceName)
{
    LoadDocument(referenceName, TDocKind::Html, text);
}

void THTMLViewer::ShowPlainText(const std::string& text, const std::string& referenceName)
{
    LoadDocument(referenceName, TDocKind::Text, text);
}

void THTMLViewer::Clear()
{
    if (FProcessing)
        return;
    FSectionList->ClearDocument();
    FDocumentKeep.reset();
    FFocusedLinkId = 0;
    FCurrentFile.clear();
    FTitle.clear();
    FSource.Clear();
    FDocHeight = FDocWidth = 0;
    Relayout();
    FPaintPanel->update();
}

void THTMLViewer::Rebuild()
{
    if (FProcessing || FSource.empty())
        return;
    const int top = VScrollBarPosition();
    const int oldHeight = FDocHeight;
    auto forms = SaveFormData();
    // The same text built again: the searched words stand where they stood.
    const THighlightRanges marks = FSectionList->Highlights;
    const bool fromMemory = FFromMemory;
    LoadDocument(FCurrentFile, FDocKind, FSource.Unpack());
    FFromMemory = fromMemory;
    RestoreFormData(forms.get());
    FSectionList->Highlights = marks;
    // The same place in a document that grew or shrank.
    if (oldHeight > 0)
        SetVScrollBarPosition(int((long long)top * FDocHeight / oldHeight));
}

void THTMLViewer::Reload()
{
    if (FFromMemory) {
        Rebuild();
        return;
    }
    if (FProcessing || FCurrentFile.empty())
        return;
    int position = ViewPosition();
    auto forms = SaveFormData();
    LoadFile(FCurrentFile, FDocKind);
    RestoreFormData(forms.get());
    SetViewPosition(position);
}

void THTMLViewer::ShowWithHistory(const std::string& name, TDocKind kind)
{
    if (FProcessing || name.empty())
        return;
    std::string oldFile = FCurrentFile, oldTitle = FTitle;
    TDocKind oldKind = FDocKind;
    int oldPosition = ViewPosition();
    auto forms = SaveFormData();
    LoadFile(name, kind);
    if (oldFile != FCurrentFile || oldKind != FDocKind)
        AddHistoryEntry(oldFile, oldTitle, oldKind, std::move(forms), oldPosition);
}

void THTMLViewer::ShowFile(const std::string& name)
{
    std::string file, anchor;
    SplitAnchor(name, file, anchor);
    ShowWithHistory(name, UpperExtension(file) == ".TXT" ? TDocKind::Text : TDocKind::Html);
}

void THTMLViewer::ShowTextFile(const std::string& name) { ShowWithHistory(name, TDocKind::Text); }

void THTMLViewer::ShowImageFile(const std::string& name) { ShowWithHistory(name, TDocKind::Image); }

// ---- Form contents ------------------------------------------------------------

// What the user typed and chose, one list per form in document order, so
// that going back to a page shows its forms as they were left.
std::unique_ptr<TFormData> THTMLViewer::SaveFormData() const
{
    const auto& forms = FSectionList->Objects.Forms();
    if (forms.empty())
        return nullptr;
    auto data = std::make_unique<TFormData>();
    data->reserve(forms.size());
    for (const auto& form : forms)
        data->push_back(form->SaveFormData());
    return data;
}

void THTMLViewer::RestoreFormData(const TFormData* data)
{
    if (!data)
        return;
    const auto& forms = FSectionList->Objects.Forms();
    // A page that changed since it was left may have other forms: restore
    // only as many as both have.
    for (size_t i = 0; i < forms.size() && i < data->size(); ++i)
        forms[i]->RestoreFormData((*data)[i]);
    FPaintPanel->update();
}

// ---- History --------------------------------------------------------------------

void THTMLViewer::AddHistoryEntry(const std::string& oldFile, const std::string& oldTitle, TDocKind oldKind,
                                  std::unique_ptr<TFormData> formData, int oldPosition)
{
    if (FHistoryMaxCount < 1 || FCurrentFile.empty())
        return;
    int position = ViewPosition();
    if (oldFile == FCurrentFile && oldKind == FDocKind && oldPosition == position)
        return;
    if (!FHistory.empty() && !oldFile.empty()) {
        HistoryEntry& entry = FHistory[size_t(FHistoryIndex)];
        entry.file = oldFile;
        entry.title = oldTitle;
        entry.pos->Pos = oldPosition;
        entry.pos->FileType = oldKind;
        entry.pos->FormData = oldFile != FCurrentFile ? std::move(formData) : nullptr;
        FHistory.erase(FHistory.begin(), FHistory.begin() + FHistoryIndex);
    }
    FHistoryIndex = 0;
    auto pos = std::make_unique<PositionObj>();
    pos->Pos = position;
    pos->FileType = FDocKind;
    FHistory.insert(FHistory.begin(), HistoryEntry{FCurrentFile, FTitle, std::move(pos)});
    if (FHistory.size() > size_t(FHistoryMaxCount))
        FHistory.erase(FHistory.begin() + FHistoryMaxCount, FHistory.end());
    if (OnHistoryChange)
        OnHistoryChange(this);
}

void THTMLViewer::ClearHistory()
{
    bool had = !FHistory.empty();
    FHistory.clear();
    FHistoryIndex = 0;
    if (had && OnHistoryChange)
        OnHistoryChange(this);
}

void THTMLViewer::SetHistoryIndex(int index)
{
    if (index == FHistoryIndex || index < 0 || index >= int(FHistory.size()) || FProcessing)
        return;
    HistoryEntry& current = FHistory[size_t(FHistoryIndex)];
    current.pos->Pos = ViewPosition();
    current.title = FTitle;
    current.pos->FormData = SaveFormData();
    HistoryEntry& entry = FHistory[size_t(index)];
    if (entry.file != FCurrentFile || entry.pos->FileType != FDocKind) {
        LoadFile(entry.file, entry.pos->FileType);
        RestoreFormData(entry.pos->FormData.get());
    }
    FHistoryIndex = index;
    SetViewPosition(entry.pos->Pos);
    if (OnHistoryChange)
        OnHistoryChange(this);
}

// ---- Anchors and links -------------------------------------------------------------

int THTMLViewer::AnchorYOf(TIDObject& target)
{
    return target.YPosition();
}

bool THTMLViewer::GotoAnchor(const std::string& name)
{
    std::string anchor = !name.empty() && name[0] == '#' ? name.substr(1) : name;
    if (anchor.empty())
        return false;
    TIDObject* target = FSectionList->FindID(UpperCase(anchor));
    if (!target)
        target = FSectionList->FindID(anchor);
    if (!target)
        return false;
    SetVScrollBarPosition(AnchorYOf(*target));
    SetHScrollBarPosition(0);
    MarkVisited(FCurrentFile + "#" + anchor);
    return true;
}

std::string THTMLViewer::ExpandLinkName(const std::string& link) const
{
    return ::ExpandLinkName(link, TLinkContext{FServerRoot, FBase, FCurrentFile});
}

void THTMLViewer::FollowLink(const std::string& url)
{
    if (FProcessing || url.empty())
        return;
    auto gotoWithHistory = [this](const std::string& anchor) {
        int oldPosition = ViewPosition();
        if (GotoAnchor(anchor)) {
            AddHistoryEntry(FCurrentFile, FTitle, FDocKind, nullptr, oldPosition);
            MarkVisited(FCurrentFile + anchor);
        }
    };
    if (url[0] == '#') {
        gotoWithHistory(url);
        return;
    }
    std::string link, anchor;
    SplitAnchor(url, link, anchor);
    std::string file = ExpandLinkName(link);
    std::string ext = UpperExtension(file);
    if (ext == ".HTM" || ext == ".HTML") {
        if (file != FCurrentFile) {
            ShowFile(file + anchor);
            MarkVisited(file + anchor);
        } else if (!anchor.empty())
            gotoWithHistory(anchor);
    } else if (ext == ".BMP" || ext == ".GIF" || ext == ".JPG" || ext == ".JPEG" || ext == ".PNG")
        ShowImageFile(file);
}

// ---- Visited links ----------------------------------------------------------

void THTMLViewer::MarkLinks(const std::function<bool(const std::string&)>& isVisited)
{
    // A page links the same files many times, and each missing one would
    // read its folder again: expand each file once, reading each folder once.
    TFolderListings listings;
    TLinkContext context{FServerRoot, FBase, FCurrentFile, &listings};
    std::unordered_map<std::string, std::string> expandedFiles;
    for (TFontObj* run : FSectionList->LinkList) {
        const std::string& url = run->Link().url;
        std::string expanded = !url.empty() && url[0] == '#' ? FCurrentFile + url : [&] {
            std::string file, anchor;
            SplitAnchor(url, file, anchor);
            auto known = expandedFiles.find(file);
            if (known == expandedFiles.end())
                known = expandedFiles.emplace(file, ::ExpandLinkName(file, context)).first;
            return known->second + anchor;
        }();
        run->SetVisited(isVisited(expanded));
    }
    FPaintPanel->update();
}

void THTMLViewer::MarkVisited(const std::string& url)
{
    if (FInFrameSet || FVisited.MaxCount() == 0)
        return;
    if (FVisited.Mark(url))
        ApplyVisited();
}

void THTMLViewer::ApplyVisited()
{
    if (FInFrameSet)
        return;
    MarkLinks([this](const std::string& u) { return FVisited.Contains(u); });
}

// ---- Search and selection -----------------------------------------------------

bool THTMLViewer::FindInText(const std::string& text, bool matchCase, bool backwards)
{
    if (text.empty())
        return false;
    std::u16string wanted = QString::fromStdString(text).toStdU16String();
    if (!matchCase)
        wanted = QString::fromStdU16String(wanted).toLower().toStdU16String();
    TSectionList& doc = *FSectionList;
    const bool selection = doc.SelE != doc.SelB;
    int from = std::max(0, !selection ? doc.CaretPos : backwards ? std::min(doc.SelB, doc.SelE)
                                                                : std::max(doc.SelB, doc.SelE));
    int found = backwards ? doc.FindTextBack(from, wanted, matchCase) : doc.FindText(from, wanted, matchCase);
    if (found < 0)
        return false;
    doc.SelB = found;
    doc.SelE = found + int(wanted.size());
    doc.CaretPos = backwards ? found : doc.SelE;
    ScrollToPosition(found);
    return true;
}

void THTMLViewer::ScrollToPosition(int position)
{
    int x = 0, y = 0;
    if (FSectionList->CaretXY(MeasuringCanvas(), position, x, y)) {
        int top = VScrollBarPosition();
        if (y < top || y > top + SurfaceHeight() - 20)
            SetVScrollBarPosition(y - SurfaceHeight() / 2);
        int left = HScrollBarPosition();
        if (x < left || x > left + SurfaceWidth() - 50)
            SetHScrollBarPosition(x - SurfaceWidth() / 2);
    }
    FPaintPanel->update();
}

void THTMLViewer::SetHighlights(std::vector<std::pair<int, int>> ranges)
{
    FSectionList->Highlights.Assign(std::move(ranges));
    FPaintPanel->update();
}

void THTMLViewer::ShowHighlight(size_t index)
{
    THighlightRanges& marks = FSectionList->Highlights;
    if (index >= marks.Count()) {
        marks.SetCurrent(THighlightRanges::NoCurrent);
        FPaintPanel->update();
        return;
    }
    marks.SetCurrent(index);
    // A find started afterwards goes on from the word shown.
    TSectionList& doc = *FSectionList;
    doc.SelB = doc.SelE = 0;
    doc.CaretPos = marks.Ranges()[index].second;
    ScrollToPosition(marks.Ranges()[index].first);
}

const std::vector<std::pair<int, int>>& THTMLViewer::Highlights() const
{
    return FSectionList->Highlights.Ranges();
}

TFindOutcome THTMLViewer::FindWrapping(const std::string& text, bool matchCase, bool backwards)
{
    if (FindInText(text, matchCase, backwards))
        return TFindOutcome::Found;
    TSectionList& doc = *FSectionList;
    if (doc.Sections.empty())
        return TFindOutcome::NotFound;
    const int caret = doc.CaretPos, selB = doc.SelB, selE = doc.SelE;
    doc.SelB = doc.SelE = 0;
    doc.CaretPos = backwards ? doc.Sections.back()->StartCurs + doc.Sections.back()->Len : 0;
    if (FindInText(text, matchCase, backwards))
        return TFindOutcome::Wrapped;
    // Nothing anywhere: the selection stays as it was.
    doc.CaretPos = caret;
    doc.SelB = selB;
    doc.SelE = selE;
    return TFindOutcome::NotFound;
}

void THTMLViewer::SelectAll()
{
    TSectionList& doc = *FSectionList;
    if (NoSelect || doc.Sections.empty())
        return;
    doc.SelB = 0;
    doc.SelE = doc.Sections.back()->StartCurs + doc.Sections.back()->Len;
    FPaintPanel->update();
}

void THTMLViewer::CopyToClipboard()
{
    if (SelLength() > 0)
        QGuiApplication::clipboard()->setText(QString::fromStdU16String(SelText()));
}

std::u16string THTMLViewer::SelText() const { return SelLength() > 0 ? FSectionList->GetSelText() : u""; }
int THTMLViewer::SelStart() const { return std::min(FSectionList->SelB, FSectionList->SelE); }
int THTMLViewer::SelLength() const { return std::abs(FSectionList->SelE - FSectionList->SelB); }

void THTMLViewer::ReportError(const std::exception& error)
{
    // Exceptions never leave an event handler: the user sees the message.
    // A load the user stopped needs no message.
    if (dynamic_cast<const ELoadCancelled*>(&error))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, message = QString::fromStdString(error.what())] { QMessageBox::critical(this, "Error", message); },
        Qt::QueuedConnection);
}
