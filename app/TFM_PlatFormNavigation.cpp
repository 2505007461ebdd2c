// The main window's road to a document: LoadHTMLFile, command words, the
// location bar, Open, Refresh, Close, Back and Forward, the History menu, Home,
// and keeping the window's controls in step with the browser view.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <optional>

#include "app/TFM_DirButtons.h"
#include "app/TFM_Find.h"
#include "app/TFM_HomePage.h"
#include "app/TFM_PlatForm.h"
#include "app/TFormSubmitter.h"
#include "app/TLinkDispatcher.h"
#include "app/TSearchPage.h"
#include "app/TSoundPlayer.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/LinkNames.h"
#include "html/viewer/TFrameViewer.h"
#include "html/viewer/TLoadWatch.h"
#include "html/viewer/ViewerErrors.h"
#include "util/FileLookup.h"
#include "util/ProgramFolder.h"
#include "util/TIniFile.h"
#include "util/Utilities.h"

namespace {


// Whether the location names an existing local file (after the case-insensitive fallback).
bool isExistingFile(const QString& location)
{
    QString path = location.section('#', 0, 0);
    return !path.isEmpty() && QFileInfo(ToQString(ResolveFileName(ToUtf8(path)))).isFile();
}

// A relative location names a file beside the document shown, not one in
// whatever folder happens to be current; "\" separators read as "/". Answers
// the location unchanged when it is absolute, remote, or names no file there.
QString besideShownDocument(const QString& location, const std::string& shownFile)
{
    std::string file, anchor;
    SplitAnchor(ToUtf8(location), file, anchor);
    if (shownFile.empty() || IsRemoteUrl(file) || LinkToPath(file).starts_with('/'))
        return location;
    std::string resolved = ::ExpandLinkName(file, TLinkContext{"", "", shownFile});
    return QFileInfo(ToQString(resolved)).isFile() ? ToQString(resolved + anchor) : location;
}

std::string currentFolder()
{
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).string();
    return error ? std::string() : folder;
}

// Moves the current directory for a load and back again if the load fails,
// so that a failed load leaves relative names resolving where they did.
class TFolderChange {
public:
    explicit TFolderChange(const std::string& folder) : FOld(currentFolder())
    {
        try {
            ChangeDir(folder);
        } catch (const std::exception&) {
            // An unreadable folder only loses relative links; the load goes on.
        }
    }
    void Keep() { FOld.clear(); }
    ~TFolderChange()
    {
        if (FOld.empty())
            return;
        try {
            ChangeDir(FOld);
        } catch (const std::exception&) {
        }
    }

private:
    std::string FOld;
};

} // namespace

void TFM_PlatForm::configureViewer()
{
    // The main window's options replace the defaults: printed text keeps its
    // colours (monochrome black is for printers that have none).
    HTMLViewer1->fvOptions = fvMetaRefresh | fvOverLinksActive;
    HTMLViewer1->NoSelect = false;
    HTMLViewer1->SetHistoryMaxCount(HistoryEntryCount);
    HTMLViewer1->PrintScale = 1.0;
}

void TFM_PlatForm::applyViewerOptions()
{
    const TViewerOptions& v = FViewerOptions;
    HTMLViewer1->DefFontName = ToUtf8(v.DefFontName);
    HTMLViewer1->DefPreFontName = ToUtf8(v.DefPreFontName);
    HTMLViewer1->DefFontColor = v.DefFontColor;
    HTMLViewer1->DefFontSize = v.DefFontSize;
    HTMLViewer1->DefHotSpotColor = v.DefHotSpotColor;
    HTMLViewer1->DefBackground = v.DefBackground;
    HTMLViewer1->DefOverLinkColor = v.DefOverLinkColor;
    if (v.NoLinkUnderline)
        HTMLViewer1->fvOptions |= fvNoLinkUnderline;
    else
        HTMLViewer1->fvOptions &= ~unsigned(fvNoLinkUnderline);
    if (v.ReaderColors)
        HTMLViewer1->fvOptions |= fvReaderColors;
    else
        HTMLViewer1->fvOptions &= ~unsigned(fvReaderColors);
    HTMLViewer1->PrintMarginLeft = v.PrintMarginLeft;
    HTMLViewer1->PrintMarginRight = v.PrintMarginRight;
    HTMLViewer1->PrintMarginTop = v.PrintMarginTop;
    HTMLViewer1->PrintMarginBottom = v.PrintMarginBottom;
    HTMLViewer1->SetViewImages(v.ViewImages);
    HTMLViewer1->ImageCacheCount = v.ImageCacheCount;
    HTMLViewer1->Zoom = v.Zoom;
}

