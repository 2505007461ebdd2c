#include "app/TFM_PlatForm.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/TEditButton.h"
#include "app/TFM_Helpers.h"
#include "app/TProgramGate.h"
#include "app/TSearchHighlight.h"
#include "app/TSearchPage.h"
#include "app/WidgetHelpers.h"
#include "app/WindowPlacement.h"
#include "html/viewer/TFrameViewer.h"
#include "util/FileReplace.h"
#include "util/ProgramFolder.h"
#include "util/TIniFile.h"
#include "util/TSessionFolder.h"
#include "util/Utilities.h"

namespace {

constexpr int builtInLeft = 266;
constexpr int builtInTop = 212;
constexpr int builtInWidth = 622;
constexpr int builtInHeight = 458;
constexpr int dirBarHeight = 31;


// Margins are kept as "value / 10" and written back in shortest decimal text.
// A margin is kept as tenths of a centimetre; 15.5 (1.55 cm) is read back as
// written, and only text that is no number gives the default 2 cm.
double readMargin(const TIniFile& ini, std::string_view key)
{
    bool ok = false;
    double tenths = QString::fromStdString(ini.ReadString("HTMLViewer1", key, "")).trimmed().toDouble(&ok);
    return ok && tenths >= 0 ? tenths / 10.0 : 2.0;
}

QString marginText(double margin)
{
    return QString::number(margin * 10.0, 'g', 15);
}

} // namespace

TFM_PlatForm::TFM_PlatForm(QWidget* parent) : QMainWindow(parent)
{
    // FormCreate.
    FFormReady = false;
    FSettingsFile = ToQString(WritableFile("KOVRA32.INI"));
    // Saves killed half way leave their temporary files behind.
    TIniFile(ToUtf8(FSettingsFile)).RemoveStaleTemporaries();
    RemoveStaleTemporaries(ExtractDir(ToUtf8(FSettingsFile)), SaveTemporaryPrefix);
    FSessionFolder = std::make_unique<TSessionFolder>();
    FAccessFile = ToQString(ProgramDir() + "QLACCESS.INI");
    FBookmarkFile = ToQString(WritableFile("BOOKMARK.TXT"));
    setWindowTitle(QApplication::applicationName());
    resize(builtInWidth, builtInHeight);
    move(builtInLeft, builtInTop);

    createTimers();
    createActions();
    createToolBar();
    createPages();
    createMenus();
    connectSearchPage();
    connectNavigation();
    createDocumentCommands();
    connectDocumentCommands();
    connectHighlight();
    connectViewOptions();
    qApp->installEventFilter(this);

    configureViewer();
    ReadINISettings();
    applyViewerOptions();
    createBookmarkManager();
    GenerateBMList();
    createHistoryEntries();
    ReadDirButtons();
    createDirButtons();
    LayoutDirButtons();
    FFormReady = true;
}

TFM_PlatForm::~TFM_PlatForm()
{
    qApp->removeEventFilter(this);
}

// ---- construction ---------------------------------------------------------

void TFM_PlatForm::createTimers()
{
    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        goHome();
    });
    TimerToClose = new QTimer(this);
    TimerToClose->setInterval(5000);
    connect(TimerToClose, &QTimer::timeout, this, [this] {
        TimerToClose->stop();
        ExitCommand();
    });
    Timer2 = new QTimer(this);
    Timer2->setInterval(0);
    Timer2->setSingleShot(true);
}

QAction* TFM_PlatForm::addAction(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& key)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(objectName);
    action->setShortcut(key);
    if (menu)
        menu->addAction(action);
    // Actions also live on the window, so their shortcuts work while the menu bar is hidden.
    QMainWindow::addAction(action);
    return action;
}

