// The helper applications dialog (both modes), the lookups that read what it
// wrote, and the search engine preferences dialog with the results-path rule.
#include "SearchPageSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <cstdlib>

#include "app/HelperLookup.h"
#include "app/TFM_Helpers.h"
#include "app/TFM_SrhDefault.h"
#include "app/TSearchPage.h"
#include "util/ProgramFolder.h"
#include "util/TIniFile.h"

namespace {

class Helpers : public AppTest {
protected:
    std::string settings() const { return file("KOVRA32.INI"); }
    std::unique_ptr<TFM_Helpers> open(THelpersMode mode = THelpersMode::HelperApplications)
    {
        return std::make_unique<TFM_Helpers>(mode, QString::fromStdString(settings()));
    }
    static void type(TFM_Helpers& d, const char* name, const char* value)
    {
        child<QLineEdit>(d, "ED_Name")->setText(QString::fromUtf8(name));
        child<QLineEdit>(d, "ED_Value")->setText(QString::fromUtf8(value));
    }
};

} // namespace

TEST_F(Helpers, ExtensionInCapitalsWithDotIsFoundInLowerCase)
{
    auto d = open();
    type(*d, ".HTM", "/usr/bin/viewer");
    ASSERT_TRUE(d->Apply());
    EXPECT_EQ(d->Names(), QStringList{"HTM"});
    d->accept();
    EXPECT_EQ(TIniFile(settings()).ReadSectionValues("Helpers"), std::vector<std::string>{"HTM=/usr/bin/viewer"});
    EXPECT_EQ(HelperForExtension(settings(), ".htm"), "/usr/bin/viewer");
    EXPECT_EQ(HelperForExtension(settings(), ""), "");
    EXPECT_EQ(HelperForExtension(file("MISSING.INI"), ".htm"), "");
}

TEST_F(Helpers, SaveToDiskThenDefaultApp)
{
    auto d = open();
    auto* save = child<QCheckBox>(*d, "CHK_SaveToDisk");
    auto* launch = child<QCheckBox>(*d, "CHK_DefaultApp");
    auto* program = child<QLineEdit>(*d, "ED_Value");
    child<QLineEdit>(*d, "ED_Name")->setText("zip");
    save->click();
    EXPECT_EQ(program->text(), "(Save to disk)");
    EXPECT_FALSE(program->isEnabled());
    launch->click();
    EXPECT_EQ(program->text(), "(Default App.)");
    EXPECT_FALSE(save->isChecked());
    launch->click();
    EXPECT_EQ(program->text(), "") << "unchecking clears the switch's value";
    EXPECT_TRUE(program->isEnabled());
}

TEST_F(Helpers, ApplyCancelNewDeleteAndParallelRows)
{
    write("KOVRA32.INI", "[Helpers]\ntxt=/bin/ed\nwav=(Default App.)\nzip=(Save to disk)\n");
    auto d = open();
    auto* apply = child<QPushButton>(*d, "BT_Apply");
    auto* cancelEdit = child<QPushButton>(*d, "BT_CancelEdit");
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_FALSE(cancelEdit->isEnabled());
    child<QListWidget>(*d, "LB_Values")->setCurrentRow(2);
    EXPECT_EQ(child<QListWidget>(*d, "LB_Names")->currentRow(), 2);
    EXPECT_EQ(child<QLineEdit>(*d, "ED_Name")->text(), "zip");
    EXPECT_TRUE(child<QCheckBox>(*d, "CHK_SaveToDisk")->isChecked());
    EXPECT_FALSE(child<QLineEdit>(*d, "ED_Value")->isEnabled());

    d->SelectRow(0);
    child<QLineEdit>(*d, "ED_Value")->setText("/bin/vi");
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_TRUE(cancelEdit->isEnabled());
    cancelEdit->click();
    EXPECT_EQ(child<QLineEdit>(*d, "ED_Value")->text(), "/bin/ed");
    EXPECT_FALSE(apply->isEnabled());

    // New Item applies pending edits first, then appends on Apply.
    child<QLineEdit>(*d, "ED_Value")->setText("/bin/vi");
    d->NewItem();
    EXPECT_EQ(d->Values()[0], "/bin/vi");
    EXPECT_TRUE(d->NewItemMode());
    EXPECT_EQ(child<QLineEdit>(*d, "ED_Name")->text(), "");
    type(*d, "txt", "/bin/nano");
    d->Apply();
    EXPECT_EQ(d->Names(), (QStringList{"txt", "wav", "zip", "txt"}));
    EXPECT_EQ(d->SelectedRow(), 3);
    EXPECT_FALSE(d->NewItemMode());

    d->SelectRow(0);
    d->DeleteItem();
    EXPECT_EQ(d->Names(), (QStringList{"wav", "zip", "txt"}));
    EXPECT_EQ(d->SelectedRow(), 0) << "the first row when the first was removed";
    d->SelectRow(2);
    d->DeleteItem();
    EXPECT_EQ(d->SelectedRow(), 1) << "the row before the removed one";
    EXPECT_EQ(child<QLineEdit>(*d, "ED_Name")->text(), "zip");
    d->SelectRow(0);
    d->DeleteItem();
    d->DeleteItem();
    EXPECT_EQ(d->SelectedRow(), -1);
    EXPECT_TRUE(d->Names().isEmpty());
    EXPECT_EQ(child<QListWidget>(*d, "LB_Values")->count(), 0);
}

