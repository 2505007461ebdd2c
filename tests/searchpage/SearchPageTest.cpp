// The search page driven as a user would: fill the controls, press Start, read
// the results page it wrote and the document it asked the browser to show.
#include "SearchPageSupport.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <sys/stat.h>
#include <unistd.h>

#include "app/TSearchPage.h"
#include "search/TFileScan.h"
#include "util/TIniFile.h"
#include "tests/support/PermissionsBind.h"

namespace {

class Page : public SearchPageTest {
protected:
    void SetUp() override
    {
        SearchPageTest::SetUp();
        page = std::make_unique<TSearchPage>(QString::fromStdString(file("KOVRA32.INI")));
        QObject::connect(page.get(), &TSearchPage::ShowDocumentRequested,
                         [this](const QString& location) { shown << location; });
    }
    void TearDown() override
    {
        page.reset();
        SearchPageTest::TearDown();
    }

    // Types the keywords, picks the search type and searches the documents folder.
    void search(const char* keywords, int searchType = 0, const std::string& directory = {})
    {
        child<QLineEdit>(*page, "ED_SearchString")->setText(QString::fromUtf8(keywords));
        child<QComboBox>(*page, "CB_SearchType")->setCurrentIndex(searchType);
        child<QComboBox>(*page, "DirTreeLimit")->setEditText(QString::fromStdString(directory.empty() ? docs : directory));
        page->BT_StartClick();
    }
    std::string results() const { return slurp(page->ResultFile().toStdString()); }
    bool found(const char* name) const { return results().find(name) != std::string::npos; }
    QString foundFileNo() const { return child<QLabel>(*page, "FoundFileNo")->text(); }

    std::unique_ptr<TSearchPage> page;
    QStringList shown;
};

} // namespace

TEST_F(Page, PlusSeparatesPhrasesWithAnyWordAndIsLiteralInAPhrase)
{
    document("floppy.htm", "<title>Floppy</title>an old floppy disk drive");
    document("computer.htm", "<title>Computer</title>a computer room");
    document("floppyonly.htm", "<title>Alone</title>floppy ears, no disk here");
    document("literal.htm", "<title>Literal</title>search for computer+floppy disk");
    search("computer+floppy disk");
    EXPECT_TRUE(found("floppy.htm"));
    EXPECT_TRUE(found("computer.htm"));
    EXPECT_TRUE(found("literal.htm"));
    EXPECT_FALSE(found("floppyonly.htm"));
    ASSERT_EQ(shown, QStringList{page->ResultFile()}) << "the results page is shown afterwards";
    EXPECT_EQ(foundFileNo(), "3");
    EXPECT_EQ(page->FindText(), "computer+floppy disk");

    search("computer+floppy disk", 2);
    EXPECT_TRUE(found("literal.htm"));
    EXPECT_FALSE(found("floppy.htm"));
    EXPECT_FALSE(found("computer.htm"));
}

TEST_F(Page, AccentedKeywordsWithAndWithoutSymbolConversion)
{
    document("entity.htm", "<title>E</title>Jean M&eacute;nard kept the light");
    document("letter.htm", "<title>L</title>Jean M\xC3\xA9nard kept the light");
    document("numeric.htm", "<title>N</title>JEAN M&#xC9;NARD KEPT THE LIGHT");
    document("cp1252.htm", "<title>W</title>Jean M\xE9nard kept the light");
    auto* convert = child<QCheckBox>(*page, "CHK_Convert");
    ASSERT_TRUE(convert->isChecked()) << "converting is the default";
    search("M\xC3\x89NARD");
    for (const char* name : {"entity.htm", "letter.htm", "numeric.htm", "cp1252.htm"})
        EXPECT_TRUE(found(name)) << name;
    convert->setChecked(false);
    search("M\xC3\xA9nard");
    EXPECT_FALSE(found("entity.htm"));
    EXPECT_TRUE(found("letter.htm"));
    EXPECT_FALSE(found("numeric.htm"));
    EXPECT_FALSE(found("cp1252.htm"));
}

TEST_F(Page, NoSortingOrdersByDate)
{
    document("a.htm", "<title>A</title>lantern");
    auto* sort = child<QComboBox>(*page, "CB_Sort");
    EXPECT_EQ(sort->currentText(), "No Sorting");
    search("lantern");
    EXPECT_NE(results().find("[sort by date]"), std::string::npos);
    sort->setCurrentIndex(3);
    search("lantern");
    EXPECT_NE(results().find("[sort by title]"), std::string::npos);
}

