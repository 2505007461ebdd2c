// Where the main window opens: the first start, saved bounds, and bounds
// that no screen shows any more.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "AppTestSupport.h"
#include "app/TFM_PlatForm.h"
#include "app/WindowPlacement.h"
#include "util/TIniFile.h"

namespace {

QRect Available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

void ExpectFirstStartBounds(const TFM_PlatForm& w)
{
    QRect area = Available();
    EXPECT_NEAR(w.width(), area.width() * 0.8, 2);
    EXPECT_NEAR(w.height(), area.height() * 0.8, 2);
    EXPECT_NEAR(w.frameGeometry().center().x(), area.center().x(), 2);
    EXPECT_NEAR(w.frameGeometry().center().y(), area.center().y(), 2);
}

} // namespace

using WindowState = AppTest;

TEST_F(WindowState, FirstStartOpensAtFourFifthsOfTheScreenCentred)
{
    TFM_PlatForm w;
    w.show();
    ExpectFirstStartBounds(w);
}

TEST_F(WindowState, SettingsWithoutSavedBoundsAreStillAFirstStart)
{
    write("KOVRA32.INI", "[HTMLViewer1]\nZoom=150\n");
    TFM_PlatForm w;
    ExpectFirstStartBounds(w);
}

TEST_F(WindowState, SavedBoundsComeBackUnchangedOverRestarts)
{
    write("KOVRA32.INI", "[Windows]\nLeft=40\nTop=30\nWidth=700\nHeight=500\n");
    for (int restart = 0; restart < 3; ++restart) {
        TFM_PlatForm w;
        w.show();
        EXPECT_EQ(w.pos(), QPoint(40, 30)) << "restart " << restart;
        EXPECT_EQ(w.size(), QSize(700, 500));
        w.SaveOptions();
    }
    TIniFile ini(file("KOVRA32.INI"));
    EXPECT_EQ(ini.ReadInteger("Windows", "Left", 0), 40);
    EXPECT_EQ(ini.ReadInteger("Windows", "Top", 0), 30);
}

TEST_F(WindowState, BoundsOffEveryScreenAreBroughtBack)
{
    write("KOVRA32.INI", "[Windows]\nLeft=-6000\nTop=9000\nWidth=700\nHeight=500\n");
    TFM_PlatForm w;
    EXPECT_TRUE(Available().contains(w.geometry())) << "the window is reachable again";
    EXPECT_EQ(w.size(), QSize(700, 500));
}

TEST(WindowPlacement, BoundsStayOnTheScreenTheyOverlapMost)
{
    const QList<QRect> screens { QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1000) };
    const QSize minimum(200, 150);
    QRect onSecond(2000, 100, 800, 600);
    EXPECT_EQ(PlaceOnScreens(onSecond, screens, minimum), onSecond) << "a second monitor is not pulled back";
    EXPECT_EQ(PlaceOnScreens(QRect(3000, 100, 800, 600), screens, minimum), QRect(2400, 100, 800, 600))
        << "hanging over the right edge: moved in";
    EXPECT_EQ(PlaceOnScreens(QRect(9000, 9000, 800, 600), screens, minimum), QRect(1120, 440, 800, 600))
        << "on no screen: into the primary one";
    EXPECT_EQ(PlaceOnScreens(QRect(-50, -50, 4000, 3000), screens, minimum), QRect(0, 0, 1920, 1040))
        << "larger than the screen: shrunk to it";
    EXPECT_EQ(PlaceOnScreens(QRect(10, 10, 20, 20), screens, minimum).size(), minimum);
    EXPECT_EQ(FirstStartBounds(QRect(0, 0, 1000, 800)), QRect(100, 80, 800, 640));
}