QAction* TFM_PlatForm::addCheck(QMenu* menu, const QString& objectName, const QString& caption, bool checked,
                                const QKeySequence& key)
{
    QAction* action = addAction(menu, objectName, caption, key);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void TFM_PlatForm::createActions()
{
    FFileMenu = new QMenu(QStringLiteral("&File"), this);
    FSearchMenu = new QMenu(QStringLiteral("&Search"), this);
    FBookmarkMenu = new QMenu(QStringLiteral("&Bookmark"), this);
    FOptionsMenu = new QMenu(QStringLiteral("&Options"), this);
    FHistoryMenu = new QMenu(QStringLiteral("&History"), this);
    FAboutMenu = new QMenu(QStringLiteral("&About"), this);
    FFileMenu->setObjectName("MNU_File");
    FSearchMenu->setObjectName("MNU_Search");
    FBookmarkMenu->setObjectName("MNU_Bookmark");
    FOptionsMenu->setObjectName("MNU_Options");
    FHistoryMenu->setObjectName("MNU_History");
    FAboutMenu->setObjectName("MNU_About");

    addAction(FFileMenu, "MNU_OpenFile", "&Open File", Qt::Key_F2)->setVisible(false);
    addAction(FFileMenu, "MNU_SaveAs", "&Save As")->setVisible(false);
    addAction(FFileMenu, "MNU_Export", "&Export as plain text")->setVisible(false);
    addAction(FFileMenu, "MNU_Refresh", "&Refresh File", QKeySequence("Ctrl+R"));
    connect(addAction(FFileMenu, "MNU_GoHome", "&Go Home", QKeySequence("Ctrl+H")), &QAction::triggered, this,
            &TFM_PlatForm::goHome);
    addAction(FFileMenu, "MNU_CloseFile", "&Close File")->setVisible(false);
    addAction(FFileMenu, "MNU_Print", "&Print", Qt::Key_F4)->setVisible(false);
    addAction(FFileMenu, "MNU_PrintPreview", "Print Pre&view")->setVisible(false);
    addAction(FFileMenu, "MNU_PrinterSetup", "Printer &Setup")->setVisible(false);
    addAction(FFileMenu, "MNU_PageSetup", "Page Setup")->setVisible(false);
    QAction* printSeparator = FFileMenu->addSeparator();
    printSeparator->setObjectName("MNU_PrintSeparator");
    printSeparator->setVisible(false);
    QAction* exit = addAction(FFileMenu, "MNU_Exit", "E&xit");
    connect(exit, &QAction::triggered, this, &TFM_PlatForm::ExitCommand);
    createDesktopHabits(exit);

    addAction(FSearchMenu, "MNU_Toggle", "Toggle Browse/Search Screen", Qt::Key_F1);
    addAction(FSearchMenu, "MNU_Find", "&Find Keyword within document", QKeySequence("Ctrl+F"));
    addAction(FSearchMenu, "MNU_FindAgain", "&Find Again", Qt::Key_F3);
    addAction(FSearchMenu, "MNU_Copy", "&Copy to clipboard", QKeySequence("Ctrl+C"));
    addAction(FSearchMenu, "MNU_SelectAll", "Select All", QKeySequence("Ctrl+A"));
    // Back and Forward exist for their shortcuts only.
    addAction(nullptr, "MNU_Back", "Back", QKeySequence("Alt+Left"));
    addAction(nullptr, "MNU_Forward", "Forward", QKeySequence("Alt+Right"));
    createBookmarkMenu();

    addAction(FOptionsMenu, "MNU_HomePage", "&Home Page");
    addAction(FOptionsMenu, "MNU_PathList", "&Path List")->setVisible(false);
    addAction(FOptionsMenu, "MNU_Fonts", "&Viewer Preference");
    addAction(FOptionsMenu, "MNU_Helpers", "&Helper Applications")->setVisible(false);
    addAction(FOptionsMenu, "MNU_SrhDefault", "&Search Engine Preferences")->setVisible(false);
    FOptionsMenu->addSeparator();
    connect(addCheck(FOptionsMenu, "MNU_MenuBar", "Show &Menu Options", true, QKeySequence("Ctrl+M")),
            &QAction::triggered, this, &TFM_PlatForm::ApplyMenuBarVisibility);
    for (auto [name, caption, key] : {std::tuple{"MNU_ShowToolbar", "Show &Tool Bar", "Ctrl+T"},
                                      std::tuple{"MNU_ShowLocation", "Show &Location", "Ctrl+L"},
                                      std::tuple{"MNU_ShowDir", "Show &Directory Buttons", "Ctrl+D"},
                                      std::tuple{"MNU_ShowStatus", "Show Status &Bar", ""}}) {
        connect(addCheck(FOptionsMenu, name, caption, true, QKeySequence(key)), &QAction::triggered, this,
                &TFM_PlatForm::applyPanelVisibility);
    }
    FToolbarStyleMenu = FOptionsMenu->addMenu(QStringLiteral("Tool Bar Options"));
    FOptionsMenu->addSeparator();
    addCheck(FOptionsMenu, "MNU_DisplayImages", "Display Images", true);
    addCheck(FOptionsMenu, "MNU_ImageCache", "Enable Image Cache", true);
    addCheck(FOptionsMenu, "MNU_TextFirst", "Load all text before image", false);
    FOptionsMenu->addSeparator();
    addCheck(FOptionsMenu, "MNU_AutoRefresh", "&Auto Refresh Window", false);
    addCheck(FOptionsMenu, "MNU_AutoSave", "Auto save options at exit", true);
    connect(addAction(FOptionsMenu, "MNU_SaveOptions", "&Save Options", QKeySequence("Ctrl+O")), &QAction::triggered,
            this, [this] {
                try {
                    SaveOptions();
                } catch (const std::exception& e) {
                    QMessageBox::critical(this, QApplication::applicationName(), QString::fromUtf8(e.what()));
                }
            });

    connect(addAction(FAboutMenu, "MNU_AboutBox", "&About..."), &QAction::triggered, this, &TFM_PlatForm::showAbout);
}

void TFM_PlatForm::createMenus()
{
    for (QMenu* menu : {FFileMenu, FSearchMenu, FBookmarkMenu, FOptionsMenu, FHistoryMenu, FAboutMenu})
        menuBar()->addMenu(menu);
    // Menus offered only by the access file start hidden.
    FBookmarkMenu->menuAction()->setVisible(false);
    FOptionsMenu->menuAction()->setVisible(false);
    FHistoryMenu->menuAction()->setVisible(false);

    // The two copies of the tool bar style choice: the tool bar's context menu and the submenu.
    auto* popup = new QMenu(this);
    const char* popupCaptions[] = {"Image &and Text", "&Image Only", "&Text Only"};
    const char* submenuCaptions[] = {"Image and Text", "Image Only", "Text Only"};
    for (int copy = 0; copy < 2; ++copy) {
        FStyleGroups[size_t(copy)] = new QActionGroup(this);
        for (int style = 0; style < 3; ++style) {
            QMenu* menu = copy == 0 ? popup : FToolbarStyleMenu;
            QAction* action = menu->addAction(copy == 0 ? popupCaptions[style] : submenuCaptions[style]);
            action->setObjectName(QStringLiteral("%1Style%2").arg(copy == 0 ? "POP_" : "MNU_").arg(style));
            action->setCheckable(true);
            action->setChecked(style == 0);
            FStyleGroups[size_t(copy)]->addAction(action);
            connect(action, &QAction::triggered, this, [this, style] { SetToolbarStyle(style); });
        }
    }
    PA_ToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PA_ToolBar, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& at) { popup->exec(PA_ToolBar->mapToGlobal(at)); });
}