void TFM_PlatForm::connectNavigation()
{
    auto on = [this](const char* name, auto handler) {
        connect(findChild<QAction*>(name), &QAction::triggered, this, handler);
    };
    on("MNU_Refresh", &TFM_PlatForm::Refresh);
    on("TB_Refresh", &TFM_PlatForm::Refresh);
    on("MNU_Back", &TFM_PlatForm::GoBack);
    on("TB_Back", &TFM_PlatForm::GoBack);
    on("MNU_Forward", &TFM_PlatForm::GoForward);
    on("TB_Next", &TFM_PlatForm::GoForward);
    on("MNU_CloseFile", &TFM_PlatForm::CloseFile);
    on("MNU_OpenFile", &TFM_PlatForm::OpenFile);
    on("TB_Open", &TFM_PlatForm::OpenFile);
    on("MNU_DisplayImages", &TFM_PlatForm::displayImagesClicked);
    on("MNU_ImageCache", &TFM_PlatForm::imageCacheClicked);
    on("MNU_HomePage", [this] {
        THomePageSettings current{FLoadHome, FShowMERL, FHomePage, FGoBack, FAutoClose, Timer1->interval() / 1000,
                                  TimerToClose->interval() / 1000};
        TFM_HomePage dialog(current, this);
        if (dialog.exec() == QDialog::Accepted)
            ApplyHomePageSettings(dialog.Settings());
    });
    connect(BT_CfgDirBtn, &QPushButton::clicked, this, [this] {
        TFM_DirButtons dialog(FDirEntries, this);
        dialog.exec();
        ApplyDirButtons(dialog.Entries());
    });
    connect(FSearchPage, &TSearchPage::FindTextChanged, this, [this](const QString& text) {
        FFindText = text;
        // Find Again after a search looks for what was searched, whatever
        // the find dialog held before.
        if (!text.isEmpty())
            FFindDialog->SetFindText(text);
    });

    HTMLViewer1->OnHistoryChange = [this](TFrameViewer*) { historyChanged(); };
    HTMLViewer1->OnProcessing = [this](TFrameViewer*, bool on) { processing(on); };
    HTMLViewer1->OnLoadProgress = [this](THTMLViewer*, TLoadStage stage, std::int64_t done, std::int64_t total) {
        FLoadNoteShown = true;
        ShowStatusNote(ToQString(TLoadWatch::StatusText(stage, done, total)));
    };
    // A link to a missing file says what a typed one says, in the same box.
    HTMLViewer1->OnLoadError = [this](TFrameViewer*, const std::string& message) {
        ReportError(ToQString(message));
        ED_Location->setText(CurrentFile());
    };
    HTMLViewer1->OnHotSpotTargetCovered = [this](TFrameViewer*, const std::string&, const std::string& url) {
        linkCovered(url);
    };
    HTMLViewer1->OnHotSpotTargetClick = [this](TFrameViewer*, const std::string& target, const std::string& url,
                                               bool& handled) { linkClicked(target, url, handled); };

    // Links that act, forms answered by local programs, and background sounds.
    auto* sounds = new TSoundPlayer(this);
    new TLinkDispatcher(*this, *sounds);
    auto* forms = new TFormSubmitter(*this);
    HTMLViewer1->OnFormSubmit = [this, forms](THTMLViewer* viewer, const std::string& action, const std::string&,
                                              const std::string&, const std::string&, const std::vector<std::string>&) {
        try {
            forms->Submit(viewer, action);
        } catch (const std::exception& e) {
            ReportError(QString::fromUtf8(e.what()));
        }
    };
    HTMLViewer1->OnSoundRequest = [this, sounds](THTMLViewer* viewer, const std::string& source, int loop,
                                                 bool terminate) {
        try {
            sounds->ViewerRequest(*HTMLViewer1, viewer, source, loop, terminate);
        } catch (const std::exception&) {
            // Sounds fail silently.
        }
    };
}

QString TFM_PlatForm::CurrentFile() const
{
    return ToQString(HTMLViewer1->CurrentFile());
}

QString TFM_PlatForm::LocationText() const
{
    return ED_Location->text();
}

