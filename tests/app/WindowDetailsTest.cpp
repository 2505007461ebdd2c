// Small things a reader notices: dialog captions, the clipboard's link, the
// busy cursor of a running program, and the font dialogs' preset.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "AppTestSupport.h"
#include "PromptedWindow.h"
#include "app/TFM_DirButtons.h"
#include "app/TFontForm.h"
#include "html/viewer/TFrameViewer.h"

using WindowDetails = AppTest;

TEST_F(WindowDetails, DirectoryButtonLabelsShowTheirMnemonicNotAnAmpersand)
{
    TFM_DirButtons::TEntries entries{};
    TFM_DirButtons dialog(entries);
    QLabel* target = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == "&HTML File")
            target = label;
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->buddy(), static_cast<QWidget*>(dialog.TargetEdit())) << "without a buddy the & is drawn as it stands";
}

TEST_F(WindowDetails, CopyLinkLocationCopiesWhereTheLinkLeads)
{
    write("page.htm", "<a href=\"gallery.htm#top\">gallery</a>");
    PromptedWindow w;
    w.show();
    w.LoadHTMLFile(QString::fromStdString(file("page.htm")));
    TRightClickParameters parameters;
    parameters.URL = "gallery.htm#top";
    w.ShowDocumentMenu(parameters, QPoint(-1, -1));
    QAction* copy = w.findChild<QAction*>("POP_CopyLink");
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(file("gallery.htm")) + "#top");
}

TEST_F(WindowDetails, ALoadKeepsTheBusyCursorOfARunningProgram)
{
    write("page.htm", "<p>page");
    PromptedWindow w;
    w.show();
    QApplication::setOverrideCursor(Qt::BusyCursor); // a search or form program runs
    w.LoadHTMLFile(QString::fromStdString(file("page.htm")));
    ASSERT_NE(QApplication::overrideCursor(), nullptr) << "the load took the program's cursor";
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the load left a cursor of its own";
}

TEST_F(WindowDetails, FontDialogIsPresetToTheFontInUseAndOkKeepsItsName)
{
    const QFont requested(QStringLiteral("Times New Roman"), 12);
    const QFont shown = FontAsInstalled(requested);
    EXPECT_EQ(shown.family(), QFontInfo(requested).family()) << "the family that serves the request";
    EXPECT_EQ(shown.pointSize(), 12);
    const QFont unchanged = KeepRequestedFamily(requested, shown);
    EXPECT_EQ(unchanged.family(), "Times New Roman") << "OK without a change keeps the document font";
    QFont other = shown;
    other.setFamily(QStringLiteral("Some Other Family"));
    EXPECT_EQ(KeepRequestedFamily(requested, other).family(), "Some Other Family");
}