void TFM_PlatForm::createToolBar()
{
    PA_ToolBar = addToolBar(QStringLiteral("Tool Bar"));
    PA_ToolBar->setObjectName("PA_ToolBar");
    PA_ToolBar->setMovable(false);
    PA_ToolBar->setFloatable(false);
    PA_ToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle* style = QApplication::style();
    // Icons from the desktop theme, with the style's built-in pictures as fallback.
    auto button = [&](const char* name, const char* caption, const char* theme, QStyle::StandardPixmap fallback) {
        auto* action = PA_ToolBar->addAction(QIcon::fromTheme(theme, style->standardIcon(fallback)), caption);
        action->setObjectName(name);
        return action;
    };
    button("TB_Back", "Back", "go-previous", QStyle::SP_ArrowBack)->setEnabled(false);
    button("TB_Next", "Next", "go-next", QStyle::SP_ArrowForward)->setEnabled(false);
    connect(button("TB_Home", "Home", "go-home", QStyle::SP_DirHomeIcon), &QAction::triggered, this,
            &TFM_PlatForm::goHome);
    button("TB_Copy", "Copy", "edit-copy", QStyle::SP_FileDialogDetailedView);
    button("TB_Refresh", "Refresh", "view-refresh", QStyle::SP_BrowserReload);
    button("TB_Open", "Open", "document-open", QStyle::SP_DialogOpenButton)->setVisible(false);
    button("TB_Print", "Print", "document-print", QStyle::SP_FileIcon);
    PA_ToolBar->addSeparator()->setObjectName("TB_Separator");
    button("TB_Search", "Search", "system-search", QStyle::SP_FileDialogContentsView);
    button("TB_Edit", "Edit", "accessories-text-editor", QStyle::SP_FileIcon);
    connect(button("TB_Exit", "Exit", "application-exit", QStyle::SP_DialogCloseButton), &QAction::triggered, this,
            &TFM_PlatForm::ExitCommand);
}

void TFM_PlatForm::createPages()
{
    NB_MAIN = new QTabWidget(this);
    NB_MAIN->setObjectName("NB_MAIN");
    auto* browser = new QWidget;
    browser->setObjectName("PG_Browser");
    createBrowserPage(browser);
    NB_MAIN->addTab(browser, QStringLiteral("Browser"));
    FSearchPage = new TSearchPage(FSettingsFile);
    NB_MAIN->addTab(FSearchPage, QStringLiteral("MERL"));
    setCentralWidget(NB_MAIN);
}

void TFM_PlatForm::createBrowserPage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PA_Location = new QWidget;
    PA_Location->setObjectName("PA_Location");
    auto* locationLayout = new QHBoxLayout(PA_Location);
    locationLayout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(QStringLiteral("&Location"));
    ED_Location = new QLineEdit;
    ED_Location->setObjectName("ED_Location");
    label->setBuddy(ED_Location);
    locationLayout->addWidget(label);
    locationLayout->addWidget(ED_Location, 1);
    connect(ED_Location, &QLineEdit::returnPressed, this, &TFM_PlatForm::locationEntered);
    layout->addWidget(PA_Location);

    PA_DIRBTN = new QWidget;
    PA_DIRBTN->setObjectName("PA_DIRBTN");
    PA_DIRBTN->setFixedHeight(dirBarHeight);
    PA_DIRBTN->installEventFilter(this);
    BT_CfgDirBtn = new QPushButton(QStringLiteral("..."), PA_DIRBTN);
    BT_CfgDirBtn->setObjectName("BT_CfgDirBtn");
    BT_CfgDirBtn->setToolTip(QStringLiteral("Config Directory Bar"));
    BT_CfgDirBtn->setGeometry(10, 3, 25, 25);
    layout->addWidget(PA_DIRBTN);

    HTMLViewer1 = new TFrameViewer;
    HTMLViewer1->setObjectName("HTMLViewer1");
    layout->addWidget(HTMLViewer1, 1);

    createStatusBar(page);
    layout->addWidget(PA_URL);
}