bool TFM_PlatForm::RunPseudoCommand(const QString& upperLocation)
{
    if (upperLocation == QLatin1String("EXIT"))
        ExitCommand();
    else if (upperLocation == QLatin1String("BACK"))
        GoBack();
    else if (upperLocation == QLatin1String("NEXT"))
        GoForward();
    else if (upperLocation == QLatin1String("PRINT"))
        PrintDocument();
    else if (upperLocation == QLatin1String("HOME"))
        goHome();
    else if (upperLocation == QLatin1String("OPEN"))
        OpenFile();
    else if (upperLocation == QLatin1String("PRINT"))
        PrintDocument();
    else if (upperLocation == QLatin1String("REFRESH"))
        Refresh();
    else if (upperLocation == QLatin1String("KOVRA"))
        TogglePage();
    else if (upperLocation == QLatin1String("KOVRA RESULTS"))
        FSearchPage->BT_IndexClick();
    else
        return false;
    return true;
}

void TFM_PlatForm::TogglePage()
{
    NB_MAIN->setCurrentIndex(NB_MAIN->currentIndex() == 1 ? 0 : 1);
}

void TFM_PlatForm::LoadHTMLFile(const QString& location)
{
    if (location < QLatin1String(" "))
        return;
    std::string expanded = ToUtf8(location);
    ExpandExeMacros(expanded);
    QString text = ToQString(expanded);
    // A location may be a command word, in any letter case.
    if (RunPseudoCommand(text.toUpper()))
        return;
    // The view ignores a load while another runs (a hand-over or a timer
    // that came while a long page was read): the user learns that nothing
    // was opened, and the location bar keeps naming what is shown.
    if (HTMLViewer1->Busy()) {
        ShowStatusNote(QStringLiteral("Still loading a document: %1 was not opened").arg(text));
        return;
    }
    FLoading = true;
    if (text.contains(QLatin1String("file:///")) || text.contains(QLatin1String("./")))
        text = ToQString(HTMLViewer1->ExpandLinkName(ToUtf8(text)));
    text = besideShownDocument(text, HTMLViewer1->CurrentFile());
    // The current directory follows the document, so a relative location is
    // made absolute before it moves.
    if (isExistingFile(text) && QFileInfo(text.section('#', 0, 0)).isRelative())
        text = QFileInfo(text.section('#', 0, 0)).absoluteFilePath()
            + (text.contains('#') ? '#' + text.section('#', 1) : QString());
    std::optional<TFolderChange> folder;
    if (isExistingFile(text))
        folder.emplace(ExtractDir(ResolveFileName(ToUtf8(text.section('#', 0, 0)))));
    NB_MAIN->setCurrentIndex(0);
    const bool textFirst = findChild<QAction*>("MNU_TextFirst")->isChecked();
    if (textFirst)
        HTMLViewer1->SetViewImages(false);
    bool loaded = true;
    try {
        HTMLViewer1->ShowFile(ToUtf8(text));
    } catch (const ELoadCancelled&) {
        loaded = false;
        ShowStatusNote(QStringLiteral("Loading stopped: the page shown before stays"));
    } catch (const std::exception& e) {
        loaded = false;
        ReportError(QString::fromUtf8(e.what()));
    }
    if (textFirst)
        HTMLViewer1->SetViewImages(findChild<QAction*>("MNU_DisplayImages")->isChecked());
    if (loaded) {
        if (folder)
            folder->Keep();
        ED_Location->setText(text);
        findChild<QAction*>("TB_Search")->setText(QStringLiteral("Search"));
        if (THTMLViewer* view = HTMLViewer1->ActiveView())
            view->setFocus();
    } else {
        // The old document stays; so does its name in the location bar.
        ED_Location->setText(CurrentFile());
    }
    FLoading = false;
}

void TFM_PlatForm::ReportError(const QString& message)
{
    QMessageBox::critical(this, QApplication::applicationName(), message);
}

void TFM_PlatForm::locationEntered()
{
    // The current directory moves only when the load succeeds (LoadHTMLFile).
    LoadHTMLFile(ED_Location->text());
}

