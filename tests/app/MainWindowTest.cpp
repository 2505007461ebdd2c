#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <chrono>
#include <filesystem>

#include "AppTestSupport.h"
#include "app/TFM_PlatForm.h"

namespace {

bool actionVisible(TFM_PlatForm& w, const char* name) { return w.findChild<QAction*>(name)->isVisible(); }
bool menuVisible(TFM_PlatForm& w, const char* name) { return w.findChild<QMenu*>(name)->menuAction()->isVisible(); }
bool widgetShown(TFM_PlatForm& w, const char* name) { return w.findChild<QWidget*>(name)->isVisibleTo(&w); }

} // namespace

using MainWindow = AppTest;

TEST_F(MainWindow, WithoutSettingsOrAccessFile)
{
    TFM_PlatForm w;
    w.show();
    for (const char* bar : {"PA_ToolBar", "PA_Location", "PA_DIRBTN", "PA_URL"})
        EXPECT_TRUE(widgetShown(w, bar)) << bar;
    EXPECT_FALSE(menuVisible(w, "MNU_Options"));
    EXPECT_FALSE(menuVisible(w, "MNU_Bookmark"));
    EXPECT_FALSE(actionVisible(w, "MNU_OpenFile"));
    EXPECT_FALSE(actionVisible(w, "MNU_Print"));
    EXPECT_TRUE(actionVisible(w, "TB_Print"));
    EXPECT_TRUE(actionVisible(w, "TB_Edit"));
    EXPECT_FALSE(actionVisible(w, "TB_Open"));
    EXPECT_TRUE(widgetShown(w, "BT_CfgDirBtn"));
    EXPECT_EQ(w.IdleHomeTimer()->interval(), 5000);
    EXPECT_FALSE(w.IdleHomeTimer()->isActive());
}

TEST_F(MainWindow, MenuBarOffHidesEveryMenuButKeepsShortcuts)
{
    write("KOVRA32.INI", "[Windows]\nMenuBar=0\n");
    TFM_PlatForm w;
    for (const char* menu : {"MNU_File", "MNU_Search", "MNU_Options", "MNU_History", "MNU_About"})
        EXPECT_FALSE(menuVisible(w, menu)) << menu;
    QAction* refresh = w.findChild<QAction*>("MNU_Refresh");
    EXPECT_TRUE(w.actions().contains(refresh)) << "shortcuts live on the window";
    EXPECT_EQ(refresh->shortcut(), QKeySequence("Ctrl+R"));
}

TEST_F(MainWindow, AllEnabledWithMenuBarOffShowsToolButtonsOnly)
{
    write("KOVRA32.INI", "[Windows]\nMenuBar=0\n");
    write("QLACCESS.INI", "[Advance]\nALL_Enabled=1\n");
    TFM_PlatForm w;
    EXPECT_FALSE(menuVisible(w, "MNU_Options"));
    EXPECT_FALSE(menuVisible(w, "MNU_Bookmark"));
    EXPECT_TRUE(actionVisible(w, "TB_Open"));
    EXPECT_TRUE(actionVisible(w, "TB_Print"));
    EXPECT_TRUE(actionVisible(w, "TB_Edit"));
}

TEST_F(MainWindow, AllEnabledKeepsHomePageItemAndDirectoryButton)
{
    write("QLACCESS.INI", "[Advance]\nALL_Enabled=1\nSet_Home=0\nLet_ChangeDir=0\n");
    TFM_PlatForm w;
    EXPECT_TRUE(menuVisible(w, "MNU_Options"));
    EXPECT_TRUE(actionVisible(w, "MNU_HomePage"));
    EXPECT_TRUE(widgetShown(w, "BT_CfgDirBtn"));
    EXPECT_TRUE(actionVisible(w, "MNU_Print"));
    EXPECT_TRUE(actionVisible(w, "MNU_OpenFile"));
}

TEST_F(MainWindow, SingleAccessKeysOfferTheirCommands)
{
    write("QLACCESS.INI", "[advance]\nhtml_print=1\nSet_Home=0\nLet_ChangeDir=0\n");
    TFM_PlatForm w;
    EXPECT_TRUE(actionVisible(w, "MNU_Print"));
    EXPECT_TRUE(actionVisible(w, "MNU_PageSetup"));
    EXPECT_FALSE(actionVisible(w, "MNU_OpenFile"));
    EXPECT_FALSE(actionVisible(w, "MNU_HomePage"));
    EXPECT_FALSE(widgetShown(w, "BT_CfgDirBtn"));
}