void TFM_PlatForm::createStatusBar(QWidget* page)
{
    PA_URL = new QWidget(page);
    PA_URL->setObjectName("PA_URL");
    auto* layout = new QHBoxLayout(PA_URL);
    layout->setContentsMargins(2, 1, 2, 1);
    auto* about = new QPushButton(QStringLiteral("i"));
    about->setObjectName("BT_About");
    about->setFixedWidth(20);
    connect(about, &QPushButton::clicked, this, &TFM_PlatForm::showAbout);
    FLinkLabel = new QLabel;
    FLinkLabel->setObjectName("LB_URL");
    // A link's text never widens the window: the label takes the room left.
    FLinkLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FSearchResultsButton = new QPushButton(QStringLiteral("Search Results"));
    FSearchResultsButton->setObjectName("BT_SearchResults");
    FSearchResultsButton->setToolTip(QStringLiteral("Redisplay last search results"));
    FFindTextButton = new QPushButton(QStringLiteral("Find Text"));
    FFindTextButton->setObjectName("BT_FindText");
    FFindTextButton->setToolTip(QStringLiteral("Find text within current document"));
    FFindNextButton = new QPushButton(QStringLiteral("Find Next"));
    FFindNextButton->setObjectName("BT_FindNext");
    FFindNextButton->setToolTip(QStringLiteral("Find text within current document"));
    layout->addWidget(about);
    layout->addWidget(FLinkLabel, 1);
    layout->addWidget(FSearchResultsButton);
    layout->addWidget(FFindTextButton);
    layout->addWidget(FFindNextButton);
}

void TFM_PlatForm::createHistoryEntries()
{
    for (int i = 0; i < HistoryEntryCount; ++i) {
        auto* entry = new QAction(this);
        entry->setObjectName(QStringLiteral("MNU_History%1").arg(i));
        entry->setCheckable(true);
        entry->setVisible(false);
        entry->setData(i);
        connect(entry, &QAction::triggered, this, [this, i] { HistoryClick(i); });
        FHistoryMenu->addAction(entry);
        FHistoryEntries[size_t(i)] = entry;
    }
}

void TFM_PlatForm::createDirButtons()
{
    for (int i = 0; i < DirButtonCount; ++i) {
        auto* button = new QPushButton(FDirEntries[size_t(i)].Caption, PA_DIRBTN);
        button->setObjectName(QStringLiteral("DirButton%1").arg(i));
        button->setGeometry(5 + 95 * i, 3, 95, 25);
        button->setVisible(!FDirEntries[size_t(i)].Caption.isEmpty());
        connect(button, &QPushButton::clicked, this, [this, i] { dirButtonClicked(i); });
        FDirButtons[size_t(i)] = button;
    }
}

// ---- settings file and access file ----------------------------------------

void TFM_PlatForm::ReadINISettings()
{
    TIniFile ini(ToUtf8(FSettingsFile));
    if (!ini.exists())
        centreOnScreen();
    else {
        readWindowSection(ini);
        readViewerSection(ini);
    }
    // A settings file that other dialogs began holds no bounds yet: still a first start.
    if (ini.exists() && ini.ReadString("Windows", "Width", "").empty())
        centreOnScreen();
    readStartUpSection(ini);
    readSearchSection(ini);
    readAccessFile();
    if (FWinState == 1)
        setWindowState(Qt::WindowMinimized);
    else if (FWinState == 2)
        setWindowState(Qt::WindowMaximized);
}

void TFM_PlatForm::readWindowSection(const TIniFile& ini)
{
    FWinState = ini.ReadInteger("Windows", "WinState", 0);
    applyWindowBounds(ini.ReadInteger("Windows", "Left", x()), ini.ReadInteger("Windows", "Top", y()),
                      ini.ReadInteger("Windows", "Width", width()), ini.ReadInteger("Windows", "Height", height()));
    auto check = [this](const char* name, bool value) { findChild<QAction*>(name)->setChecked(value); };
    check("MNU_ShowToolbar", ini.ReadBool("Windows", "Toolbar", true));
    SetToolbarStyle(ini.ReadInteger("Windows", "ToolbarStyle", 0));
    check("MNU_ShowLocation", ini.ReadBool("Windows", "Location", true));
    check("MNU_ShowDir", ini.ReadBool("Windows", "DirButton", true));
    check("MNU_ShowStatus", ini.ReadBool("Windows", "StatusBar", true));
    applyPanelVisibility();
    check("MNU_AutoSave", ini.ReadBool("Windows", "AutoSave", true));

    check("MNU_ImageCache", ini.ReadBool("HTMLViewer1", "ImgCache", true));
    check("MNU_DisplayImages", ini.ReadBool("HTMLViewer1", "DisplayImg", true));
    check("MNU_TextFirst", ini.ReadBool("HTMLViewer1", "TextFirst", false));
    check("MNU_AutoRefresh", ini.ReadBool("HTMLViewer1", "AutoRefresh", false));
    FViewerOptions.ViewImages = findChild<QAction*>("MNU_DisplayImages")->isChecked();
    FViewerOptions.ImageCacheCount = findChild<QAction*>("MNU_ImageCache")->isChecked() ? 5 : 0;

    check("MNU_MenuBar", ini.ReadBool("Windows", "MenuBar", true));
    ApplyMenuBarVisibility();
    bool statusButtons = ini.ReadBool("Windows", "StatusBtn", true);
    FFindTextButton->setVisible(statusButtons);
    FFindNextButton->setVisible(statusButtons);
    FSearchResultsButton->setVisible(statusButtons);
}

