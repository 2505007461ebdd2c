#pragma once
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "util/Colors.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
class TIniFile;
class QPrinter;
class TFrameViewer;
class TEditButton;
class TSearchPage;
class TFM_BMMgr;
class TFM_Find;
class TRecentDocuments;
class TDocumentWatcher;
class TSessionFolder;
class TSearchHighlight;
class THTMLViewer;
enum class THighlightStep;
struct TRightClickParameters;
struct TPageMargins;
class TCanvas;
enum class TPrintBand;

// The viewer options the settings file keeps (section "HTMLViewer1"); the
// browser view takes them over when it is created and after every change.
struct TViewerOptions {
    bool ViewImages = true;
    int ImageCacheCount = 5;
    QString DefFontName = QStringLiteral("Times New Roman");
    QString DefPreFontName = QStringLiteral("Courier New");
    TColor DefFontColor = ClSystemBase + 18; // clBtnText
    int DefFontSize = 12;
    TColor DefHotSpotColor = 0xFF0000;      // clBlue
    TColor DefBackground = ClSystemBase + 15; // clBtnFace
    TColor DefOverLinkColor = 0xFF0000;
    bool NoLinkUnderline = false;
    bool ReaderColors = false; // "Always use my colours"
    int Zoom = 100; // percent, our own key "Zoom"
    double PrintMarginLeft = 2.0;
    double PrintMarginRight = 2.0;
    double PrintMarginTop = 2.0;
    double PrintMarginBottom = 2.0;
    QString PrintHeader;
    QString PrintFooter;
};

// What the access file beside the program allows ("QLACCESS.INI", section "Advance").
struct TAccessModes {
    bool NoExit = false;
    bool NoResize = false;
    bool FullScreen = false;
    // "TRUST_PROGRAMS": the publisher's collection starts its programs without a question.
    bool TrustPrograms = false;
};

// One entry of the directory-button bar ("Directory" section, "Button0".."Button9").
struct TDirButtonEntry {
    QString Target;
    QString Caption;
    bool InExeDir = false;
};

