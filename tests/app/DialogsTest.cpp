#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/TFM_DirButtons.h"
#include "app/TFM_HomePage.h"
#include "app/TFM_PlatForm.h"
#include "app/TUserPrompts.h"

using Dialogs = AppTest;

TEST_F(Dialogs, HomePageDialogRangesAndResult)
{
    TFM_HomePage dialog({false, true, "start.htm", true, false, 99, 2});
    EXPECT_EQ(dialog.windowTitle(), "Home Page");
    auto* idle = dialog.findChild<QSpinBox*>("SE_IdleSec");
    EXPECT_EQ(idle->minimum(), 5);
    EXPECT_EQ(idle->maximum(), 65);
    EXPECT_EQ(idle->value(), 65) << "values outside 5..65 are brought into range";
    EXPECT_TRUE(idle->isEnabled());
    EXPECT_FALSE(dialog.findChild<QSpinBox*>("SE_CloseSec")->isEnabled());
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("RB_Search")->isChecked());
    dialog.findChild<QRadioButton*>("RB_Home")->setChecked(true);
    dialog.findChild<QCheckBox*>("CHK_AutoClose")->setChecked(true);
    EXPECT_TRUE(dialog.findChild<QSpinBox*>("SE_CloseSec")->isEnabled());
    THomePageSettings s = dialog.Settings();
    EXPECT_TRUE(s.LoadHome);
    EXPECT_FALSE(s.ShowMERL);
    EXPECT_TRUE(s.AutoClose);
    EXPECT_EQ(s.CloseSec, 5);
}

TEST_F(Dialogs, HomePageOkWritesStartUpAndResetsTheTimers)
{
    TFM_PlatForm w;
    w.ApplyHomePageSettings({true, false, "home.htm", true, true, 7, 9});
    std::string text = read("KOVRA32.INI");
    EXPECT_NE(text.find("[StartUp]\nLoadHome=1\nShowMERL=0\nHomePage=home.htm\nGoBack=1\nAutoClose=1\nIdleSec=7\n"
                        "CloseSec=9\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(w.HomePage(), "home.htm");
    EXPECT_EQ(w.IdleHomeTimer()->interval(), 7000);
    EXPECT_EQ(w.IdleCloseTimer()->interval(), 9000);
    EXPECT_FALSE(w.IdleHomeTimer()->isActive());
}

TEST_F(Dialogs, DirectoryButtonDialogAppliesOnSwitchAndCutsExeFolderTargets)
{
    TFM_DirButtons::TEntries entries{};
    entries[0] = {"a.htm", "One", false};
    TFM_DirButtons dialog(entries);
    EXPECT_EQ(dialog.windowTitle(), "Directory Buttons Maintenace");
    EXPECT_EQ(dialog.CaptionEdit()->text(), "One");
    dialog.CaptionEdit()->setText("First");
    dialog.SelectEntry(3);
    EXPECT_EQ(dialog.Entries()[0].Caption, "First") << "switching applies the edits";
    EXPECT_EQ(dialog.CaptionEdit()->text(), "");
    dialog.CaptionEdit()->setText("Docs");
    dialog.TargetEdit()->setText("/opt/collection/docs/index.htm");
    dialog.ExeDirCheck()->setChecked(true);
    dialog.Apply();
    EXPECT_EQ(dialog.Entries()[3].Target, "index.htm");
    EXPECT_EQ(dialog.findChild<QPushButton*>("TB_Entry3")->text(), "Docs");

    TFM_PlatForm w;
    w.ApplyDirButtons(dialog.Entries());
    EXPECT_NE(read("KOVRA32.INI").find("Button3=index.htm,Docs,1"), std::string::npos);
    EXPECT_NE(read("KOVRA32.INI").find("Button1=,,0"), std::string::npos);
}

TEST_F(Dialogs, SaveToDiskDialogLeavesTheOverwriteQuestionToTheCaller)
{
    // The dispatcher asks "File already exists, overwrite?" itself: the file
    // dialog must not ask the same first.
    write("existing.dat", "old");
    TUserPrompts prompts(nullptr);
    bool seen = false;
    bool confirms = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->reject();
    });
    EXPECT_TRUE(prompts.SaveFileName("existing.dat").isEmpty());
    ASSERT_TRUE(seen);
    EXPECT_FALSE(confirms);
}