TEST_F(Page, SizeLimitZeroSwitchesTheSizeTestOff)
{
    document("big.htm", "<title>Big</title>lantern " + std::string(40000, 'x'));
    document("small.htm", "<title>Small</title>lantern");
    EXPECT_EQ(child<QComboBox>(*page, "FileSizeComp1")->currentText(), "<=");
    EXPECT_EQ(child<QSpinBox>(*page, "FileSizeLimit")->value(), 32000);
    search("lantern");
    EXPECT_FALSE(found("big.htm"));
    EXPECT_TRUE(found("small.htm"));
    child<QComboBox>(*page, "FileSizeComp1")->setCurrentIndex(0); // "=" would match neither
    child<QSpinBox>(*page, "FileSizeLimit")->setValue(0);
    search("lantern");
    EXPECT_TRUE(found("big.htm"));
    EXPECT_TRUE(found("small.htm"));
}

TEST_F(Page, PathListEntriesAndMissingKeys)
{
    document("keep.htm", "<title>Keep</title>lighthouse");
    write("KOVRA32.INI", "[SrhPath]\nHandbook=" + docs + "\nOther=/nowhere\n");
    page->LoadPathList();
    auto* box = child<QComboBox>(*page, "DirTreeLimit");
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(0), "- Handbook");
    EXPECT_EQ(box->itemText(1), "- Other");
    box->setEditText("- Handbook");
    EXPECT_EQ(page->GetSearchDirectory(), docs);
    search("lighthouse", 0, "- Handbook");
    EXPECT_TRUE(found("keep.htm"));

    // A missing key gives an empty directory: the walk starts in the current directory.
    box->setEditText("- Missing");
    EXPECT_EQ(page->GetSearchDirectory(), "");
    const std::string current = (dir.path() + "/current/").toStdString();
    std::filesystem::create_directories(current);
    std::ofstream(current + "here.htm") << "<title>Here</title>lighthouse";
    char saved[4096];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir(current.c_str()), 0);
    child<QCheckBox>(*page, "IncSubDirCB")->setChecked(false);
    search("lighthouse", 0, "- Missing");
    EXPECT_TRUE(found("here.htm"));
    EXPECT_FALSE(found("keep.htm"));
    ASSERT_EQ(::chdir(saved), 0);
}

TEST_F(Page, BadDirectoriesStillGiveAResultsPageAndSaySoWhatWasNotSearched)
{
    TBoxCatcher boxes;
    document("a.htm", "<title>A</title>lantern");
    search("lantern", 0, docs + "does-not-exist/");
    EXPECT_NE(results().find("The search found 0"), std::string::npos);
    EXPECT_EQ(foundFileNo(), "0");
    ASSERT_EQ(boxes.Texts.size(), 1);
    EXPECT_TRUE(boxes.Texts[0].contains(QString::fromStdString(docs + "does-not-exist/: No such file or directory")))
        << boxes.Texts[0].toStdString();

    // A folder inside the tree that cannot be read: what the rest holds is
    // found, and the locked one is named (unless this user reads everything).
    const std::string locked = docs + "locked/";
    std::filesystem::create_directories(locked);
    std::ofstream(locked + "b.htm") << "lantern";
    const bool locks = PermissionsBind();
    ::chmod(locked.c_str(), 0);
    search("lantern");
    ::chmod(locked.c_str(), 0700);
    if (locks) {
        EXPECT_EQ(foundFileNo(), "1");
        ASSERT_EQ(boxes.Texts.size(), 2);
        EXPECT_TRUE(boxes.Texts[1].contains("locked/: Permission denied")) << boxes.Texts[1].toStdString();
    } else {
        EXPECT_EQ(foundFileNo(), "2");
        EXPECT_EQ(boxes.Texts.size(), 1);
    }
    boxes.Texts.clear();
    search("lantern", 0, "/proc/self/fd/");

    // Ten thousand characters are cut to 255: the search runs, no error.
    search(std::string(10000, 'a').c_str());
    EXPECT_TRUE(boxes.Texts.isEmpty()) << boxes.Texts.join('\n').toStdString();
    EXPECT_EQ(shown.size(), 4);
}

TEST(UnsearchedFolders, TheFirstTenAreNamedAndTheRestCounted)
{
    std::vector<TUnsearchedDirectory> unsearched;
    for (int i = 0; i < 12; ++i)
        unsearched.push_back({"/media/cd/part" + std::to_string(i) + "/", i % 2 ? EACCES : ELOOP});
    const QString text = UnsearchedFoldersText(unsearched);
    EXPECT_TRUE(text.contains("/media/cd/part0/: Too many levels of symbolic links")) << text.toStdString();
    EXPECT_TRUE(text.contains("/media/cd/part9/: Permission denied")) << text.toStdString();
    EXPECT_FALSE(text.contains("part10/")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("and 2 more")) << text.toStdString();
    EXPECT_FALSE(UnsearchedFoldersText({unsearched[0]}).contains("more"));
}

