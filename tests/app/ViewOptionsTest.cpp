// The Options menu's view switches, the Viewer Preferences dialog and the
// zoom, as the main window applies and remembers them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "AppTestSupport.h"
#include "app/TColorGrid.h"
#include "app/TFM_PlatForm.h"
#include "app/TFontForm.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TStringBitmapList.h"
#include "html/viewer/TFrameViewer.h"
#include "util/TIniFile.h"

namespace {

QAction* action(TFM_PlatForm& w, const char* name)
{
    return w.findChild<QAction*>(name);
}
bool menuVisible(TFM_PlatForm& w, const char* name)
{
    return w.findChild<QMenu*>(name)->menuAction()->isVisible();
}

// Runs f on the modal dialog of the given class as soon as it is shown.
template <class Dialog, class F> void WhenShown(F f)
{
    QTimer::singleShot(0, [f] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<Dialog*>(top); dialog && dialog->isVisible()) {
                f(*dialog);
                return;
            }
    });
}

// The dialog with its colour and font choosers answered by the test.
class TScriptedFontForm : public TFontForm {
public:
    using TFontForm::TFontForm;
    std::optional<TColor> colorAnswer;
    std::optional<QFont> fontAnswer;

protected:
    std::optional<TColor> ChooseColor(TColor) override { return colorAnswer; }
    std::optional<QFont> ChooseFont(const QFont&, TFontChoice) override { return fontAnswer; }
};

void ClickCell(TColorGrid& grid, TColor color)
{
    const auto& palette = TColorGrid::Palette();
    int index = int(std::find(palette.begin(), palette.end(), color) - palette.begin());
    QPoint cell((index % 4) * TColorGrid::CellSize + 5, (index / 4) * TColorGrid::CellSize + 5);
    QTest::mouseClick(&grid, Qt::LeftButton, {}, cell);
}

} // namespace

using ViewOptions = AppTest;

TEST_F(ViewOptions, HidingTheMenuBarKeepsOptionsAndCtrlMBringsAllBack)
{
    write("QLACCESS.INI", "[Advance]\nSHOW_OPTION=1\n");
    TFM_PlatForm w;
    w.show();
    ASSERT_TRUE(menuVisible(w, "MNU_Options"));
    action(w, "MNU_MenuBar")->trigger();
    EXPECT_TRUE(menuVisible(w, "MNU_Options")) << "the way back stays open";
    for (const char* menu : { "MNU_File", "MNU_Search", "MNU_About" })
        EXPECT_FALSE(menuVisible(w, menu)) << menu;
    QApplication::setActiveWindow(&w);
    QTest::keySequence(&w, QKeySequence("Ctrl+M"));
    EXPECT_TRUE(action(w, "MNU_MenuBar")->isChecked());
    for (const char* menu : { "MNU_File", "MNU_Search", "MNU_Options", "MNU_About" })
        EXPECT_TRUE(menuVisible(w, menu)) << menu;
}

TEST_F(ViewOptions, ImageOnlyThenTextOnlyLeavesCaptionsWithoutImagesInBothMenus)
{
    TFM_PlatForm w;
    action(w, "POP_Style1")->trigger();
    EXPECT_EQ(w.findChild<QToolBar*>("PA_ToolBar")->toolButtonStyle(), Qt::ToolButtonIconOnly);
    action(w, "MNU_Style2")->trigger();
    EXPECT_EQ(w.findChild<QToolBar*>("PA_ToolBar")->toolButtonStyle(), Qt::ToolButtonTextOnly);
    EXPECT_EQ(w.ToolbarStyle(), 2);
    for (const char* name : { "POP_Style2", "MNU_Style2" })
        EXPECT_TRUE(action(w, name)->isChecked()) << name;
    for (const char* name : { "POP_Style0", "POP_Style1", "MNU_Style0", "MNU_Style1" })
        EXPECT_FALSE(action(w, name)->isChecked()) << name;
}