void TFM_PlatForm::readStartUpSection(const TIniFile& ini)
{
    FLoadHome = ini.ReadBool("StartUp", "LoadHome", false);
    FShowMERL = ini.ReadBool("StartUp", "ShowMERL", false);
    FHomePage = ToQString(ini.ReadString("StartUp", "HomePage", ""));
    FGoBack = ini.ReadBool("StartUp", "GoBack", false);
    FAutoClose = ini.ReadBool("StartUp", "AutoClose", false);
    FBookmarkFile = ToQString(ini.ReadString("StartUp", "Bookmark", ToUtf8(FBookmarkFile)));
    // Seconds, kept within what a timer can count.
    auto seconds = [](int value) { return std::clamp(value, 0, 2000000) * 1000; };
    Timer1->setInterval(seconds(ini.ReadInteger("StartUp", "IdleSec", Timer1->interval() / 1000)));
    TimerToClose->setInterval(seconds(ini.ReadInteger("StartUp", "CloseSec", TimerToClose->interval() / 1000)));
    Timer2->setInterval(seconds(ini.ReadInteger("StartUp", "PrintIdle", Timer2->interval() / 1000)));
}

void TFM_PlatForm::readViewerSection(const TIniFile& ini)
{
    TViewerOptions& v = FViewerOptions;
    v.DefFontName = ToQString(ini.ReadString("HTMLViewer1", "FontName", ToUtf8(v.DefFontName)));
    v.DefPreFontName = ToQString(ini.ReadString("HTMLViewer1", "PreFontName", ToUtf8(v.DefPreFontName)));
    v.DefFontColor = ini.ReadColor("HTMLViewer1", "FontColor", v.DefFontColor);
    v.DefFontSize = ini.ReadInteger("HTMLViewer1", "FontSize", v.DefFontSize);
    v.DefHotSpotColor = ini.ReadColor("HTMLViewer1", "LinkColor", v.DefHotSpotColor);
    v.DefBackground = ini.ReadColor("HTMLViewer1", "Background", v.DefBackground);
    v.DefOverLinkColor = ini.ReadColor("HTMLViewer1", "OverLink", v.DefOverLinkColor);
    v.NoLinkUnderline = !ini.ReadBool("HTMLViewer1", "UnderLine", true);
    v.ReaderColors = ini.ReadBool("HTMLViewer1", "UseMyColors", false);
    v.PrintMarginLeft = readMargin(ini, "MLeft");
    v.PrintMarginRight = readMargin(ini, "MRight");
    v.PrintMarginTop = readMargin(ini, "MTop");
    v.PrintMarginBottom = readMargin(ini, "MBottom");
    v.PrintHeader = ToQString(ini.ReadString("HTMLViewer1", "Header", ""));
    v.PrintFooter = ToQString(ini.ReadString("HTMLViewer1", "Footer", ""));
    v.Zoom = std::clamp(ini.ReadInteger("HTMLViewer1", "Zoom", 100), 30, 300);
}

void TFM_PlatForm::readAccessFile()
{
    TIniFile access(ToUtf8(FAccessFile));
    if (!access.exists())
        return;
    auto show = [this](const char* name, bool visible) {
        if (QAction* action = findChild<QAction*>(name))
            action->setVisible(visible);
    };
    auto setMenu = [](QMenu* menu, bool visible) { menu->menuAction()->setVisible(visible); };
    bool menusShown = findChild<QAction*>("MNU_MenuBar")->isChecked();
    bool all = access.ReadBool("Advance", "ALL_Enabled", false);
    auto offered = [&](const char* key) { return all || access.ReadBool("Advance", key, false); };

    bool print = offered("HTML_PRINT");
    for (const char* name :
         {"MNU_Print", "MNU_PrintPreview", "MNU_PrinterSetup", "MNU_PageSetup", "MNU_PrintSeparator", "TB_Print"})
        show(name, print);
    findChild<QAction*>("MNU_Print")->setEnabled(print);
    setMenu(FOptionsMenu, offered("SHOW_OPTION") && menusShown);
    bool open = offered("HTML_OPEN");
    for (const char* name : {"MNU_OpenFile", "TB_Open", "MNU_CloseFile"})
        show(name, open);
    show("MNU_SaveAs", offered("LET_SAVE"));
    FBookmarksOffered = offered("SEE_BOOKMARK");
    setMenu(FBookmarkMenu, FBookmarksOffered && menusShown);
    show("MNU_Export", offered("XP_PLAIN"));
    show("MNU_Helpers", offered("AP_HELPER"));
    show("TB_Edit", offered("AP_HELPER"));
    show("MNU_SrhDefault", offered("KOVRA_Default"));
    show("MNU_PathList", offered("Set_PathList"));
    // With everything offered, the home page item and the bar's button keep their built-in state.
    if (!all) {
        show("MNU_HomePage", access.ReadBool("Advance", "Set_Home", false));
        BT_CfgDirBtn->setVisible(access.ReadBool("Advance", "Let_ChangeDir", false));
    }
    FAccess.NoResize = access.ReadBool("Advance", "NORESIZE", false);
    FAccess.NoExit = access.ReadBool("Advance", "NOEXIT", false);
    FAccess.FullScreen = access.ReadBool("Advance", "FullScreen", false);
    FAccess.TrustPrograms = access.ReadBool("Advance", TProgramGate::AccessTrustKey, false);
    applyDialogBorder();
    if (FAccess.FullScreen)
        applyFullScreen();
}

