// Zoom and rebuilding the shown document: fonts and pictures of the layout
// grow, and the reader keeps the place and what was typed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "gfx/TControls.h"
#include "html/layout/TFormControlObj.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

using viewertest::ImageById;
using viewertest::SampleImage;

struct ZoomFixture : ::testing::Test {
    viewertest::Files files;
    THTMLViewer viewer;
    ZoomFixture()
    {
        viewer.resize(600, 300);
        viewer.show();
        files.Write("bullet.gif", SampleImage("bullet.gif"));
    }
};

} // namespace

TEST_F(ZoomFixture, FontsAndPicturesGrowWithTheZoomAndComeBack)
{
    viewer.ShowFile(files.Write("page.htm",
        "<p><img id=n src=bullet.gif> <img id=s src=bullet.gif width=40 height=20>"
        "<p>Words of the keeper's log, long enough to measure."));
    ASSERT_NE(ImageById(viewer, "n"), nullptr);
    const int natural = ImageById(viewer, "n")->ObjWidth;
    const int sized = ImageById(viewer, "s")->ObjWidth;
    const int height = viewer.DocumentHeight();
    ASSERT_GT(natural, 0);
    EXPECT_EQ(sized, 40);

    viewer.Zoom = 150;
    viewer.Rebuild();
    EXPECT_EQ(ImageById(viewer, "n")->ObjWidth, natural * 3 / 2);
    EXPECT_EQ(ImageById(viewer, "s")->ObjWidth, 60);
    EXPECT_EQ(ImageById(viewer, "s")->ObjHeight, 30);
    EXPECT_GT(viewer.DocumentHeight(), height * 5 / 4) << "the text grew too";

    viewer.Zoom = 100;
    viewer.Rebuild();
    EXPECT_EQ(ImageById(viewer, "n")->ObjWidth, natural);
    EXPECT_EQ(viewer.DocumentHeight(), height);
}

TEST_F(ZoomFixture, RebuildingKeepsTypedTextAndThePlace)
{
    viewer.ShowFile(
        files.Write("form.htm", "<form><input id=who name=who></form>" + viewertest::Paragraphs(200)));
    auto* who = dynamic_cast<TFormControlObj*>(viewer.SectionList().FindID("who"));
    ASSERT_NE(who, nullptr);
    dynamic_cast<TEditControl*>(who->TheControl())->setText(u"Marianne");
    viewer.SetVScrollBarPosition(viewer.DocumentHeight() / 2);
    const double place = double(viewer.VScrollBarPosition()) / viewer.DocumentHeight();

    viewer.Zoom = 200;
    viewer.Rebuild();
    who = dynamic_cast<TFormControlObj*>(viewer.SectionList().FindID("who"));
    ASSERT_NE(who, nullptr);
    EXPECT_EQ(dynamic_cast<TEditControl*>(who->TheControl())->text(), u"Marianne");
    EXPECT_NEAR(double(viewer.VScrollBarPosition()) / viewer.DocumentHeight(), place, 0.02);
}

TEST_F(ZoomFixture, ImagesSwitchedOffAndOnTakeEffectOnTheShownDocument)
{
    viewer.ShowFile(files.Write("page.htm", "<p><img id=n src=bullet.gif>"));
    ASSERT_TRUE(ImageById(viewer, "n")->HasPicture());
    viewer.SetViewImages(false);
    EXPECT_FALSE(ImageById(viewer, "n")->HasPicture());
    viewer.SetViewImages(true);
    EXPECT_TRUE(ImageById(viewer, "n")->HasPicture()) << "shown again without a refresh";
}

TEST_F(ZoomFixture, TextHandedOverIsRebuiltAndReloadedFromItself)
{
    viewer.ShowHtmlText("<p>Held in memory", "memo");
    const int height = viewer.DocumentHeight();
    viewer.Zoom = 200;
    EXPECT_NO_THROW(viewer.Reload());
    EXPECT_GT(viewer.DocumentHeight(), height);
    EXPECT_NE(viewer.DocumentSource().find("Held in memory"), std::string::npos);
}

TEST_F(ZoomFixture, RebuildingReadsTheKeptSourceNotTheChangedFile)
{
    // Bytes of every kind, and long enough that the kept copy is packed.
    std::string page = "<p id=top>Caf\xe9 \x93quoted\x94 first version";
    for (int i = 0; i < 3000; ++i)
        page += "<p>Entry " + std::to_string(i) + " of the keeper's log.";
    const std::string name = files.Write("log.htm", page);
    viewer.ShowFile(name);
    const int height = viewer.DocumentHeight();
    files.Write("log.htm", "<p>second version");

    viewer.Rebuild();
    EXPECT_EQ(viewer.DocumentSource(), page);
    EXPECT_EQ(viewer.DocumentHeight(), height);
    EXPECT_NE(viewer.SectionList().FindID("top"), nullptr);
}