TEST_F(MainWindow, AccessFileThatIsAFolderIsIgnored)
{
    QDir(dir.path()).mkdir("QLACCESS.INI");
    TFM_PlatForm w;
    EXPECT_FALSE(w.AccessModes().NoExit);
    EXPECT_FALSE(actionVisible(w, "MNU_Print"));
}

TEST_F(MainWindow, SettingsKeysAreReadIgnoringCase)
{
    write("KOVRA32.INI", "[STARTUP]\nHOMEPAGE=start.htm\nidlesec=9\n[windows]\ntoolbarstyle=2\nSTATUSBAR=0\n");
    TFM_PlatForm w;
    EXPECT_EQ(w.HomePage(), "start.htm");
    EXPECT_EQ(w.IdleHomeTimer()->interval(), 9000);
    EXPECT_EQ(w.ToolbarStyle(), 2);
    EXPECT_FALSE(widgetShown(w, "PA_URL"));
    EXPECT_TRUE(w.findChild<QAction*>("POP_Style2")->isChecked());
    EXPECT_TRUE(w.findChild<QAction*>("MNU_Style2")->isChecked());
}

TEST_F(MainWindow, WrongTypesAndHugeBoundsStillGiveAWindowOnScreen)
{
    write("KOVRA32.INI", "[Windows]\nTop=-99999\nLeft=99999999\nWidth=abc\nHeight=-5\nToolbar=maybe\n"
                         "[HTMLViewer1]\nFontColor=clNoSuchColour\nMLeft=abc\nMTop=15.5\n");
    TFM_PlatForm w;
    QRect screen = w.screen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(w.geometry()));
    EXPECT_GE(w.height(), 150);
    EXPECT_TRUE(widgetShown(w, "PA_ToolBar"));
    EXPECT_EQ(w.ViewerOptions().PrintMarginLeft, 2.0) << "no number: the default";
    EXPECT_DOUBLE_EQ(w.ViewerOptions().PrintMarginTop, 1.55) << "a margin of 15.5 mm keeps its decimal";
    EXPECT_EQ(w.ViewerOptions().DefFontColor, TViewerOptions().DefFontColor);
}

TEST_F(MainWindow, NoExitRefusesEveryClose)
{
    write("QLACCESS.INI", "[Advance]\nNOEXIT=1\n");
    TFM_PlatForm w;
    w.show();
    EXPECT_FALSE(actionVisible(w, "TB_Exit"));
    w.ExitCommand();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.RunPseudoCommand("EXIT") && !w.isVisible());
    QCloseEvent event;
    QApplication::sendEvent(&w, &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindow, ClosingWithoutAutoSaveWritesNothing)
{
    write("KOVRA32.INI", "[Windows]\nAutoSave=0\n");
    std::string before = read("KOVRA32.INI");
    {
        TFM_PlatForm w;
        w.show();
        w.close();
    }
    EXPECT_EQ(read("KOVRA32.INI"), before);
}