void TFM_PlatForm::applyWindowBounds(int left, int top, int width, int height)
{
    // Whatever the file says, the window ends up on a screen that is there now, and usable.
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (QScreen* other : QGuiApplication::screens())
        if (other != QGuiApplication::primaryScreen())
            areas.append(other->availableGeometry());
    QRect bounds = PlaceOnScreens(QRect(left, top, width, height), areas, QSize(200, 150));
    // Left and Top are where the frame goes; move() places the frame too.
    resize(bounds.size());
    move(bounds.topLeft());
}

void TFM_PlatForm::centreOnScreen()
{
    QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    QRect bounds = FirstStartBounds(available);
    resize(bounds.size());
    move(bounds.topLeft());
}

void TFM_PlatForm::applyPanelVisibility()
{
    auto checked = [this](const char* name) { return findChild<QAction*>(name)->isChecked(); };
    PA_ToolBar->setVisible(checked("MNU_ShowToolbar"));
    PA_Location->setVisible(checked("MNU_ShowLocation"));
    PA_DIRBTN->setVisible(checked("MNU_ShowDir"));
    PA_URL->setVisible(checked("MNU_ShowStatus"));
}

void TFM_PlatForm::SetToolbarStyle(int style)
{
    if (style < 0 || style > 2)
        style = 0;
    FToolbarStyle = style;
    static constexpr Qt::ToolButtonStyle styles[] = {Qt::ToolButtonTextUnderIcon, Qt::ToolButtonIconOnly,
                                                     Qt::ToolButtonTextOnly};
    PA_ToolBar->setToolButtonStyle(styles[style]);
    if (style == 1)
        PA_ToolBar->setIconSize(QSize(22, 22));
    for (QActionGroup* group : FStyleGroups) {
        if (group)
            group->actions().at(style)->setChecked(true);
    }
}

void TFM_PlatForm::ApplyMenuBarVisibility()
{
    // "&Options" keeps its own visibility so the way back stays open.
    bool shown = findChild<QAction*>("MNU_MenuBar")->isChecked();
    bool optionsVisible = FOptionsMenu->menuAction()->isVisible();
    for (QMenu* menu : {FFileMenu, FSearchMenu, FBookmarkMenu, FHistoryMenu, FAboutMenu})
        menu->menuAction()->setVisible(shown);
    FOptionsMenu->menuAction()->setVisible(optionsVisible);
    // Menus offered by nobody stay hidden when the bar comes back.
    if (shown) {
        FHistoryMenu->menuAction()->setVisible(FHistoryEntries[0] && FHistoryEntries[0]->isVisible());
        FBookmarkMenu->menuAction()->setVisible(FBookmarksOffered);
    }
}

void TFM_PlatForm::applyDialogBorder()
{
    if (!FAccess.NoExit && !FAccess.NoResize)
        return;
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setFixedSize(size());
    if (FAccess.NoExit)
        findChild<QAction*>("TB_Exit")->setVisible(false);
}