void TFM_PlatForm::Refresh()
{
    if (HTMLViewer1->Busy())
        return;
    FLoading = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    HTMLViewer1->ImageCacheCount = 0;
    QAction* button = findChild<QAction*>("TB_Refresh");
    button->setEnabled(false);
    std::string folder = ExtractDir(HTMLViewer1->CurrentFile());
    if (!folder.empty()) {
        try {
            ChangeDir(folder);
        } catch (const std::exception&) {
        }
    }
    try {
        HTMLViewer1->ReloadFile();
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
    button->setEnabled(!HTMLViewer1->CurrentFile().empty());
    if (findChild<QAction*>("MNU_ImageCache")->isChecked())
        HTMLViewer1->ImageCacheCount = 5;
    QApplication::restoreOverrideCursor();
    FLoading = false;
}

void TFM_PlatForm::CloseFile()
{
    HTMLViewer1->ClearView();
    ED_Location->clear();
    setWindowTitle(QApplication::applicationName());
}

void TFM_PlatForm::OpenFile()
{
    QString current = CurrentFile();
    QString start = current.isEmpty() ? ToQString(ProgramDir()) : ToQString(ExtractDir(ToUtf8(current)));
    QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open File"), start,
        QStringLiteral("HTML files (*.htm *.html *.htx);;Image files (*.gif *.jpg *.bmp *.png);;GIF Pictures "
                       "(*.gif);;JPEG Pictures (*.jpg);;BMP Pictures (*.bmp);;PNG Pictures (*.png);;ALL Files (*)"));
    if (!file.isEmpty())
        LoadHTMLFile(file);
}

void TFM_PlatForm::GoBack()
{
    stepHistory(THistoryStep::Back);
}

void TFM_PlatForm::GoForward()
{
    stepHistory(THistoryStep::Forward);
}

void TFM_PlatForm::stepHistory(THistoryStep step)
{
    NB_MAIN->setCurrentIndex(0);
    std::string oldFolder = ExtractDir(HTMLViewer1->CurrentFile());
    if (step == THistoryStep::Back)
        HTMLViewer1->StepBack();
    else
        HTMLViewer1->StepForward();
    ED_Location->setText(CurrentFile());
    std::string newFolder = ExtractDir(HTMLViewer1->CurrentFile());
    // Relative links of the document now shown resolve against its own
    // folder, and its images are fetched again from there.
    if (newFolder != oldFolder && !oldFolder.empty()) {
        HTMLViewer1->SetViewImages(false);
        HTMLViewer1->SetViewImages(findChild<QAction*>("MNU_DisplayImages")->isChecked());
        try {
            ChangeDir(newFolder);
        } catch (const std::exception&) {
        }
    }
    if (THTMLViewer* view = HTMLViewer1->ActiveView())
        view->setFocus();
}

void TFM_PlatForm::HistoryClick(int index)
{
    if (index < 0 || index >= HTMLViewer1->HistoryCount())
        return;
    HTMLViewer1->SetHistoryIndex(index);
    ED_Location->setText(ToQString(HTMLViewer1->HistoryFile(index)));
}

void TFM_PlatForm::historyChanged()
{
    findChild<QAction*>("TB_Back")->setEnabled(HTMLViewer1->BackButtonEnabled());
    findChild<QAction*>("TB_Next")->setEnabled(HTMLViewer1->FwdButtonEnabled());
    const int count = HTMLViewer1->HistoryCount();
    const bool menus = findChild<QAction*>("MNU_MenuBar")->isChecked();
    for (int i = 0; i < HistoryEntryCount; ++i) {
        QAction* entry = FHistoryEntries[size_t(i)];
        entry->setVisible(i < count);
        if (i < count) {
            entry->setText(ToQString(HTMLViewer1->HistoryFile(i)));
            entry->setChecked(i == HTMLViewer1->HistoryIndex());
        }
    }
    FHistoryMenu->menuAction()->setVisible(count > 0 && menus && NB_MAIN->currentIndex() == 0);
    QString title = ToQString(HTMLViewer1->DocumentTitle());
    setWindowTitle((title.isEmpty() ? CurrentFile() : title) + " - " + QApplication::applicationName());
    ED_Location->setText(CurrentFile());
    // A refresh with nothing shown (after Close File) greys the button; the
    // next document brings it back.
    findChild<QAction*>("TB_Refresh")->setEnabled(!HTMLViewer1->CurrentFile().empty());
    documentShown();
}

void TFM_PlatForm::ShowStatusNote(const QString& note)
{
    FLinkLabel->setText(QStringLiteral("        ") + note);
}