TEST_F(Helpers, EmptyExtensionIsRefused)
{
    TBoxCatcher boxes;
    auto d = open();
    type(*d, ".", "/bin/ed");
    EXPECT_FALSE(d->Apply());
    type(*d, "", "/bin/ed");
    EXPECT_FALSE(d->Apply());
    EXPECT_TRUE(d->Names().isEmpty());
    EXPECT_EQ(boxes.Texts, (QStringList{"File Extension cannot be empty", "File Extension cannot be empty"}));
}

TEST_F(Helpers, DuplicateExtensionLaterRowWins)
{
    auto d = open();
    type(*d, "txt", "/bin/ed");
    d->Apply();
    d->NewItem();
    type(*d, "TXT", "/bin/vi");
    d->Apply();
    d->accept();
    EXPECT_EQ(HelperForExtension(settings(), ".txt"), "/bin/vi");
}

TEST_F(Helpers, TopPanelSwitchesAndSectionRemoval)
{
    write("KOVRA32.INI", "[Editor]\nProgram=/usr/bin/WRITE.EXE\n[WebBrowser]\nProgram=(Default App.)\n"
                         "[Email]\nProgram=(Default App.)\n[Helpers]\nold=/x\n");
    auto d = open();
    auto* tool = child<QLineEdit>(*d, "ED_ToolButton");
    auto* web = child<QLineEdit>(*d, "ED_WebBrowser");
    auto* browser = child<QCheckBox>(*d, "CHK_DefaultBrowser");
    EXPECT_EQ(tool->text(), "/usr/bin/WRITE.EXE");
    EXPECT_TRUE(browser->isChecked());
    EXPECT_FALSE(web->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(*d, "CHK_DefaultMail")->isChecked());

    browser->click();
    EXPECT_EQ(web->text(), "");
    EXPECT_TRUE(web->isEnabled());
    tool->clear();
    child<QCheckBox>(*d, "CHK_DefaultMail")->click();
    d->SelectRow(0);
    d->DeleteItem();
    d->accept();
    TIniFile ini(settings());
    EXPECT_FALSE(ini.SectionExists("Editor"));
    EXPECT_FALSE(ini.SectionExists("WebBrowser"));
    EXPECT_FALSE(ini.SectionExists("Email"));
    EXPECT_TRUE(ini.ReadSectionValues("Helpers").empty());
    EXPECT_EQ(EditorProgram(settings()), "");
}

TEST_F(Helpers, CancelSavesNothing)
{
    write("KOVRA32.INI", "[Helpers]\ntxt=/bin/ed\n");
    auto d = open();
    d->SelectRow(0);
    d->DeleteItem();
    d->reject();
    EXPECT_EQ(HelperForExtension(settings(), ".txt"), "/bin/ed");
}

TEST_F(Helpers, PathListMode)
{
    write("KOVRA32.INI", "[SrhPath]\nHandbook=/srv/handbook\n");
    auto d = open(THelpersMode::PathList);
    EXPECT_EQ(d->windowTitle(), "Path List");
    EXPECT_FALSE(child<QWidget>(*d, "PA_Top")->isVisibleTo(d.get()));
    EXPECT_FALSE(child<QWidget>(*d, "CHK_SaveToDisk")->isVisibleTo(d.get()));
    EXPECT_EQ(d->Names(), QStringList{"Handbook"});
    d->NewItem();
    type(*d, "Logs", "/srv/logs");
    d->Apply();
    d->accept();
    EXPECT_EQ(PathForDescription(settings(), "logs"), "/srv/logs");
    EXPECT_EQ(PathForDescription(settings(), "Handbook"), "/srv/handbook");

    TSearchPage page(QString::fromStdString(settings()));
    page.LoadPathList();
    auto* box = child<QComboBox>(page, "DirTreeLimit");
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(1), "- Logs");
}

TEST(EditorCaption, FileNameCutAtTheDot)
{
    EXPECT_EQ(EditorCaption("C:\\WINDOWS\\WRITE.EXE"), "Write");
    EXPECT_EQ(EditorCaption("/usr/bin/gedit"), "Gedit");
    EXPECT_EQ(EditorCaption("/opt/My.Editor.bin"), "My");
    EXPECT_EQ(EditorCaption(""), "");
}

