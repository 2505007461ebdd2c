// The search page inside the main window: the page toggle and its menus, the
// results command, closing during a search, and the "Edit" tool button.
#include "SearchPageSupport.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <sys/stat.h>

#include "app/TEditButton.h"
#include "app/TFM_PlatForm.h"
#include "app/TSearchPage.h"
#include "search/TFileScan.h"
#include "util/TIniFile.h"

namespace {

bool menuShown(TFM_PlatForm& w, const char* name) { return w.findChild<QMenu*>(name)->menuAction()->isVisible(); }

class Window : public SearchPageTest {
protected:
    void SetUp() override
    {
        SearchPageTest::SetUp();
        window = std::make_unique<TFM_PlatForm>();
        QObject::connect(window.get(), &TFM_PlatForm::LocationRequested,
                         [this](const QString& location) { requested << location; });
    }
    void TearDown() override
    {
        window.reset();
        SearchPageTest::TearDown();
    }
    QAction* action(const char* name) { return child<QAction>(*window, name); }

    std::unique_ptr<TFM_PlatForm> window;
    QStringList requested;
};

} // namespace

TEST_F(Window, SearchButtonAndF1TogglePagesAndMenus)
{
    window->show();
    EXPECT_EQ(window->Notebook()->currentIndex(), 0);
    action("TB_Search")->trigger();
    EXPECT_EQ(window->Notebook()->currentIndex(), 1);
    EXPECT_EQ(action("TB_Search")->text(), "Browse");
    EXPECT_FALSE(menuShown(*window, "MNU_Search"));
    EXPECT_FALSE(menuShown(*window, "MNU_History"));
    EXPECT_EQ(action("MNU_Toggle")->shortcut(), QKeySequence(Qt::Key_F1));
    action("MNU_Toggle")->trigger();
    EXPECT_EQ(window->Notebook()->currentIndex(), 0);
    EXPECT_EQ(action("TB_Search")->text(), "Search");
    EXPECT_TRUE(menuShown(*window, "MNU_Search"));

    // With the menu bar hidden the browser page shows no "&Search" menu either.
    action("MNU_MenuBar")->trigger();
    EXPECT_FALSE(menuShown(*window, "MNU_Search"));
    window->LoadHTMLFile("kovra");
    EXPECT_EQ(window->Notebook()->currentIndex(), 1);
    action("MNU_MenuBar")->trigger();
    EXPECT_FALSE(menuShown(*window, "MNU_Search")) << "still on the search page";
}

TEST_F(Window, SearchResultsCommandAndButton)
{
    TBoxCatcher boxes;
    window->LoadHTMLFile("KOVRA RESULTS");
    ASSERT_EQ(boxes.Texts, QStringList{"No search result has been saved yet"});
    EXPECT_TRUE(requested.isEmpty());

    write("KVRESULT.HTM", "<p>earlier results</p>");
    window->LoadHTMLFile("Kovra Results");
    child<QPushButton>(*window, "BT_SearchResults")->click();
    EXPECT_EQ(requested, (QStringList{QString::fromStdString(file("KVRESULT.HTM")),
                                      QString::fromStdString(file("KVRESULT.HTM"))}));
}

TEST_F(Window, ResultsOfASearchGoThroughLoadHTMLFile)
{
    document("a.htm", "<title>A</title>lantern");
    window->Notebook()->setCurrentIndex(1);
    TSearchPage* page = window->SearchPage();
    child<QLineEdit>(*page, "ED_SearchString")->setText("lantern");
    child<QComboBox>(*page, "DirTreeLimit")->setEditText(QString::fromStdString(docs));
    page->BT_StartClick();
    EXPECT_EQ(requested, QStringList{page->ResultFile()});
    EXPECT_EQ(window->Notebook()->currentIndex(), 0);
    EXPECT_NE(slurp(page->ResultFile().toStdString()).find("a.htm"), std::string::npos);
}

TEST_F(Window, ClosingDuringASearchStopsItAndSavesOptions)
{
    for (int i = 0; i < 200; ++i)
        document("f" + std::to_string(i) + ".htm", "<title>T</title>lantern");
    window->show();
    TSearchPage* page = window->SearchPage();
    child<QSpinBox>(*page, "FileSizeLimit")->setValue(1234);
    int hits = 0;
    page->FileScan().OnFoundFile = [&](TFileScan&, const std::string&, const TSearchRec&) {
        if (++hits == 3)
            window->close();
    };
    child<QLineEdit>(*page, "ED_SearchString")->setText("lantern");
    child<QComboBox>(*page, "DirTreeLimit")->setEditText(QString::fromStdString(docs));
    page->BT_StartClick();
    EXPECT_LT(hits, 200);
    EXPECT_FALSE(page->IsSearching());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(TIniFile(file("KOVRA32.INI")).ReadInteger("KOVRA", "FSize", 0), 1234);
}

TEST_F(Window, SettingsFileReachesTheSearchPage)
{
    write("KOVRA32.INI", "[KOVRA]\nHeading=Harbour\n[SrhPath]\nDocs=/srv/docs\n");
    TFM_PlatForm w;
    EXPECT_EQ(child<QLabel>(*w.SearchPage(), "LB_SrhHead")->text(), "Harbour");
    EXPECT_EQ(child<QComboBox>(*w.SearchPage(), "DirTreeLimit")->itemText(0), "- Docs");
}

TEST_F(Window, EditButtonShowsAndRunsTheEditor)
{
    // A stand-in editor that records the file it was asked to open.
    const std::string editor = (dir.path() + "/WRITE.EXE").toStdString();
    const std::string log = (dir.path() + "/opened.txt").toStdString();
    std::ofstream(editor) << "#!/bin/sh\necho \"$1\" > '" << log << "'\n";
    ::chmod(editor.c_str(), 0755);
    write("KOVRA32.INI", "[Editor]\nProgram=" + editor + "\n");
    QAction* edit = action("TB_Edit");
    TEditButton button(edit, QString::fromStdString(file("KOVRA32.INI")), [] { return QStringLiteral("/tmp/doc.htm"); },
                       nullptr);
    button.Refresh();
    EXPECT_EQ(edit->text(), "Write");
    EXPECT_EQ(edit->toolTip(), "Write");
    button.Click();
    for (int i = 0; i < 200 && slurp(log).empty(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(slurp(log), "/tmp/doc.htm\n");

    // Without an editor the button goes back to its own caption and does nothing.
    write("KOVRA32.INI", "[Windows]\n");
    button.Refresh();
    EXPECT_EQ(edit->text(), "Edit");
    TBoxCatcher boxes;
    button.Click();
    EXPECT_TRUE(boxes.Texts.isEmpty());
}

TEST_F(Window, CtrlCInTheKeywordFieldCopiesDespiteTheMenuShortcut)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->Notebook()->setCurrentIndex(1);
    auto* edit = child<QLineEdit>(*window->SearchPage(), "ED_SearchString");
    edit->setText("floppy disk");
    edit->setSelection(7, 4);
    edit->setFocus();
    QApplication::clipboard()->clear();
    // Through the window system, where the window's own Ctrl+C shortcut also listens.
    QTest::keyClick(window->windowHandle(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "disk");
}