TEST_F(ViewOptions, ImageSwitchesActOnTheShownDocumentAtOnce)
{
    QFile::copy(QUILLON_SOURCE_DIR "/sample/images/bullet.gif", QString::fromStdString(file("bullet.gif")));
    write("page.htm", "<p><img id=b src=bullet.gif> Lamp");
    TFM_PlatForm w;
    w.show();
    w.LoadHTMLFile(QString::fromStdString(file("page.htm")));
    auto image
        = [&w] { return dynamic_cast<TImageObj*>(w.Viewer()->ActiveView()->SectionList().FindID("b")); };
    ASSERT_NE(image(), nullptr);
    ASSERT_TRUE(image()->HasPicture());
    action(w, "MNU_DisplayImages")->trigger();
    EXPECT_FALSE(image()->HasPicture());
    action(w, "MNU_DisplayImages")->trigger();
    EXPECT_TRUE(image()->HasPicture());

    action(w, "MNU_ImageCache")->trigger();
    EXPECT_EQ(w.Viewer()->ImageCacheCount, 0);
    EXPECT_EQ(w.Viewer()->ActiveView()->ImageCacheCount, 0);
    EXPECT_EQ(w.Viewer()->SharedImageCache()->MaxAge(), 0);
    action(w, "MNU_ImageCache")->trigger();
    EXPECT_EQ(w.Viewer()->ImageCacheCount, 5);
    EXPECT_EQ(w.Viewer()->ActiveView()->ImageCacheCount, 5);
    EXPECT_EQ(w.Viewer()->SharedImageCache()->MaxAge(), 5);
}

TEST_F(ViewOptions, OkWithoutChangesRefreshesAndWritesTheEightKeys)
{
    write("page.htm", "<p>first words");
    TFM_PlatForm w;
    w.show();
    w.LoadHTMLFile(QString::fromStdString(file("page.htm")));
    write("page.htm", "<p>second words");
    ASSERT_NE(action(w, "MNU_Fonts"), nullptr);
    EXPECT_EQ(action(w, "MNU_Fonts")->text(), "&Viewer Preference");
    WhenShown<TFontForm>([](TFontForm& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Viewer Preferences");
        dialog.findChild<QPushButton*>("BT_OK")->click();
    });
    action(w, "MNU_Fonts")->trigger();
    EXPECT_NE(w.Viewer()->ActiveView()->DocumentSource().find("second"), std::string::npos) << "refreshed";
    TIniFile ini(file("KOVRA32.INI"));
    for (const char* key : { "FontName", "PreFontName", "FontColor", "FontSize", "LinkColor", "Background",
             "OverLink", "UnderLine" })
        EXPECT_FALSE(ini.ReadString("HTMLViewer1", key, "").empty()) << key;
    EXPECT_EQ(ini.ReadString("HTMLViewer1", "FontName", ""), "Times New Roman");
    EXPECT_EQ(ini.ReadInteger("HTMLViewer1", "FontSize", 0), 12);
    EXPECT_EQ(ini.ReadString("HTMLViewer1", "LinkColor", ""), "clBlue");
    EXPECT_TRUE(ini.ReadBool("HTMLViewer1", "UnderLine", false));
}

TEST_F(ViewOptions, CancelChangesNothingAfterPicks)
{
    TFM_PlatForm w;
    w.show();
    const TColor text = w.Viewer()->DefFontColor;
    WhenShown<TFontForm>([](TFontForm& dialog) {
        ClickCell(*dialog.findChild<TColorGrid*>("CG_Text"), 0x0000FF);
        dialog.findChild<QCheckBox*>("CHK_Underline")->click();
        EXPECT_EQ(dialog.Sample().DefFontColor, 0x0000FFu);
        dialog.findChild<QPushButton*>("BT_Cancel")->click();
    });
    action(w, "MNU_Fonts")->trigger();
    EXPECT_EQ(w.Viewer()->DefFontColor, text);
    EXPECT_EQ(w.Viewer()->fvOptions & fvNoLinkUnderline, 0u);
    EXPECT_FALSE(TIniFile(file("KOVRA32.INI")).exists());
}