// ---- search engine preferences ---------------------------------------------------

namespace {

class SrhDefault : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        for (const char* name : {"TMPDIR", "TEMP"}) {
            if (const char* value = std::getenv(name))
                saved.emplace_back(name, value);
            ::unsetenv(name);
        }
    }
    void TearDown() override
    {
        for (const auto& [name, value] : saved)
            ::setenv(name.c_str(), value.c_str(), 1);
        AppTest::TearDown();
    }
    std::vector<std::pair<std::string, std::string>> saved;
};

} // namespace

TEST_F(SrhDefault, LocalRFSwitchesExcludeEachOtherAndKeepTheFileName)
{
    TFM_SrhDefault d;
    TSearchSettings s;
    s.ResultFile = "/somewhere/else/FOUND.HTM";
    d.LoadFrom(s);
    auto* local = child<QCheckBox>(d, "CHK_LOCALRF");
    auto* temp = child<QCheckBox>(d, "CHK_TEMP");
    local->click();
    EXPECT_EQ(child<QLineEdit>(d, "ED_ResultFile")->text(), "FOUND.HTM");
    EXPECT_EQ(d.Settings().LocalRF, 2);
    temp->click();
    EXPECT_FALSE(local->isChecked());
    EXPECT_EQ(d.Settings().LocalRF, 3);
    temp->click();
    EXPECT_EQ(d.Settings().LocalRF, 1);

    s.LocalRF = 3;
    d.LoadFrom(s);
    EXPECT_TRUE(temp->isChecked());
    EXPECT_FALSE(local->isChecked());
}

TEST_F(SrhDefault, OkWritesSectionKovraAndRederivesTheResultsPath)
{
    TSearchPage page(QString::fromStdString(file("KOVRA32.INI")));
    TFM_SrhDefault d;
    d.LoadFrom(page.Settings());
    child<QLineEdit>(d, "ED_Header")->setText("Harbour Archive");
    child<QLineEdit>(d, "ED_StartCpt")->setText("Find");
    child<QLineEdit>(d, "ED_ResultFile")->setText("/elsewhere/HITS.HTM");
    child<QCheckBox>(d, "CHK_HIDEADV")->setChecked(true);
    child<QCheckBox>(d, "CHK_TEMP")->click();
    page.ApplySrhDefault(d.Settings());

    // TEMP unset: our private folder in the temporary folder of this platform.
    EXPECT_EQ(page.ResultFile(), QString::fromStdString(PrivateTempDir() + "HITS.HTM"));
    EXPECT_TRUE(page.ResultFile().startsWith("/tmp/quillon-"));
    TIniFile ini(file("KOVRA32.INI"));
    EXPECT_EQ(ini.ReadString("KOVRA", "Heading", ""), "Harbour Archive");
    EXPECT_EQ(ini.ReadString("KOVRA", "StartCpt", ""), "Find");
    EXPECT_EQ(ini.ReadString("KOVRA", "Result_File", ""), "HITS.HTM");
    EXPECT_EQ(ini.ReadInteger("KOVRA", "LocalRF", 0), 3);
    EXPECT_TRUE(ini.ReadBool("KOVRA", "HideAdv", false));
    EXPECT_TRUE(ini.ValueExists("KOVRA", "Dir_RO"));
    EXPECT_EQ(child<QPushButton>(page, "BT_Start")->text(), "Find");
    EXPECT_FALSE(child<QWidget>(page, "BOX_Advance")->isVisibleTo(&page));

    ::setenv("TMPDIR", "/var/tmp", 1);
    TSearchSettings s = page.Settings();
    page.ApplySrhDefault(s);
    EXPECT_EQ(page.ResultFile(), QString::fromStdString(PrivateTempDir() + "HITS.HTM"));
    EXPECT_TRUE(page.ResultFile().startsWith("/var/tmp/quillon-"));
    s.LocalRF = 2;
    page.ApplySrhDefault(s);
    EXPECT_EQ(page.ResultFile().toStdString(), file("HITS.HTM"));
    s.LocalRF = 1;
    s.ResultFile = "/data/results/K.HTM";
    page.ApplySrhDefault(s);
    EXPECT_EQ(page.ResultFile(), "/data/results/K.HTM");
}

TEST_F(SrhDefault, BannerHoldsAtMost255Characters)
{
    TFM_SrhDefault d;
    TSearchSettings s;
    s.Banner = std::string(300, 'b');
    d.LoadFrom(s);
    EXPECT_EQ(d.Settings().Banner.size(), 255u);
    EXPECT_EQ(d.windowTitle(), "Search Engine Defaults");
}