void TFM_PlatForm::processing(bool on)
{
    // The load's progress note goes with the load.
    if (!on && FLoadNoteShown) {
        ShowStatusNote(QString());
        FLoadNoteShown = false;
    }
    if (!FLoading)
        return;
    // Only the cursor set here goes again: a search or form program that
    // runs on keeps its own busy cursor while documents load.
    if (on) {
        if (!FProcessingCursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        FProcessingCursor = true;
        setEnabled(false);
    } else {
        if (FProcessingCursor)
            QApplication::restoreOverrideCursor();
        FProcessingCursor = false;
        setEnabled(true);
        if (THTMLViewer* view = HTMLViewer1->ActiveView())
            view->setFocus();
    }
}

void TFM_PlatForm::linkCovered(const std::string& url)
{
    // Only what fits is laid out: a link of some hundred kilobytes costs no
    // more than a short one, and the middle goes so both ends stay readable.
    constexpr size_t longestShown = 2000;
    std::string shown = url.size() <= longestShown
        ? url
        : url.substr(0, longestShown / 2) + "..." + url.substr(url.size() - longestShown / 2);
    QString text = QStringLiteral("        ") + ToQString(shown);
    FLinkLabel->setText(FLinkLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, FLinkLabel->width()));
}

void TFM_PlatForm::linkClicked(const std::string& target, const std::string& url, bool& handled)
{
    try {
        if (auto* dispatcher = findChild<TLinkDispatcher*>())
            dispatcher->HotSpotTargetClick(target, url, handled);
    } catch (const std::exception& e) {
        handled = true;
        ReportError(QString::fromUtf8(e.what()));
    }
}

void TFM_PlatForm::goHome()
{
    if (!isEnabled())
        return;
    if (FHomePage.isEmpty()) {
        ReportError(QStringLiteral("No home page defined yet."));
        return;
    }
    QString home = FHomePage;
    if (!home.startsWith(QLatin1String("\\\\")) && ExtractDir(ToUtf8(home)).empty())
        home = ToQString(ProgramDir()) + home;
    if (home.toUpper() != CurrentFile().toUpper())
        LoadHTMLFile(home);
    NB_MAIN->setCurrentIndex(0);
}

void TFM_PlatForm::HandOver(const QString& text)
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    int colon = text.indexOf(':');
    if (colon < 1)
        LoadHTMLFile(CurrentFile());
    else
        LoadHTMLFile(text.mid(colon + 1));
}

void TFM_PlatForm::displayImagesClicked()
{
    FViewerOptions.ViewImages = findChild<QAction*>("MNU_DisplayImages")->isChecked();
    HTMLViewer1->SetViewImages(FViewerOptions.ViewImages);
}

void TFM_PlatForm::imageCacheClicked()
{
    FViewerOptions.ImageCacheCount = findChild<QAction*>("MNU_ImageCache")->isChecked() ? 5 : 0;
    HTMLViewer1->SetImageCacheCount(FViewerOptions.ImageCacheCount);
}

void TFM_PlatForm::ApplyHomePageSettings(const THomePageSettings& s)
{
    try {
        TIniFile ini(ToUtf8(FSettingsFile));
        ini.WriteBool("StartUp", "LoadHome", s.LoadHome);
        ini.WriteBool("StartUp", "ShowMERL", s.ShowMERL);
        ini.WriteString("StartUp", "HomePage", ToUtf8(s.HomePage));
        ini.WriteBool("StartUp", "GoBack", s.GoBack);
        ini.WriteBool("StartUp", "AutoClose", s.AutoClose);
        ini.WriteInteger("StartUp", "IdleSec", s.IdleSec);
        ini.WriteInteger("StartUp", "CloseSec", s.CloseSec);
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
    FLoadHome = s.LoadHome;
    FShowMERL = s.ShowMERL;
    FHomePage = s.HomePage;
    FGoBack = s.GoBack;
    FAutoClose = s.AutoClose;
    // The idle handler starts the timers again as the choices say.
    Timer1->stop();
    TimerToClose->stop();
    Timer1->setInterval(s.IdleSec * 1000);
    TimerToClose->setInterval(s.CloseSec * 1000);
}

void TFM_PlatForm::ApplyDirButtons(const std::array<TDirButtonEntry, DirButtonCount>& entries)
{
    FDirEntries = entries;
    try {
        WriteDirButtons();
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
    LayoutDirButtons();
}

QPrinter& TFM_PlatForm::Printer()
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *FPrinter;
}