TEST_F(Page, UnwritableResultsFileReportsAndReturnsToIdle)
{
    TBoxCatcher boxes;
    document("a.htm", "<title>A</title>lantern");
    // /proc takes no new files, whoever asks.
    TSearchSettings settings = page->Settings();
    settings.ResultFile = "/proc/KVRESULT.HTM";
    page->ApplySrhDefault(settings);
    search("lantern");
    ASSERT_EQ(boxes.Texts.size(), 1);
    EXPECT_TRUE(boxes.Texts[0].contains("KVRESULT.HTM")) << boxes.Texts[0].toStdString();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(page->IsSearching());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(child<QWidget>(*page, "PA_Result")->isVisibleTo(page.get()));
    EXPECT_TRUE(child<QWidget>(*page, "HTML_MSG")->isVisibleTo(page.get()));
    EXPECT_TRUE(child<QPushButton>(*page, "BT_Start")->isEnabled());
}

TEST_F(Page, StopEndsTheSearchAndSecondStartIsIgnored)
{
    for (int i = 0; i < 300; ++i)
        document("d" + std::to_string(i / 10) + "/f" + std::to_string(i) + ".htm", "<title>T</title>lantern");
    int examined = 0;
    bool secondStartIgnored = false;
    page->FileScan().OnFoundFile = [&](TFileScan&, const std::string&, const TSearchRec&) {
        ++examined;
        if (examined == 5) {
            // What a quick second click on Start does while the first search runs.
            page->BT_StartClick();
            secondStartIgnored = page->IsSearching();
            QTest::mouseClick(child<QPushButton>(*page, "BT_STOP"), Qt::LeftButton);
        }
    };
    page->show();
    search("lantern");
    EXPECT_TRUE(secondStartIgnored);
    EXPECT_LT(examined, 300);
    EXPECT_EQ(foundFileNo(), "0") << "a stopped search reads 0";
    EXPECT_EQ(shown.size(), 1) << "the results found so far are shown once";
    EXPECT_NE(results().find("The search found"), std::string::npos);
    EXPECT_FALSE(page->IsSearching());
}