TEST_F(ViewOptions, EveryPickShowsTheSampleAgain)
{
    TScriptedFontForm dialog;
    dialog.show();
    THTMLViewer* sample = dialog.Sample().ActiveView();
    ASSERT_NE(sample, nullptr);
    EXPECT_NE(sample->DocumentSource().find("HotSpot Item"), std::string::npos);

    ClickCell(*dialog.findChild<TColorGrid*>("CG_Background"), 0x00FFFF);
    EXPECT_EQ(dialog.Sample().ActiveView()->DefBackground, 0x00FFFFu);
    ClickCell(*dialog.findChild<TColorGrid*>("CG_Link"), 0x008000);
    EXPECT_EQ(dialog.Sample().ActiveView()->DefHotSpotColor, 0x008000u);

    dialog.colorAnswer = 0x123456;
    dialog.findChild<QPushButton*>("BT_OverLinkPalette")->click();
    EXPECT_EQ(dialog.Sample().ActiveView()->DefOverLinkColor, 0x123456u);
    dialog.colorAnswer.reset();
    dialog.findChild<QPushButton*>("BT_TextPalette")->click();
    EXPECT_NE(dialog.Sample().ActiveView()->DefFontColor, 0x123456u)
        << "a cancelled colour dialog changes nothing";

    dialog.fontAnswer = QFont("Liberation Sans", 16);
    dialog.findChild<QPushButton*>("BT_ProportionalFont")->click();
    EXPECT_EQ(dialog.Sample().ActiveView()->DefFontName, "Liberation Sans");
    EXPECT_EQ(dialog.Sample().ActiveView()->DefFontSize, 16);
    dialog.fontAnswer = QFont("Liberation Mono", 30);
    dialog.findChild<QPushButton*>("BT_FixedFont")->click();
    EXPECT_EQ(dialog.Sample().ActiveView()->DefPreFontName, "Liberation Mono");
    EXPECT_EQ(dialog.Sample().ActiveView()->DefFontSize, 16) << "the fixed font takes only its name";

    dialog.findChild<QCheckBox*>("CHK_Underline")->click();
    EXPECT_TRUE(dialog.Sample().ActiveView()->htOptions & htNoLinkUnderline);
    EXPECT_TRUE(dialog.Sample().ActiveView()->htOptions & htOverLinksActive);
}

TEST_F(ViewOptions, WithoutSaveAsDefaultTheNewLookLastsThisRunOnly)
{
    TFM_PlatForm w;
    w.show();
    WhenShown<TFontForm>([](TFontForm& dialog) {
        ClickCell(*dialog.findChild<TColorGrid*>("CG_Background"), 0xC0C0C0);
        dialog.findChild<QCheckBox*>("CHK_SaveDefault")->setChecked(false);
        dialog.findChild<QPushButton*>("BT_OK")->click();
    });
    action(w, "MNU_Fonts")->trigger();
    EXPECT_EQ(w.Viewer()->DefBackground, 0xC0C0C0u);
    EXPECT_EQ(w.ViewerOptions().DefBackground, 0xC0C0C0u);
    EXPECT_TRUE(TIniFile(file("KOVRA32.INI")).ReadString("HTMLViewer1", "Background", "").empty());
}