// The main window: tool bar, the "Browser" and "MERL" pages, location bar,
// directory-button bar, status bar, menus, idle timers and the access modes.
class TFM_PlatForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int DirButtonCount = 10;
    static constexpr int HistoryEntryCount = 10;

    explicit TFM_PlatForm(QWidget* parent = nullptr);
    ~TFM_PlatForm() override;

    // Settings file and access file.
    void ReadINISettings();
    void SaveOptions();
    QString SettingsFileName() const { return FSettingsFile; }
    QString AccessFileName() const { return FAccessFile; }

    // Runs the first-activation work once (first document, idle hooks).
    void FirstActivation(const QStringList& arguments);
    // The exit command of the tool bar, the menu, "EXIT" and the close timer.
    void ExitCommand();
    // Called by the rendezvous when a second copy hands over its argument.
    void HandOver(const QString& text);

    // The directory-button bar.
    void LayoutDirButtons();
    void ReadDirButtons();
    void WriteDirButtons();
    std::array<TDirButtonEntry, DirButtonCount>& DirButtons() { return FDirEntries; }
    QPushButton* DirButton(int index) const { return FDirButtons[size_t(index)]; }

    // State other parts read.
    const TViewerOptions& ViewerOptions() const { return FViewerOptions; }
    const TAccessModes& AccessModes() const { return FAccess; }
    int ToolbarStyle() const { return FToolbarStyle; }
    void SetToolbarStyle(int style);
    bool IsFormReady() const { return FFormReady; }
    QString HomePage() const { return FHomePage; }
    // The document the reader was started on (command line), as loaded; empty when none.
    QString StartDocument() const { return FStartDocument; }
    QTimer* IdleHomeTimer() const { return Timer1; }
    QTimer* IdleCloseTimer() const { return TimerToClose; }
    QTimer* PrintIdleTimer() const { return Timer2; }
    QTabWidget* Notebook() const { return NB_MAIN; }
    TSearchPage* SearchPage() const { return FSearchPage; }
    TFrameViewer* Viewer() const { return HTMLViewer1; }
    QMenu* HistoryMenu() const { return FHistoryMenu; }
    QAction* HistoryEntry(int index) const { return FHistoryEntries[size_t(index)]; }

    // Desktop habits (TFM_PlatFormDesktop.cpp): recent documents, reloading
    // the shown document when its files change, and dropped files.
    TRecentDocuments* RecentDocuments() const;
    TDocumentWatcher* DocumentWatcher() const;
    // The files the shown document is made of: its file, or a frame set's
    // own file and every frame's.
    QStringList ShownFiles() const;
    // The About box's text: the version and the libraries the program uses.
    static QString AboutText();
    // Opens a file dropped on the window; a folder gets a message.
    void OpenDropped(const QString& file);

    // Visibility of all top-level menus, as "Show &Menu Options" sets it.
    void ApplyMenuBarVisibility();

    // View options (TFM_PlatFormView.cpp).
    // "&Viewer Preference": the fonts and colours dialog.
    void FontsClick();
    // Zoom of the browser view in percent, remembered in the settings file.
    int Zoom() const;
    void SetZoom(int percent);
    void ZoomIn();
    void ZoomOut();

    // The Home Page dialog's result: written to section "StartUp" and applied.
    void ApplyHomePageSettings(const struct THomePageSettings& settings);
    // The directory-button dialog's result: written to section "Directory" and laid out.
    void ApplyDirButtons(const std::array<TDirButtonEntry, DirButtonCount>& entries);

    // Navigation.
    void LoadHTMLFile(const QString& location);
    bool RunPseudoCommand(const QString& upperLocation);
    void TogglePage();
    void Refresh();
    void GoBack();
    void GoForward();
    void CloseFile();
    void OpenFile();
    void PrintDocument();
    void SaveAs();
    // The printer the print commands and the set-up dialogs share.
    QPrinter& Printer();
    void HistoryClick(int index);
    QString CurrentFile() const;
    QString LocationText() const;
    // A note in the status bar (until a link is covered).
    void ShowStatusNote(const QString& note);

    // Bookmarks: the "&Bookmark" menu and its manager.
    void GenerateBMList();
    void BookMarkClick(int index);
    void AddBookmarkClick();
    void BookmarkManagerClick();
    // Opens a bookmark's location, a relative one from the program folder.
    void openBookmark(const std::string& location);
    TFM_BMMgr* BookmarkManager() const { return FBookmarkManager; }
    QString BookmarkFileName() const { return FBookmarkFile; }

    // Document commands.
    void FindClick();
    // Finds the find dialog's text again; answers whether something was found.
    bool FindNextClick();
    // F3 and Shift+F3: the next or previous marked word when words are
    // marked, else a find onwards (F3) or the other way (Shift+F3).
    bool FindAgainClick(THighlightStep step);
    // The searched words marked in the shown document (TFM_PlatFormHighlight.cpp).
    TSearchHighlight& Highlight() const { return *FHighlight; }
    void ClearHighlight();
    TFM_Find* FindDialog() const { return FFindDialog; }
    void ExportPlainText();
    void PageSetupClick();
    void ApplyPageMargins(const TPageMargins& margins);
    void PrintPreview();
    // The link the document's context menu copies.
    QString LinkToCopy() const { return FLinkToCopy; }
    QMenu* DocumentMenu() const { return FDocumentMenu; }
    void ShowDocumentMenu(const TRightClickParameters& parameters, const QPoint& globalPosition);

signals:
    // Save Options writes the search page's keys through this.
    void SavingSearchOptions(TIniFile& ini);

