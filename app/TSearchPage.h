#pragma once
// The search page ("MERL"): the keywords, how they combine, which files to look
// at, Start and STOP, and the message page below. It turns its controls into the
// scanner's settings, runs the search on the GUI thread (the scanner pumps the
// event queue after every file so STOP and repainting work), and then hands the
// results page to the browser view.
#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/TSearchSettings.h"
#include "search/SearchRequest.h"
#include "util/Colors.h"

class QCheckBox;
class QComboBox;
class QFrame;
class THTMLViewer;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QShortcut;
class QSpinBox;
class QToolButton;
class TFileScan;
class TIniFile;
struct TUnsearchedDirectory;

// The warning that names the folders a search could not look into (the first
// ten, then how many more).
QString UnsearchedFoldersText(const std::vector<TUnsearchedDirectory>& unsearched);

class TSearchPage : public QWidget {
    Q_OBJECT
public:
    explicit TSearchPage(QString settingsFile, QWidget* parent = nullptr);
    ~TSearchPage() override;

    // Settings: section "KOVRA" and the path list (reading the settings file),
    // and the option keys Save Options writes.
    void ReadSearchSettings(const TIniFile& ini);
    void SaveSearchOptions(TIniFile& ini) const;
    void ApplySearchSettings();
    void LoadPathList();
    // The browser view's default background, font name and font colour.
    void ApplySearchColors(TColor background, const QString& fontName, TColor fontColor);
    // The message page "KOVRAMSG.HTM" of the program folder, when it is there.
    void LoadMessagePage();

    // The directory the directory box names (path-list entries looked up,
    // program-folder macros expanded).
    std::string GetSearchDirectory() const;
    // The page's choices as the search would use them, for the given directory.
    TSearchChoices Choices(const std::string& directory) const;
    const TSearchSettings& Settings() const { return FSettings; }
    QString ResultFile() const { return FResultFile; }
    // The search text handed to the find command for the results page.
    QString FindText() const { return FFindText; }
    bool IsSearching() const { return FSearching; }
    TFileScan& FileScan() { return *FileScan1; }
    QString MessagePageLocation() const { return FMessagePage; }
    void FocusKeywords();

    // Commands of the page and the main window.
    void BT_StartClick();
    void BT_STOPClick();
    void BT_IndexClick();
    void BT_DirTreeClick();
    void MNU_SrhDefClick();
    void MNU_PATHLISTClick();
    // Takes over what the preferences dialog produced: writes it to section
    // "KOVRA", applies it to the page and re-derives the results path.
    void ApplySrhDefault(const TSearchSettings& settings);

signals:
    // The results page (or another document) to show in the browser view.
    void ShowDocumentRequested(const QString& location);
    // The search text, for "find" on the results page.
    void FindTextChanged(const QString& text);

private:
    void createHeading();
    void createUserSet();
    void createAdvanced();
    void createResultArea();
    void connectScanner();
    void setSearching(bool searching);
    void runSearchFromBox();
    void finishCounters();
    void updateProgress(bool force);
    void pumpEvents();
    void showError(const QString& text);
    void reportUnsearchedFolders();

    QString FSettingsFile;
    TSearchSettings FSettings;
    QString FResultFile;
    QString FFindText;
    QString FMessagePage;
    std::unique_ptr<TFileScan> FileScan1;
    bool FSearching = false;
    bool FStopped = false;
    long long FExamined = 0;
    long long FHits = 0;
    QString FScanCaption;
    QElapsedTimer FProgressClock;

    QFrame* PA_MERL = nullptr;
    QLabel* LB_SrhHead = nullptr;
    QLabel* LB_SrhSubHead = nullptr;
    QLabel* IMG_MERLICON = nullptr;
    QLineEdit* ED_SearchString = nullptr;
    QPushButton* BT_Start = nullptr;
    QComboBox* CB_SearchType = nullptr;
    QCheckBox* CaseSenseCB = nullptr;
    QCheckBox* CHK_WholeWord = nullptr;
    QFrame* PA_UserSet = nullptr;
    QLabel* LB_TreeLimit = nullptr;
    QComboBox* DirTreeLimit = nullptr;
    QToolButton* BT_DirTree = nullptr;
    QCheckBox* IncSubDirCB = nullptr;
    QLabel* LB_FFIND = nullptr;
    QLineEdit* FileToFind = nullptr;
    QGroupBox* BOX_Advance = nullptr;
    QCheckBox* cbShowSummary = nullptr;
    QCheckBox* CHK_Convert = nullptr;
    QCheckBox* CHK_METAONLY = nullptr;
    QCheckBox* CHK_Passages = nullptr;
    QComboBox* FileSizeComp1 = nullptr;
    QSpinBox* FileSizeLimit = nullptr;
    QComboBox* FileAgeComp1 = nullptr;
    QSpinBox* FileAgeLimit = nullptr;
    QLabel* LB_SORT = nullptr;
    QComboBox* CB_Sort = nullptr;
    QCheckBox* cbSWFileSize = nullptr;
    QCheckBox* cbSWFileDate = nullptr;
    QCheckBox* CHK_Reverse = nullptr;
    QWidget* PA_ResultArea = nullptr;
    QFrame* PA_Result = nullptr;
    QLabel* LB_Scan = nullptr;
    QLabel* LB_Result = nullptr;
    QLabel* LB_Counts = nullptr;
    QProgressBar* PB_Activity = nullptr;
    QPushButton* BT_STOP = nullptr;
    QShortcut* FStopShortcut = nullptr;
    // Placeholder for the message viewer until the HTML viewer widget is available.
    THTMLViewer* HTML_MSG = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* FoundFileNo = nullptr;
    QListWidget* FoundFilesListBox1 = nullptr;
};
