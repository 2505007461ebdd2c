#include "app/TSearchPage.h"

#include "html/viewer/THTMLViewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

#include "app/TFM_Helpers.h"
#include "app/TFM_SrhDefault.h"
#include "app/WidgetHelpers.h"
#include "html/viewer/QtColor.h"
#include "search/FileSystem.h"
#include "search/TFileScan.h"
#include "util/FileLookup.h"
#include "util/ProgramFolder.h"
#include "util/TIniFile.h"
#include "util/Utilities.h"

namespace {

constexpr int MaxPathListEntries = 255;
// The progress labels are refreshed at most this often; the events are pumped after every file.
constexpr qint64 ProgressIntervalMs = 80;

QFont boldPixelFont(int pixels)
{
    QFont font;
    font.setBold(true);
    font.setPixelSize(pixels);
    return font;
}

QComboBox* dropDown(const char* name, const QStringList& items)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

QSpinBox* spinEdit(const char* name)
{
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(0, INT_MAX);
    return spin;
}

QStringList comparisonItems()
{
    QStringList items;
    for (const std::string& item : ComparisonItems())
        items << ToQString(item);
    return items;
}

template <typename Frame>
Frame* panel(const char* name)
{
    auto* frame = new Frame;
    frame->setObjectName(name);
    return frame;
}

} // namespace

TSearchPage::TSearchPage(QString settingsFile, QWidget* parent)
    : QWidget(parent), FSettingsFile(std::move(settingsFile)), FileScan1(std::make_unique<TFileScan>())
{
    setObjectName("PG_MERL");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    createHeading();
    createUserSet();
    createAdvanced();
    createResultArea();
    layout->addWidget(PA_MERL);
    layout->addWidget(PA_UserSet);
    layout->addWidget(BOX_Advance);
    layout->addWidget(PA_ResultArea, 1);
    layout->addWidget(GroupBox1);
    // The progress panel takes the message viewer's place while searching; the
    // area is tall enough for it, so starting a search never resizes the window.
    PA_ResultArea->setMinimumHeight(PA_Result->sizeHint().height());
    ApplyMainWindowDefaults(*FileScan1);
    connectScanner();
    FResultFile = ToQString(FSettings.ResultPath());
    CB_SearchType->setCurrentIndex(0);
    CB_Sort->setCurrentIndex(0);
    ApplySearchSettings();
}

TSearchPage::~TSearchPage() = default;

// ---- construction ---------------------------------------------------------