TEST_F(MainWindow, ClosingWithAutoSaveWritesTheOptionsInOrder)
{
    {
        TFM_PlatForm w;
        w.show();
        w.close();
    }
    std::string text = read("KOVRA32.INI");
    EXPECT_NE(text.find("[Windows]\nTop="), std::string::npos) << text;
    EXPECT_NE(text.find("\nWinState=0\nToolBar=1\nToolbarStyle=0\nLocation=1\nDirButton=1\nMenuBar=1\n"
                        "StatusBar=1\nAutoSave=1\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("MLeft=20\nMRight=20\nMTop=20\nMBottom=20\nHeader=\nFooter=\n"), std::string::npos) << text;
}

TEST_F(MainWindow, FourDirectoryButtonsOnA614PixelBar)
{
    write("KOVRA32.INI", "[Directory]\nButton0=a.htm,One,0\nButton2=b.htm,Two,1\nButton5=HOME,Three,0\n"
                         "Button9=c.htm,Four,0\nButton3=bad,comma,in,caption,0\nButton4=x\"Quoted\"1\n");
    TFM_PlatForm w;
    w.show();
    w.findChild<QWidget*>("PA_DIRBTN")->resize(614, 31);
    w.LayoutDirButtons();
    // Button4 splits at the quotes into three fields and counts.
    std::vector<int> lefts;
    for (int i = 0; i < TFM_PlatForm::DirButtonCount; ++i) {
        if (w.DirButton(i)->isVisibleTo(&w))
            lefts.push_back(w.DirButton(i)->x());
    }
    int width = std::min((614 - 35) / 5, 614 / 3);
    EXPECT_EQ(lefts, (std::vector<int>{1, 1 + width, 1 + 2 * width, 1 + 3 * width, 1 + 4 * width}));
    EXPECT_FALSE(w.DirButton(3)->isVisibleTo(&w)) << "a comma inside the caption leaves the entry empty";
    EXPECT_EQ(w.findChild<QWidget*>("BT_CfgDirBtn")->x(), 5 * width + 10);

    w.DirButtons()[4] = {};
    w.LayoutDirButtons();
    lefts.clear();
    for (int i = 0; i < TFM_PlatForm::DirButtonCount; ++i) {
        if (w.DirButton(i)->isVisibleTo(&w))
            lefts.push_back(w.DirButton(i)->x());
    }
    EXPECT_EQ(lefts, (std::vector<int>{1, 145, 289, 433}));
    EXPECT_EQ(w.findChild<QWidget*>("BT_CfgDirBtn")->x(), 586);
}

TEST_F(MainWindow, DirectoryButtonsRoundTrip)
{
    {
        TFM_PlatForm w;
        w.DirButtons()[1] = {"docs/a.htm", "Docs", true};
        w.WriteDirButtons();
    }
    EXPECT_NE(read("KOVRA32.INI").find("Button1=docs/a.htm,Docs,1"), std::string::npos);
    TFM_PlatForm again;
    EXPECT_EQ(again.DirButtons()[1].Caption, "Docs");
    EXPECT_TRUE(again.DirButtons()[1].InExeDir);
}

TEST_F(MainWindow, ToolbarStyleMenusAgree)
{
    TFM_PlatForm w;
    w.findChild<QAction*>("MNU_Style1")->trigger();
    EXPECT_EQ(w.ToolbarStyle(), 1);
    EXPECT_TRUE(w.findChild<QAction*>("POP_Style1")->isChecked());
    w.findChild<QAction*>("POP_Style2")->trigger();
    EXPECT_TRUE(w.findChild<QAction*>("MNU_Style2")->isChecked());
    EXPECT_EQ(w.findChild<QToolBar*>("PA_ToolBar")->toolButtonStyle(), Qt::ToolButtonTextOnly);
}

TEST_F(MainWindow, CommandWordsInAnyCase)
{
    TFM_PlatForm w;
    w.show();
    w.LoadHTMLFile("kovra");
    EXPECT_EQ(w.Notebook()->currentIndex(), 1);
    w.LoadHTMLFile("Kovra");
    EXPECT_EQ(w.Notebook()->currentIndex(), 0);
    w.LoadHTMLFile("exit");
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindow, StartRemovesWhatKilledSavesLeftInTheProgramFolder)
{
    auto leftover = [&](const char* name, int ageSeconds) {
        write(name, "half a file");
        auto when = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(ageSeconds);
        std::filesystem::last_write_time(file(name), when);
    };
    leftover(".quillon-save-Ab12Cd", 3600);
    leftover(".quillon-ini-Ef34Gh", 3600);
    leftover(".quillon-save-Fresh1", 0); // another copy saving right now
    leftover("notes.txt", 3600);
    TFM_PlatForm w;
    EXPECT_FALSE(std::filesystem::exists(file(".quillon-save-Ab12Cd")));
    EXPECT_FALSE(std::filesystem::exists(file(".quillon-ini-Ef34Gh")));
    EXPECT_TRUE(std::filesystem::exists(file(".quillon-save-Fresh1")));
    EXPECT_TRUE(std::filesystem::exists(file("notes.txt")));
}