void TFM_PlatForm::applyFullScreen()
{
    // There is no task bar window to measure here: the window covers the whole
    // available screen and stays there.
    setWindowFlag(Qt::WindowMinimizeButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    setGeometry(area);
    setFixedSize(area.size());
    FLockedGeometry = area;
}

void TFM_PlatForm::SaveOptions()
{
    TIniFile ini(ToUtf8(FSettingsFile));
    auto checked = [this](const char* name) { return findChild<QAction*>(name)->isChecked(); };
    QRect bounds = normalGeometry().isValid() ? normalGeometry() : geometry();
    int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    // The frame's corner, as move() takes it back on the next start: the
    // client's corner would put the window a title bar lower every time.
    QPoint corner = bounds.topLeft() - (geometry().topLeft() - frameGeometry().topLeft());
    // One save of the file for all the options, locked against other windows.
    ini.Batch([&] {
        ini.WriteInteger("Windows", "Top", corner.y());
        ini.WriteInteger("Windows", "Left", corner.x());
        ini.WriteInteger("Windows", "Height", bounds.height());
        ini.WriteInteger("Windows", "Width", bounds.width());
        ini.WriteInteger("Windows", "WinState", state);
        ini.WriteBool("Windows", "ToolBar", checked("MNU_ShowToolbar"));
        ini.WriteInteger("Windows", "ToolbarStyle", FToolbarStyle);
        ini.WriteBool("Windows", "Location", checked("MNU_ShowLocation"));
        ini.WriteBool("Windows", "DirButton", checked("MNU_ShowDir"));
        ini.WriteBool("Windows", "MenuBar", checked("MNU_MenuBar"));
        ini.WriteBool("Windows", "StatusBar", checked("MNU_ShowStatus"));
        ini.WriteBool("Windows", "AutoSave", checked("MNU_AutoSave"));
        ini.WriteBool("HTMLViewer1", "ImgCache", checked("MNU_ImageCache"));
        ini.WriteBool("HTMLViewer1", "DisplayImg", checked("MNU_DisplayImages"));
        ini.WriteBool("HTMLViewer1", "TextFirst", checked("MNU_TextFirst"));
        ini.WriteBool("HTMLViewer1", "AutoRefresh", checked("MNU_AutoRefresh"));
        ini.WriteString("HTMLViewer1", "MLeft", ToUtf8(marginText(FViewerOptions.PrintMarginLeft)));
        ini.WriteString("HTMLViewer1", "MRight", ToUtf8(marginText(FViewerOptions.PrintMarginRight)));
        ini.WriteString("HTMLViewer1", "MTop", ToUtf8(marginText(FViewerOptions.PrintMarginTop)));
        ini.WriteString("HTMLViewer1", "MBottom", ToUtf8(marginText(FViewerOptions.PrintMarginBottom)));
        ini.WriteString("HTMLViewer1", "Header", ToUtf8(FViewerOptions.PrintHeader));
        ini.WriteString("HTMLViewer1", "Footer", ToUtf8(FViewerOptions.PrintFooter));
        emit SavingSearchOptions(ini);
    });
}

// ---- lifecycle ---------------------------------------------------------------

void TFM_PlatForm::FirstActivation(const QStringList& arguments)
{
    if (FFirstActivation != 0)
        return;
    FFirstActivation = 1;
    FSearchPage->LoadMessagePage();
    FEditButton->Refresh();
    GenerateBMList();
    NB_MAIN->setCurrentIndex(0);
    if (arguments.size() == 1) {
        LoadHTMLFile(arguments.front());
        FStartDocument = CurrentFile();
    }
    else if (FLoadHome)
        LoadHTMLFile(FHomePage);
    else if (FShowMERL)
        NB_MAIN->setCurrentIndex(1);
    installIdleHooks();
}

void TFM_PlatForm::installIdleHooks()
{
    // "Idle" is an empty event queue: the dispatcher is about to block.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TFM_PlatForm::onIdle);
    connect(qApp, &QApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && NB_MAIN->currentIndex() == 0
            && findChild<QAction*>("MNU_AutoRefresh")->isChecked() && isEnabled())
            Refresh();
    });
}

void TFM_PlatForm::onIdle()
{
    if (FGoBack && !Timer1->isActive())
        Timer1->start();
    if (FAutoClose && !TimerToClose->isActive())
        TimerToClose->start();
}

bool TFM_PlatForm::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::Wheel:
        Timer1->stop();
        TimerToClose->stop();
        if (zoomWheel(watched, event))
            return true;
        break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
        // Any input restarts the idle count.
        Timer1->stop();
        TimerToClose->stop();
        break;
    case QEvent::Resize:
        if (watched == PA_DIRBTN && FFormReady)
            LayoutDirButtons();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFM_PlatForm::ExitCommand()
{
    // Under NOEXIT the close is refused, and the document stays shown.
    if (FAccess.NoExit)
        return;
    HTMLViewer1->ClearView();
    close();
}

void TFM_PlatForm::closeEvent(QCloseEvent* event)
{
    if (FAccess.NoExit) {
        event->ignore();
        return;
    }
    // A search still running ends before the window goes.
    if (FSearchPage->IsSearching())
        FSearchPage->BT_STOPClick();
    if (findChild<QAction*>("MNU_AutoSave")->isChecked()) {
        try {
            SaveOptions();
        } catch (const std::exception& e) {
            QMessageBox::critical(this, QApplication::applicationName(), QString::fromUtf8(e.what()));
        }
    }
    event->accept();
}

void TFM_PlatForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!FLockedGeometry.isNull() && FFormReady && geometry() != FLockedGeometry)
        setGeometry(FLockedGeometry);
}

void TFM_PlatForm::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (!FLockedGeometry.isNull() && FFormReady && pos() != FLockedGeometry.topLeft())
        move(FLockedGeometry.topLeft());
}

void TFM_PlatForm::showAbout()
{
    QMessageBox::about(this, QStringLiteral("About Quillon"), AboutText());
}

// ---- directory buttons ------------------------------------------------------

void TFM_PlatForm::ReadDirButtons()
{
    TIniFile ini(ToUtf8(FSettingsFile));
    for (int i = 0; i < DirButtonCount; ++i) {
        QString value = ToQString(ini.ReadString("Directory", "Button" + std::to_string(i), ""));
        // A double quote splits like a comma; only three fields make an entry.
        QStringList fields = value.split(QRegularExpression(QStringLiteral("[,\"]")));
        TDirButtonEntry entry;
        if (fields.size() == 3) {
            entry.Target = fields[0];
            entry.Caption = fields[1];
            entry.InExeDir = fields[2] == QLatin1String("1");
        }
        FDirEntries[size_t(i)] = entry;
    }
}