TEST_F(Page, ProgressIsShownWhileSearching)
{
    for (int i = 0; i < 20; ++i)
        document("f" + std::to_string(i) + ".htm", i % 2 ? "<title>T</title>lantern" : "<title>T</title>bell");
    page->show();
    bool panelShown = false;
    bool messageHidden = false;
    bool waitCursor = false;
    page->FileScan().OnEndSearch = [&](TFileScan&) {
        panelShown = child<QWidget>(*page, "PA_Result")->isVisible();
        messageHidden = !child<QWidget>(*page, "HTML_MSG")->isVisible();
        waitCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    search("lantern");
    EXPECT_TRUE(panelShown);
    EXPECT_TRUE(messageHidden);
    EXPECT_TRUE(waitCursor);
    EXPECT_EQ(child<QLabel>(*page, "LB_Counts")->text(), "20 files examined, 10 found");
    EXPECT_FALSE(child<QWidget>(*page, "PA_Result")->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Page, EmptyDirectoryBoxRunsNoSearch)
{
    child<QCheckBox>(*page, "IncSubDirCB")->setChecked(false);
    child<QComboBox>(*page, "DirTreeLimit")->setEditText("");
    child<QLineEdit>(*page, "ED_SearchString")->setText("x");
    page->BT_StartClick();
    EXPECT_TRUE(child<QCheckBox>(*page, "IncSubDirCB")->isChecked());
    EXPECT_FALSE(std::filesystem::exists(page->ResultFile().toStdString()));
    EXPECT_EQ(shown, QStringList{page->ResultFile()}) << "the previous results are shown";
}

TEST_F(Page, SettingsDriveTheControls)
{
    write("KOVRA32.INI", "[KOVRA]\nHeading=Harbour Archive\nStartCpt=Look up\nFileType=*.txt\nHideAdv=1\n"
                         "HideFT=1\nDIR_RO=1\nFSComp=1\nFSize=77\nFGComp=3\nFGDays=9\nConvertSymbol=0\n"
                         "[SrhPath]\nFirst=/a\nSecond=/b\n");
    page->ReadSearchSettings(TIniFile(file("KOVRA32.INI")));
    EXPECT_EQ(child<QLabel>(*page, "LB_SrhHead")->text(), "Harbour Archive");
    EXPECT_EQ(child<QLabel>(*page, "LB_SrhSubHead")->text(),
              "You may change the default headings by goto OPTIONS | Search Engine Preferences.");
    auto* start = child<QPushButton>(*page, "BT_Start");
    EXPECT_EQ(start->text(), "Look up");
    EXPECT_EQ(start->width(), 70);
    EXPECT_FALSE(child<QWidget>(*page, "BOX_Advance")->isVisibleTo(page.get()));
    EXPECT_FALSE(child<QWidget>(*page, "FileToFind")->isVisibleTo(page.get()));
    EXPECT_TRUE(child<QWidget>(*page, "PA_UserSet")->isVisibleTo(page.get()));
    auto* box = child<QComboBox>(*page, "DirTreeLimit");
    EXPECT_FALSE(box->isEditable());
    EXPECT_EQ(box->currentText(), "- First");
    EXPECT_FALSE(child<QWidget>(*page, "BT_DirTree")->isVisibleTo(page.get()));
    EXPECT_EQ(child<QComboBox>(*page, "FileSizeComp1")->currentText(), ">");
    EXPECT_EQ(child<QSpinBox>(*page, "FileAgeLimit")->value(), 9);

    std::filesystem::remove(file("KOVRA32.INI"));
    TIniFile out(file("KOVRA32.INI"));
    page->SaveSearchOptions(out);
    EXPECT_EQ(out.ReadInteger("KOVRA", "FSComp", -1), 1);
    EXPECT_EQ(out.ReadInteger("KOVRA", "FSize", -1), 77);
    EXPECT_EQ(out.ReadInteger("KOVRA", "FGComp", -1), 3);
    EXPECT_EQ(out.ReadInteger("KOVRA", "FGDays", -1), 9);
    EXPECT_FALSE(out.ReadBool("KOVRA", "ConvertSymbol", true));
    EXPECT_TRUE(out.ReadBool("KOVRA", "GetSummary", false));
}

TEST_F(Page, ControlsCarryTheirCaptionsAndHints)
{
    EXPECT_EQ(child<QLineEdit>(*page, "ED_SearchString")->toolTip(),
              "use + to search for mix of words and phrase, e.g. computer+floppy disk");
    QFont keywordFont = child<QLineEdit>(*page, "ED_SearchString")->font();
    EXPECT_TRUE(keywordFont.bold());
    EXPECT_EQ(keywordFont.pixelSize(), 24);
    EXPECT_EQ(child<QPushButton>(*page, "BT_Start")->toolTip(), "Start the Find process");
    auto* type = child<QComboBox>(*page, "CB_SearchType");
    ASSERT_EQ(type->count(), 3);
    EXPECT_EQ(type->itemText(2), "the phrase");
    auto* sort = child<QComboBox>(*page, "CB_Sort");
    ASSERT_EQ(sort->count(), 5);
    EXPECT_EQ(sort->itemText(4), "");
    EXPECT_EQ(child<QComboBox>(*page, "FileAgeComp1")->currentText(), "=");
    EXPECT_TRUE(child<QCheckBox>(*page, "cbSWFileSize")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*page, "CHK_Reverse")->isChecked());
    EXPECT_EQ(child<QGroupBox>(*page, "BOX_Advance")->title(), "Advanced Options");
}

TEST_F(Page, MetaAndReverseReachTheScannerAtOnce)
{
    child<QCheckBox>(*page, "CHK_METAONLY")->click();
    child<QCheckBox>(*page, "CHK_Reverse")->click();
    EXPECT_TRUE(page->FileScan().METASearch);
    EXPECT_TRUE(page->FileScan().Reverse);
}

TEST_F(Page, CtrlCCopiesTheKeywordSelection)
{
    page->show();
    auto* edit = child<QLineEdit>(*page, "ED_SearchString");
    edit->setText("floppy disk");
    edit->setSelection(0, 6);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "floppy");
}

TEST_F(Page, MessagePageFromTheProgramFolder)
{
    page->LoadMessagePage();
    EXPECT_TRUE(page->MessagePageLocation().isEmpty());
    write("KOVRAMSG.HTM", "<p>Welcome</p>");
    page->LoadMessagePage();
    EXPECT_EQ(page->MessagePageLocation().toStdString(), file("KOVRAMSG.HTM"));
}