TEST_F(ViewOptions, ZoomStepsAreRememberedUnderOurOwnKey)
{
    write("page.htm", "<p>Some words of the log");
    {
        TFM_PlatForm w;
        w.show();
        w.LoadHTMLFile(QString::fromStdString(file("page.htm")));
        const int height = w.Viewer()->ActiveView()->DocumentHeight();
        w.ZoomIn();
        EXPECT_EQ(w.Zoom(), 110);
        w.SetZoom(150);
        EXPECT_EQ(w.Viewer()->ActiveView()->Zoom, 150);
        EXPECT_GT(w.Viewer()->ActiveView()->DocumentHeight(), height);
        w.ZoomOut();
        EXPECT_EQ(w.Zoom(), 125);
        EXPECT_EQ(action(w, "MNU_ZoomReset")->shortcut(), QKeySequence("Ctrl+0"));
        EXPECT_TRUE(action(w, "MNU_ZoomIn")->shortcuts().contains(QKeySequence("Ctrl+=")));
        EXPECT_EQ(TIniFile(file("KOVRA32.INI")).ReadInteger("HTMLViewer1", "Zoom", 0), 125);
    }
    TFM_PlatForm again;
    EXPECT_EQ(again.Zoom(), 125);
    EXPECT_EQ(again.Viewer()->Zoom, 125);
}

TEST_F(ViewOptions, CtrlWheelOverTheDocumentZooms)
{
    write("page.htm", "<p>Some words of the log");
    TFM_PlatForm w;
    w.show();
    w.LoadHTMLFile(QString::fromStdString(file("page.htm")));
    QWidget* view = w.Viewer()->ActiveView();
    ASSERT_NE(view, nullptr);
    QPoint at(20, 20);
    QWheelEvent up(at, view->mapToGlobal(at), {}, { 0, 120 }, Qt::NoButton, Qt::ControlModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &up);
    EXPECT_EQ(w.Zoom(), 110);
    QWheelEvent plain(
        at, view->mapToGlobal(at), {}, { 0, -120 }, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &plain);
    EXPECT_EQ(w.Zoom(), 110) << "the wheel alone scrolls";
}

TEST_F(ViewOptions, AlwaysUseMyColoursIsKeptInTheSettingsAndReachesTheDocument)
{
    write("page.htm", "<body bgcolor=black text=yellow><p>words");
    {
        TFM_PlatForm w;
        w.show();
        w.LoadHTMLFile(QString::fromStdString(file("page.htm")));
        WhenShown<TFontForm>([](TFontForm& dialog) {
            auto* own = dialog.findChild<QCheckBox*>("CHK_ReaderColors");
            ASSERT_NE(own, nullptr);
            EXPECT_EQ(own->text(), "Always use my colours");
            EXPECT_FALSE(own->isChecked());
            own->click();
            EXPECT_TRUE(dialog.Sample().ActiveView()->htOptions & htReaderColors) << "the sample shows it at once";
            dialog.findChild<QCheckBox*>("CHK_Underline")->click();
            EXPECT_TRUE(dialog.Sample().ActiveView()->htOptions & htReaderColors) << "other switches keep it";
            dialog.findChild<QPushButton*>("BT_OK")->click();
        });
        action(w, "MNU_Fonts")->trigger();
        EXPECT_TRUE(w.Viewer()->ActiveView()->htOptions & htReaderColors);
        EXPECT_TRUE(w.ViewerOptions().ReaderColors);
    }
    EXPECT_TRUE(TIniFile(file("KOVRA32.INI")).ReadBool("HTMLViewer1", "UseMyColors", false));
    TFM_PlatForm again;
    again.show();
    again.LoadHTMLFile(QString::fromStdString(file("page.htm")));
    EXPECT_TRUE(again.Viewer()->ActiveView()->htOptions & htReaderColors) << "read back at the next start";
    WhenShown<TFontForm>([](TFontForm& dialog) {
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("CHK_ReaderColors")->isChecked());
        dialog.findChild<QCheckBox*>("CHK_ReaderColors")->click();
        dialog.findChild<QPushButton*>("BT_OK")->click();
    });
    action(again, "MNU_Fonts")->trigger();
    EXPECT_FALSE(again.Viewer()->ActiveView()->htOptions & htReaderColors);
    EXPECT_FALSE(TIniFile(file("KOVRA32.INI")).ReadBool("HTMLViewer1", "UseMyColors", true));
}