protected:
    // Shows a user error (a load that failed, no home page) in an error box.
    virtual void ReportError(const QString& message);
    // The user prompts of the document commands; tests answer them.
    virtual void ShowMessage(QMessageBox::Icon icon, const QString& text);
    virtual bool AskYesNo(const QString& text);
    virtual QString AskSaveFileName(const QString& proposed);
    virtual bool ExecPrintDialog(QPrinter& printer);
    virtual bool ExecPageMargins(TPageMargins& margins);
    virtual int execBookmarkManager();
    virtual void OpenExportedText(const QString& path);
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createPages();
    void createBrowserPage(QWidget* page);
    void createStatusBar(QWidget* page);
    void createHistoryEntries();
    void createDirButtons();
    void createTimers();
    QAction* addAction(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& key = {});
    QAction* addCheck(QMenu* menu, const QString& objectName, const QString& caption, bool checked,
                      const QKeySequence& key = {});

    void readWindowSection(const TIniFile& ini);
    void readViewerSection(const TIniFile& ini);
    void readStartUpSection(const TIniFile& ini);
    void readAccessFile();
    void applyWindowBounds(int left, int top, int width, int height);
    void centreOnScreen();
    void applyPanelVisibility();
    void applyDialogBorder();
    void applyFullScreen();
    void installIdleHooks();
    void onIdle();
    void goHome();
    enum class THistoryStep { Back, Forward };
    void stepHistory(THistoryStep step);
    void configureViewer();
    void applyViewerOptions();
    void connectNavigation();
    void locationEntered();
    void historyChanged();
    void createDesktopHabits(QAction* beforeExit);
    void documentShown();
    void shownFilesChanged();
    void processing(bool on);
    void linkCovered(const std::string& url);
    void linkClicked(const std::string& target, const std::string& url, bool& handled);
    void displayImagesClicked();
    void imageCacheClicked();
    void createBookmarkMenu();
    void createBookmarkManager();
    void appendBookmarkEntry(int index, const QString& description);
    void createDocumentCommands();
    void connectDocumentCommands();
    void connectHighlight();
    void highlightShownDocument();
    void findHighlightChanged();
    bool isHitOfLastSearch(const QString& file) const;
    std::vector<THTMLViewer*> shownViewers() const;
    void enableClearHighlight();
    void startPrintIdle();
    // Prints with a progress window whose Cancel stops the job.
    void printWithProgress(int first, int last, QPrinter& printer);
    // Whether there is a document (or a chosen frame) to print; says why not.
    bool checkPrintable();
    void preparePrintBands();
    void printBand(TCanvas& canvas, int page, TPrintBand band, int bandHeight);
    void connectViewOptions();
    void writeViewerLook();
    bool zoomWheel(QObject* watched, QEvent* event);
    void showAbout();
    void dirButtonClicked(int index);

    // The search page, its menu commands, the page toggle and the "Edit" button.
    void connectSearchPage();
    void readSearchSection(const TIniFile& ini);
    void searchPageChanged(int index);
    void runHelpersDialog();

    // Files and start-up choices.
    QString FSettingsFile;
    QString FAccessFile;
    bool FFormReady = false;
    int FFirstActivation = 0;
    bool FLoadHome = false;
    bool FShowMERL = false;
    bool FGoBack = false;
    bool FAutoClose = false;
    QString FHomePage;
    QString FStartDocument;
    QString FBookmarkFile;
    // This run's private folder for the files it writes for itself (the
    // exported text); removed when the window goes.
    std::unique_ptr<TSessionFolder> FSessionFolder;
    std::unique_ptr<TSearchHighlight> FHighlight;
    QString FShownFile; // the document the last documentShown saw
    bool FLoading = false;
    bool FProcessingCursor = false; // processing() set the busy cursor
    bool FLoadNoteShown = false;    // a long load's progress is in the status bar
    QString FFindText;
    TFM_BMMgr* FBookmarkManager = nullptr;
    bool FBookmarksOffered = false;
    TFM_Find* FFindDialog = nullptr;
    QMenu* FDocumentMenu = nullptr;
    QString FLinkToCopy;
    int FWinState = 0;
    int FToolbarStyle = 0;
    TViewerOptions FViewerOptions;
    TAccessModes FAccess;
    QRect FLockedGeometry;

    // Regions.
    QToolBar* PA_ToolBar = nullptr;
    QTabWidget* NB_MAIN = nullptr;
    QWidget* PA_Location = nullptr;
    QLineEdit* ED_Location = nullptr;
    QWidget* PA_DIRBTN = nullptr;
    QPushButton* BT_CfgDirBtn = nullptr;
    TFrameViewer* HTMLViewer1 = nullptr;
    QWidget* PA_URL = nullptr;
    QLabel* FLinkLabel = nullptr;
    QPushButton* FSearchResultsButton = nullptr;
    QPushButton* FFindTextButton = nullptr;
    QPushButton* FFindNextButton = nullptr;
    TSearchPage* FSearchPage = nullptr;
    TEditButton* FEditButton = nullptr;
    TRecentDocuments* FRecentDocuments = nullptr;
    TDocumentWatcher* FDocumentWatcher = nullptr;

    // Menus and actions.
    QMenu* FFileMenu = nullptr;
    QMenu* FSearchMenu = nullptr;
    QMenu* FBookmarkMenu = nullptr;
    QMenu* FOptionsMenu = nullptr;
    QMenu* FHistoryMenu = nullptr;
    QMenu* FAboutMenu = nullptr;
    QMenu* FToolbarStyleMenu = nullptr;
    std::array<QAction*, HistoryEntryCount> FHistoryEntries {};
    std::array<QActionGroup*, 2> FStyleGroups {};

    // Directory buttons.
    std::array<TDirButtonEntry, DirButtonCount> FDirEntries;
    std::array<QPushButton*, DirButtonCount> FDirButtons {};

    // Timers: idle to home, idle to close, print cool-down.
    QTimer* Timer1 = nullptr;
    QTimer* TimerToClose = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* FIdleTimer = nullptr;
    std::unique_ptr<QPrinter> FPrinter;
};