void TFM_PlatForm::WriteDirButtons()
{
    TIniFile ini(ToUtf8(FSettingsFile));
    ini.Batch([&] {
        for (int i = 0; i < DirButtonCount; ++i) {
            const TDirButtonEntry& entry = FDirEntries[size_t(i)];
            QString value = entry.Target + ',' + entry.Caption + ',' + (entry.InExeDir ? '1' : '0');
            ini.WriteString("Directory", "Button" + std::to_string(i), ToUtf8(value));
        }
    });
}

void TFM_PlatForm::LayoutDirButtons()
{
    int barWidth = PA_DIRBTN->width();
    int count = 0;
    for (const auto& entry : FDirEntries)
        count += entry.Caption.isEmpty() ? 0 : 1;
    int buttonWidth = count > 0 ? std::min((barWidth - 35) / count, barWidth / 3) : 0;
    int position = 0;
    for (int i = 0; i < DirButtonCount; ++i) {
        QPushButton* button = FDirButtons[size_t(i)];
        if (!button)
            continue;
        const TDirButtonEntry& entry = FDirEntries[size_t(i)];
        button->setText(entry.Caption);
        button->setVisible(!entry.Caption.isEmpty());
        if (entry.Caption.isEmpty())
            continue;
        button->setGeometry(1 + position * buttonWidth, 3, buttonWidth, 25);
        ++position;
    }
    BT_CfgDirBtn->move(count * buttonWidth + 10, 3);
}

void TFM_PlatForm::dirButtonClicked(int index)
{
    const TDirButtonEntry& entry = FDirEntries[size_t(index)];
    QString target = entry.Target;
    if (target.isEmpty() || RunPseudoCommand(target.toUpper()))
        return;
    if (QFileInfo(target).suffix().toLower() == QLatin1String("exe")) {
        StartProgram(ToUtf8(target), "");
        return;
    }
    LoadHTMLFile(entry.InExeDir ? ToQString(ProgramDir()) + target : target);
}

// ---- search page --------------------------------------------------------------

void TFM_PlatForm::connectSearchPage()
{
    auto action = [this](const char* name) { return findChild<QAction*>(name); };
    connect(action("TB_Search"), &QAction::triggered, this, &TFM_PlatForm::TogglePage);
    connect(action("MNU_Toggle"), &QAction::triggered, this, &TFM_PlatForm::TogglePage);
    connect(NB_MAIN, &QTabWidget::currentChanged, this, &TFM_PlatForm::searchPageChanged);
    connect(action("MNU_MenuBar"), &QAction::triggered, this, [this] { searchPageChanged(NB_MAIN->currentIndex()); });
    connect(FSearchResultsButton, &QPushButton::clicked, FSearchPage, &TSearchPage::BT_IndexClick);
    connect(FSearchPage, &TSearchPage::ShowDocumentRequested, this, &TFM_PlatForm::LoadHTMLFile);
    connect(this, &TFM_PlatForm::SavingSearchOptions, FSearchPage, [this](TIniFile& ini) {
        try {
            FSearchPage->SaveSearchOptions(ini);
        } catch (const std::exception& e) {
            QMessageBox::critical(this, QApplication::applicationName(), QString::fromUtf8(e.what()));
        }
    });
    connect(action("MNU_SrhDefault"), &QAction::triggered, FSearchPage, &TSearchPage::MNU_SrhDefClick);
    connect(action("MNU_PathList"), &QAction::triggered, FSearchPage, &TSearchPage::MNU_PATHLISTClick);
    connect(action("MNU_Helpers"), &QAction::triggered, this, &TFM_PlatForm::runHelpersDialog);
    FEditButton = new TEditButton(action("TB_Edit"), FSettingsFile, [this] { return CurrentFile(); }, this);
}

void TFM_PlatForm::readSearchSection(const TIniFile& ini)
{
    FSearchPage->ApplySearchColors(FViewerOptions.DefBackground, FViewerOptions.DefFontName,
                                   FViewerOptions.DefFontColor);
    FSearchPage->ReadSearchSettings(ini);
}

void TFM_PlatForm::searchPageChanged(int index)
{
    const bool searchPage = index == 1;
    findChild<QAction*>("TB_Search")->setText(searchPage ? QStringLiteral("Browse") : QStringLiteral("Search"));
    if (searchPage)
        FSearchPage->FocusKeywords();
    // "&Search" and "&History" belong to the browser page.
    const bool menus = findChild<QAction*>("MNU_MenuBar")->isChecked() && !searchPage;
    FSearchMenu->menuAction()->setVisible(menus);
    FHistoryMenu->menuAction()->setVisible(menus && FHistoryEntries[0] && FHistoryEntries[0]->isVisible());
}

void TFM_PlatForm::runHelpersDialog()
{
    TFM_Helpers dialog(THelpersMode::HelperApplications, FSettingsFile, this);
    dialog.exec();
    FEditButton->Refresh();
}