void TSearchPage::createHeading()
{
    PA_MERL = panel<QFrame>("PA_MERL");
    auto* grid = new QGridLayout(PA_MERL);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    LB_SrhHead = new QLabel;
    LB_SrhHead->setObjectName("LB_SrhHead");
    LB_SrhHead->setFont(boldPixelFont(24));
    LB_SrhSubHead = new QLabel;
    LB_SrhSubHead->setObjectName("LB_SrhSubHead");
    LB_SrhSubHead->setWordWrap(true);
    IMG_MERLICON = new QLabel;
    IMG_MERLICON->setObjectName("IMG_MERLICON");
    IMG_MERLICON->setFixedSize(32, 32);
    IMG_MERLICON->hide();

    auto* keywordLabel = new QLabel(QStringLiteral("&Keyword(s)"));
    ED_SearchString = new QLineEdit;
    ED_SearchString->setObjectName("ED_SearchString");
    ED_SearchString->setFont(boldPixelFont(24));
    ED_SearchString->setToolTip(
        QStringLiteral("use + to search for mix of words and phrase, e.g. computer+floppy disk"));
    keywordLabel->setBuddy(ED_SearchString);
    BT_Start = new QPushButton(QStringLiteral("&Start"));
    BT_Start->setObjectName("BT_Start");
    BT_Start->setDefault(true);
    BT_Start->setToolTip(QStringLiteral("Start the Find process"));
    connect(BT_Start, &QPushButton::clicked, this, &TSearchPage::BT_StartClick);
    connect(ED_SearchString, &QLineEdit::returnPressed, this, &TSearchPage::BT_StartClick);

    auto* typeLabel = new QLabel(QStringLiteral("Search Type"));
    CB_SearchType = dropDown("CB_SearchType", {QStringLiteral("any of the words (OR)"),
                                               QStringLiteral("all the words (AND)"), QStringLiteral("the phrase")});
    typeLabel->setBuddy(CB_SearchType);
    CaseSenseCB = NamedCheckBox("CaseSenseCB", "Case Sensitive", "Check for a case sensitive search", false);
    CHK_WholeWord = NamedCheckBox("CHK_WholeWord", "Whole Word Only", "Check if search for whole word only", false);

    auto* options = new QHBoxLayout;
    options->addWidget(typeLabel);
    options->addWidget(CB_SearchType);
    options->addWidget(CaseSenseCB);
    options->addWidget(CHK_WholeWord);
    options->addStretch(1);

    grid->addWidget(IMG_MERLICON, 0, 0, 2, 1);
    grid->addWidget(LB_SrhHead, 0, 1, 1, 3);
    grid->addWidget(LB_SrhSubHead, 1, 1, 1, 3);
    grid->addWidget(keywordLabel, 2, 0);
    grid->addWidget(ED_SearchString, 2, 1, 1, 2);
    grid->addWidget(BT_Start, 2, 3);
    grid->addLayout(options, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
}

void TSearchPage::createUserSet()
{
    PA_UserSet = panel<QFrame>("PA_UserSet");
    auto* grid = new QGridLayout(PA_UserSet);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    LB_TreeLimit = new QLabel(QStringLiteral("Limit to Directory"));
    LB_TreeLimit->setObjectName("LB_TreeLimit");
    DirTreeLimit = new QComboBox;
    DirTreeLimit->setObjectName("DirTreeLimit");
    DirTreeLimit->setEditable(true);
    DirTreeLimit->setInsertPolicy(QComboBox::NoInsert);
    DirTreeLimit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    LB_TreeLimit->setBuddy(DirTreeLimit);
    BT_DirTree = new QToolButton;
    BT_DirTree->setObjectName("BT_DirTree");
    BT_DirTree->setText(QStringLiteral("..."));
    BT_DirTree->setToolTip(QStringLiteral("Click here to select a directory to search"));
    connect(BT_DirTree, &QToolButton::clicked, this, &TSearchPage::BT_DirTreeClick);
    IncSubDirCB = NamedCheckBox("IncSubDirCB", "Include Sub Directories",
                           "Check to have search include all sub-directories", true);
    LB_FFIND = new QLabel(QStringLiteral("File to Find:"));
    LB_FFIND->setObjectName("LB_FFIND");
    FileToFind = new QLineEdit;
    FileToFind->setObjectName("FileToFind");
    FileToFind->setToolTip(QStringLiteral("Enter File Specifications to include in search"));
    LB_FFIND->setBuddy(FileToFind);

    grid->addWidget(LB_TreeLimit, 0, 0);
    grid->addWidget(DirTreeLimit, 0, 1);
    grid->addWidget(BT_DirTree, 0, 2);
    grid->addWidget(IncSubDirCB, 0, 3);
    grid->addWidget(LB_FFIND, 1, 0);
    grid->addWidget(FileToFind, 1, 1);
    grid->setColumnStretch(1, 1);
}

void TSearchPage::createAdvanced()
{
    BOX_Advance = new QGroupBox(QStringLiteral("Advanced Options"));
    BOX_Advance->setObjectName("BOX_Advance");
    auto* grid = new QGridLayout(BOX_Advance);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    cbShowSummary = NamedCheckBox("cbShowSummary", "Generate Summary", "", true);
    CHK_Convert = NamedCheckBox("CHK_Convert", "Convert HTML symbol to code", "", true);
    CHK_METAONLY = NamedCheckBox("CHK_METAONLY", "Meta Search Only", "", false);
    CHK_Passages =
        NamedCheckBox("CHK_Passages", "Show Passages", "Show where the words were found under each hit", true);
    FileSizeComp1 = dropDown("FileSizeComp1", comparisonItems());
    FileSizeComp1->setCurrentIndex(4);
    FileSizeLimit = spinEdit("FileSizeLimit");
    FileSizeLimit->setValue(32000);
    FileAgeComp1 = dropDown("FileAgeComp1", comparisonItems());
    FileAgeLimit = spinEdit("FileAgeLimit");
    LB_SORT = new QLabel(QStringLiteral("Sort By"));
    LB_SORT->setObjectName("LB_SORT");
    CB_Sort = dropDown("CB_Sort", {QStringLiteral("No Sorting"), QStringLiteral("File Date"),
                                   QStringLiteral("File Size"), QStringLiteral("File Title"), QString()});
    LB_SORT->setBuddy(CB_Sort);
    cbSWFileSize = NamedCheckBox("cbSWFileSize", "Show File Size", "", true);
    cbSWFileDate = NamedCheckBox("cbSWFileDate", "Show File Date", "", true);
    CHK_Reverse = NamedCheckBox("CHK_Reverse", "Reverse Order", "", false);
    // These two take effect on the scanner at once.
    connect(CHK_METAONLY, &QCheckBox::toggled, this, [this](bool on) { FileScan1->METASearch = on; });
    connect(CHK_Reverse, &QCheckBox::toggled, this, [this](bool on) { FileScan1->Reverse = on; });

    grid->addWidget(cbShowSummary, 0, 0);
    grid->addWidget(CHK_Convert, 1, 0);
    grid->addWidget(CHK_METAONLY, 2, 0);
    grid->addWidget(CHK_Passages, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("File Size")), 0, 1);
    grid->addWidget(FileSizeComp1, 0, 2);
    grid->addWidget(FileSizeLimit, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Bytes")), 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("File Age")), 1, 1);
    grid->addWidget(FileAgeComp1, 1, 2);
    grid->addWidget(FileAgeLimit, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Days")), 1, 4);
    grid->addWidget(LB_SORT, 2, 1);
    grid->addWidget(CB_Sort, 2, 2, 1, 2);
    grid->addWidget(cbSWFileSize, 0, 5);
    grid->addWidget(cbSWFileDate, 1, 5);
    grid->addWidget(CHK_Reverse, 2, 5);
    grid->setColumnStretch(6, 1);
}

void TSearchPage::createResultArea()
{
    PA_ResultArea = panel<QWidget>("PA_ResultArea");
    auto* layout = new QVBoxLayout(PA_ResultArea);
    layout->setContentsMargins(0, 0, 0, 0);

    PA_Result = panel<QFrame>("PA_Result");
    PA_Result->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(PA_Result);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    LB_Scan = new QLabel(QStringLiteral("Scanning"));
    LB_Scan->setObjectName("LB_Scan");
    LB_Result = new QLabel;
    LB_Result->setObjectName("LB_Result");
    // Long paths must not widen the window: the label is elided to its width.
    LB_Result->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    LB_Counts = new QLabel;
    LB_Counts->setObjectName("LB_Counts");
    PB_Activity = new QProgressBar;
    PB_Activity->setObjectName("PB_Activity");
    PB_Activity->setRange(0, 0); // no end is known in advance: a busy indicator
    PB_Activity->setTextVisible(false);
    BT_STOP = new QPushButton(QStringLiteral("STOP"));
    BT_STOP->setObjectName("BT_STOP");
    connect(BT_STOP, &QPushButton::clicked, this, &TSearchPage::BT_STOPClick);
    // STOP is the cancel button of a running search: Escape presses it.
    FStopShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    FStopShortcut->setEnabled(false);
    connect(FStopShortcut, &QShortcut::activated, this, &TSearchPage::BT_STOPClick);
    grid->addWidget(LB_Scan, 0, 0);
    grid->addWidget(LB_Result, 0, 1);
    grid->addWidget(BT_STOP, 0, 2, 2, 1);
    grid->addWidget(PB_Activity, 1, 0);
    grid->addWidget(LB_Counts, 1, 1);
    grid->setColumnStretch(1, 1);
    PA_Result->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    PA_Result->hide();

    HTML_MSG = new THTMLViewer;
    HTML_MSG->setObjectName("HTML_MSG");
    HTML_MSG->DefFontName = "Times New Roman";
    HTML_MSG->DefFontSize = 10;
    HTML_MSG->DefPreFontName = "Courier New";
    layout->addWidget(PA_Result);
    layout->addWidget(HTML_MSG, 1);
    layout->addStretch(0);

    GroupBox1 = new QGroupBox(QStringLiteral("# Files:"));
    GroupBox1->setObjectName("GroupBox1");
    auto* counters = new QHBoxLayout(GroupBox1);
    FoundFileNo = new QLabel;
    FoundFileNo->setObjectName("FoundFileNo");
    FoundFilesListBox1 = new QListWidget;
    FoundFilesListBox1->setObjectName("FoundFilesListBox1");
    FoundFilesListBox1->setToolTip(QStringLiteral("# of Files Found by Search"));
    counters->addWidget(FoundFileNo);
    counters->addWidget(FoundFilesListBox1);
    GroupBox1->hide();
}

void TSearchPage::connectScanner()
{
    FileScan1->CurrInfoLabel = [this](const std::string& caption) {
        ++FExamined;
        FScanCaption = ToQString(caption).trimmed();
        updateProgress(false);
    };
    FileScan1->OnFoundFile = [this](TFileScan&, const std::string&, const TSearchRec&) { ++FHits; };
    FileScan1->ProcessMessages = [this] { pumpEvents(); };
    // Directories without a matching file pump too, so STOP works in any tree.
    FileScan1->OnFoundDirectory = [this](TFileScan&, const std::string& dirPath, const TSearchRec& dir) {
        FScanCaption = ToQString(dirPath) + QString::fromUtf8(dir.Name.data(), qsizetype(dir.Name.size())) + '/';
        updateProgress(false);
        pumpEvents();
    };
}

// ---- settings ---------------------------------------------------------------

void TSearchPage::ReadSearchSettings(const TIniFile& ini)
{
    FSettings = TSearchSettings::Read(ini);
    FResultFile = ToQString(FSettings.ResultPath());
    CHK_Convert->setChecked(ini.ReadBool("KOVRA", "ConvertSymbol", true));
    cbShowSummary->setChecked(ini.ReadBool("KOVRA", "GetSummary", true));
    CHK_Passages->setChecked(ini.ReadBool("KOVRA", "ShowPassages", true));
    auto comparisonIndex = [](int index) { return index >= 0 && index < 5 ? index : 0; };
    FileSizeComp1->setCurrentIndex(comparisonIndex(ini.ReadInteger("KOVRA", "FSComp", 4)));
    FileSizeLimit->setValue(std::max(0, ini.ReadInteger("KOVRA", "FSize", 32000)));
    FileAgeComp1->setCurrentIndex(comparisonIndex(ini.ReadInteger("KOVRA", "FGComp", 0)));
    FileAgeLimit->setValue(std::max(0, ini.ReadInteger("KOVRA", "FGDays", 0)));
    LoadPathList();
    CB_SearchType->setCurrentIndex(0);
    CB_Sort->setCurrentIndex(0);
    ApplySearchSettings();
}

void TSearchPage::SaveSearchOptions(TIniFile& ini) const
{
    ini.WriteBool("KOVRA", "ConvertSymbol", CHK_Convert->isChecked());
    ini.WriteBool("KOVRA", "GetSummary", cbShowSummary->isChecked());
    ini.WriteBool("KOVRA", "ShowPassages", CHK_Passages->isChecked());
    ini.WriteInteger("KOVRA", "FSComp", FileSizeComp1->currentIndex());
    ini.WriteInteger("KOVRA", "FSize", FileSizeLimit->value());
    ini.WriteInteger("KOVRA", "FGComp", FileAgeComp1->currentIndex());
    ini.WriteInteger("KOVRA", "FGDays", FileAgeLimit->value());
}

void TSearchPage::ApplySearchSettings()
{
    PA_MERL->hide();
    CHK_WholeWord->show();
    LB_SrhHead->setText(ToQString(FSettings.Heading));
    LB_SrhSubHead->setText(ToQString(FSettings.SubHeading));
    const QString caption = ToQString(FSettings.StartCpt);
    BT_Start->setText(caption);
    BT_Start->setFixedWidth(10 * int(caption.size()));
    FileToFind->setText(ToQString(FSettings.FileType));
    IncSubDirCB->setChecked(FSettings.IncludeSub);
    BOX_Advance->setVisible(!FSettings.HideAdv);
    PA_UserSet->setVisible(!(FSettings.HideFT && FSettings.HideDir));
    LB_FFIND->setVisible(!FSettings.HideFT);
    FileToFind->setVisible(!FSettings.HideFT);
    for (QWidget* w : std::initializer_list<QWidget*>{LB_TreeLimit, DirTreeLimit, IncSubDirCB})
        w->setVisible(!FSettings.HideDir);
    if (FSettings.DirRO) {
        DirTreeLimit->setEditable(false);
        DirTreeLimit->setCurrentIndex(DirTreeLimit->count() > 0 ? 0 : -1);
        BT_DirTree->hide();
    } else {
        DirTreeLimit->setEditable(true);
        DirTreeLimit->setEditText(ToQString(FSettings.Directory));
        // A hidden directory row keeps its button hidden too.
        BT_DirTree->setVisible(!FSettings.HideDir);
    }
    PA_MERL->show();
}

void TSearchPage::LoadPathList()
{
    const QString typed = DirTreeLimit->currentText();
    DirTreeLimit->clear();
    int count = 0;
    for (const std::string& key : TIniFile(ToUtf8(FSettingsFile)).ReadSection("SrhPath")) {
        if (count++ == MaxPathListEntries)
            break;
        DirTreeLimit->addItem(QStringLiteral("- ") + ToQString(key));
    }
    if (DirTreeLimit->isEditable())
        DirTreeLimit->setEditText(typed);
    else
        DirTreeLimit->setCurrentIndex(DirTreeLimit->count() > 0 ? 0 : -1);
}

void TSearchPage::ApplySearchColors(TColor background, const QString& fontName, TColor fontColor)
{
    const QColor back = QtColorOf(background);
    const QColor text = QtColorOf(fontColor);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, back);
    colours.setColor(QPalette::WindowText, text);
    setPalette(colours);
    setAutoFillBackground(true);
    for (QWidget* area : std::initializer_list<QWidget*>{PA_MERL, PA_UserSet, BOX_Advance, PA_Result, PA_ResultArea}) {
        QFont font = area->font();
        font.setFamily(fontName);
        area->setFont(font);
    }
    // The headings keep their own size and weight, only the face follows.
    for (QWidget* w : std::initializer_list<QWidget*>{LB_SrhHead, ED_SearchString}) {
        QFont font = boldPixelFont(24);
        font.setFamily(fontName);
        w->setFont(font);
    }
    HTML_MSG->DefBackground = background;
    HTML_MSG->DefFontColor = fontColor;
    HTML_MSG->DefFontName = fontName.toStdString();
}

void TSearchPage::LoadMessagePage()
{
    const std::string file = ProgramDir() + "KOVRAMSG.HTM";
    FMessagePage = LocalFileExists(file) ? ToQString(ResolveFileName(file)) : QString();
    if (FMessagePage.isEmpty())
        return;
    try {
        HTML_MSG->ShowFile(ToUtf8(FMessagePage));
    } catch (const std::exception&) {
        // The message page is a courtesy: without it the page just stays empty.
        FMessagePage.clear();
    }
}

std::string TSearchPage::GetSearchDirectory() const
{
    return ::GetSearchDirectory(ToUtf8(DirTreeLimit->currentText()), TIniFile(ToUtf8(FSettingsFile)));
}

TSearchChoices TSearchPage::Choices(const std::string& directory) const
{
    TSearchChoices c;
    c.SearchText = ToUtf8(ED_SearchString->text());
    c.SearchType = TPageSearchType(std::clamp(CB_SearchType->currentIndex(), 0, 2));
    c.CaseSensitive = CaseSenseCB->isChecked();
    c.WholeWord = CHK_WholeWord->isChecked();
    c.MetaOnly = CHK_METAONLY->isChecked();
    c.ConvertSymbols = CHK_Convert->isChecked();
    c.FileMasks = ToUtf8(FileToFind->text());
    c.Directory = directory;
    c.IncludeSubDirs = IncSubDirCB->isChecked();
    c.SizeComparison = ToUtf8(FileSizeComp1->currentText());
    c.SizeLimit = FileSizeLimit->value();
    c.AgeComparison = ToUtf8(FileAgeComp1->currentText());
    c.AgeLimit = FileAgeLimit->value();
    c.Sort = TPageSort(std::clamp(CB_Sort->currentIndex(), 0, 4));
    c.Reverse = CHK_Reverse->isChecked();
    c.GenerateSummary = cbShowSummary->isChecked();
    c.ContextPassages = CHK_Passages->isChecked() ? DefaultContextPassages : 0;
    c.ShowFileSize = cbSWFileSize->isChecked();
    c.ShowFileDate = cbSWFileDate->isChecked();
    c.ResultFile = ToUtf8(FResultFile);
    c.Banner = FSettings.Banner;
    return c;
}

void TSearchPage::FocusKeywords()
{
    ED_SearchString->setFocus();
}

// ---- the search ---------------------------------------------------------------

void TSearchPage::BT_StartClick()
{
    // A second Start while a search runs (a double click, Enter again) is ignored.
    if (FSearching)
        return;
    FStopped = false;
    FoundFileNo->clear();
    FoundFilesListBox1->clear();
    setSearching(true);
    FFindText = ED_SearchString->text();
    emit FindTextChanged(FFindText);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    try {
        runSearchFromBox();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    finishCounters();
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty()) {
        setSearching(false);
        showError(error);
        return;
    }
    try {
        ChangeDir(ProgramDir());
    } catch (const std::exception&) {
        // The program folder is only where relative paths start; not being able
        // to enter it changes nothing about the results.
    }
    emit ShowDocumentRequested(FResultFile);
    FStopped = false;
    setSearching(false);
    reportUnsearchedFolders();
}

QString UnsearchedFoldersText(const std::vector<TUnsearchedDirectory>& unsearched)
{
    constexpr size_t Listed = 10;
    QString text = QStringLiteral("These folders could not be searched:\n");
    for (size_t i = 0; i < unsearched.size() && i < Listed; ++i)
        text += QStringLiteral("\n") + QString::fromStdString(DescribeUnsearched(unsearched[i]));
    if (unsearched.size() > Listed)
        text += QStringLiteral("\n\nand %1 more").arg(QLocale().toString(qulonglong(unsearched.size() - Listed)));
    return text;
}

// A folder the walk could not enter leaves the results incomplete: the page
// shows what was found, and this says what was left out and why.
void TSearchPage::reportUnsearchedFolders()
{
    const auto& unsearched = FileScan1->UnsearchedDirectories();
    if (!unsearched.empty())
        QMessageBox::warning(this, QApplication::applicationName(), UnsearchedFoldersText(unsearched), QMessageBox::Ok);
}

void TSearchPage::runSearchFromBox()
{
    if (DirTreeLimit->currentText().isEmpty()) {
        IncSubDirCB->setChecked(true);
        FileScan1->ClearFoundList();
        return;
    }
    FileScan1->AppendItems = false;
    std::string directory = GetSearchDirectory();
    // An empty directory (a path-list key that is missing) searches the current
    // directory; adding a "/" to it would search the whole file system.
    if (!directory.empty())
        directory = AddBackslash(directory);
    RunSearch(*FileScan1, Choices(directory));
    for (const auto& line : FileScan1->FoundList())
        FoundFilesListBox1->addItem(ToQString(line.Text));
}

void TSearchPage::finishCounters()
{
    updateProgress(true);
    FoundFileNo->setText(FStopped ? QStringLiteral("0") : QLocale().toString(FoundFilesListBox1->count()).trimmed());
}

void TSearchPage::setSearching(bool searching)
{
    FSearching = searching;
    if (searching) {
        FExamined = 0;
        FHits = 0;
        FScanCaption.clear();
        LB_Result->clear();
        LB_Counts->clear();
        FProgressClock.start();
    }
    BT_Start->setEnabled(!searching);
    FStopShortcut->setEnabled(searching);
    PA_Result->setVisible(searching);
    LB_Scan->setVisible(searching);
    HTML_MSG->setVisible(!searching);
    if (searching)
        BT_STOP->setFocus();
}

void TSearchPage::BT_STOPClick()
{
    FileScan1->Aborted = true;
    FStopped = true;
}

void TSearchPage::updateProgress(bool force)
{
    if (!force && FProgressClock.isValid() && FProgressClock.elapsed() < ProgressIntervalMs)
        return;
    FProgressClock.restart();
    LB_Result->setText(LB_Result->fontMetrics().elidedText(FScanCaption, Qt::ElideMiddle, LB_Result->width()));
    LB_Result->setToolTip(FScanCaption);
    const QLocale locale;
    LB_Counts->setText(QStringLiteral("%1 files examined, %2 found")
                           .arg(locale.toString(FExamined), locale.toString(FHits)));
}

void TSearchPage::pumpEvents()
{
    QCoreApplication::processEvents();
}

void TSearchPage::BT_IndexClick()
{
    if (LocalFileExists(ToUtf8(FResultFile))) {
        emit ShowDocumentRequested(FResultFile);
        return;
    }
    QMessageBox::information(this, QApplication::applicationName(),
                             QStringLiteral("No search result has been saved yet"), QMessageBox::Ok);
}

void TSearchPage::showError(const QString& text)
{
    QMessageBox::critical(this, QApplication::applicationName(), text, QMessageBox::Ok);
}

// ---- directory chooser and dialogs ---------------------------------------------

void TSearchPage::BT_DirTreeClick()
{
    const QString start = ChooserStartDirectory(DirTreeLimit->currentText());
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("Limit to Directory"), start);
    if (!chosen.isEmpty())
        DirTreeLimit->setEditText(chosen);
}

void TSearchPage::MNU_SrhDefClick()
{
    // The running search already has its settings; changing them under it would
    // show a results file it never wrote.
    if (FSearching)
        return;
    TFM_SrhDefault dialog(this);
    dialog.LoadFrom(FSettings);
    if (dialog.exec() == QDialog::Accepted)
        ApplySrhDefault(dialog.Settings());
}

void TSearchPage::ApplySrhDefault(const TSearchSettings& settings)
{
    FSettings = settings;
    try {
        TIniFile ini(ToUtf8(FSettingsFile));
        FSettings.Write(ini);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
    ApplySearchSettings();
    FResultFile = ToQString(FSettings.ResultPath());
}

void TSearchPage::MNU_PATHLISTClick()
{
    if (FSearching)
        return;
    TFM_Helpers dialog(THelpersMode::PathList, FSettingsFile, this);
    dialog.exec();
    LoadPathList();
}
